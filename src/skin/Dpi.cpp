#include "skin/Dpi.h"

#include "framework/SharedFonts.h"

namespace korv {

int ScaleToDpi(int n, double factor) {
    if (factor <= 1.0) {
        return n;
    }
    return static_cast<int>(n * factor + 0.5);
}

int ScaleToDpi(int n) {
    return ScaleToDpi(n, fw::ImageScale());
}

}  // namespace korv
