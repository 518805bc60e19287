#include "skin/BorderStretch.h"

#include <algorithm>

namespace korv {

namespace {

// The source column (or row) that target position t of `targetLength` shows.
int SourceIndex(int t, int targetLength, int sourceLength, int border) {
    int sourceBorder = std::min(border, sourceLength / 2);
    int targetBorder = std::min(border, targetLength / 2);
    if (t < targetBorder) {
        return t;  // leading border, as drawn
    }
    int trailing = targetLength - targetBorder;
    if (t >= trailing) {
        return sourceLength - (targetLength - t);  // trailing border, as drawn
    }
    int sourceMiddle = sourceLength - 2 * sourceBorder;
    int targetMiddle = trailing - targetBorder;
    if (sourceMiddle <= 0) {
        return std::min(sourceBorder, sourceLength - 1);
    }
    // Nearest neighbour is enough here: the middle of such a picture is
    // plain along the stretched direction.
    long long offset = static_cast<long long>(t - targetBorder) * sourceMiddle / targetMiddle;
    return sourceBorder + static_cast<int>(offset);
}

}  // namespace

void StretchKeepingBorder(const std::uint32_t* source, int sourceWidth, int sourceHeight, std::uint32_t* target,
                          int targetWidth, int targetHeight, int border) {
    if (source == nullptr || target == nullptr || sourceWidth <= 0 || sourceHeight <= 0 || targetWidth <= 0 ||
        targetHeight <= 0) {
        return;
    }
    border = std::max(border, 0);
    for (int y = 0; y < targetHeight; ++y) {
        const std::uint32_t* row =
            source + static_cast<long long>(SourceIndex(y, targetHeight, sourceHeight, border)) * sourceWidth;
        std::uint32_t* out = target + static_cast<long long>(y) * targetWidth;
        for (int x = 0; x < targetWidth; ++x) {
            out[x] = row[SourceIndex(x, targetWidth, sourceWidth, border)];
        }
    }
}

}  // namespace korv
