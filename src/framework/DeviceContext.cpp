#include "framework/DeviceContext.h"

namespace fw {

MemoryDC::MemoryDC(HDC compatibleWith, int width, int height) : width_(width), height_(height) {
    dc_ = CreateCompatibleDC(compatibleWith);
    if (dc_ == nullptr) {
        return;
    }
    // The bitmap must match the target, not the fresh memory DC: that one
    // starts with a 1x1 monochrome bitmap.
    HDC reference = compatibleWith != nullptr ? compatibleWith : GetDC(nullptr);
    bitmap_.Reset(CreateCompatibleBitmap(reference, width > 0 ? width : 1, height > 0 ? height : 1));
    if (compatibleWith == nullptr) {
        ReleaseDC(nullptr, reference);
    }
    if (bitmap_) {
        previous_ = SelectObject(dc_, bitmap_.Get());
    }
}

MemoryDC::~MemoryDC() {
    if (dc_ == nullptr) {
        return;
    }
    if (previous_ != nullptr) {
        SelectObject(dc_, previous_);
    }
    // The bitmap is deleted after it has left the context (member order).
    DeleteDC(dc_);
}

}  // namespace fw
