#include "skin/GradientProgress.h"

#include <cmath>
#include <cstdlib>

#include "session/ProgressMessages.h"

namespace korv {

CMemDC3::CMemDC3(HDC target) : target_(target) {
    GetClipBox(target, &bounds_);
    if (GetDeviceCaps(target, TECHNOLOGY) == DT_RASPRINTER) {
        return;
    }
    dc_ = CreateCompatibleDC(target);
    int width = bounds_.right - bounds_.left;
    int height = bounds_.bottom - bounds_.top;
    bitmap_.Reset(CreateCompatibleBitmap(target, width > 0 ? width : 1, height > 0 ? height : 1));
    if (dc_ == nullptr || !bitmap_) {
        if (dc_ != nullptr) {
            DeleteDC(dc_);
            dc_ = nullptr;
        }
        return;
    }
    memory_ = true;
    previous_ = SelectObject(dc_, bitmap_.Get());
    fw::UniqueBrush fill(CreateSolidBrush(RGB(58, 58, 58)));
    RECT all{0, 0, width, height};
    FillRect(dc_, &all, fill.Get());
    SetWindowOrgEx(dc_, bounds_.left, bounds_.top, nullptr);
}

CMemDC3::~CMemDC3() {
    if (!memory_) {
        return;
    }
    BitBlt(target_, bounds_.left, bounds_.top, bounds_.right - bounds_.left, bounds_.bottom - bounds_.top, dc_,
           bounds_.left, bounds_.top, SRCCOPY);
    SelectObject(dc_, previous_);
    DeleteDC(dc_);
}

void CGradientProgressCtrl::SetRange(int lower, int upper) {
    lower_ = lower;
    upper_ = upper;
    position_ = lower;
    fw::CProgressCtrl::SetRange(static_cast<short>(lower), static_cast<short>(upper));
}

void CGradientProgressCtrl::SetPos(int position) {
    position_ = position;
    HWND parent = GetParent();
    if (parent != nullptr) {
        ::SendMessageW(parent, WM_PROGRESS_MOVED, 0, 0);
    }
    fw::CProgressCtrl::SetPos(position);
}

void CGradientProgressCtrl::SetStep(int step) {
    step_ = step;
    fw::CProgressCtrl::SetStep(step);
}

void CGradientProgressCtrl::StepIt() {
    position_ += step_;
    fw::CProgressCtrl::StepIt();
}

void CGradientProgressCtrl::PaintBar(HDC dc, const RECT& client) const {
    if (position_ <= lower_ || position_ > upper_) {
        FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
        return;
    }
    // The filled share is measured from 0, not from the lower end.
    double width = static_cast<double>(position_) / upper_ * client.right;
    fw::UniqueBrush background(CreateSolidBrush(background_));
    FillRect(dc, &client, background.Get());
    int dR = GetRValue(end_) - GetRValue(start_);
    int dG = GetGValue(end_) - GetGValue(start_);
    int dB = GetBValue(end_) - GetBValue(start_);
    int n = std::abs(dR);
    n = std::abs(dG) > n ? std::abs(dG) : n;
    n = std::abs(dB) > n ? std::abs(dB) : n;
    if (n == 0) {
        return;
    }
    double band = width / n;
    for (int i = 0; i < n; ++i) {
        RECT r{static_cast<int>(i * band), 0, static_cast<int>((i + 1) * band), client.bottom + 1};
        COLORREF color = RGB(GetRValue(start_) + i * dR / n, GetGValue(start_) + i * dG / n,
                             GetBValue(start_) + i * dB / n);
        fw::UniqueBrush brush(CreateSolidBrush(color));
        FillRect(dc, &r, brush.Get());
        // Rounds the leading edge: the last band's cap is the one that stays.
        fw::UniqueRegion cap(CreateRoundRectRgn(r.right - 15, 0, r.right + 5, r.bottom, 12, 12));
        FillRgn(dc, cap.Get(), brush.Get());
    }
}

void CGradientProgressCtrl::OnPaint() {
    fw::PaintDC paint(GetSafeHwnd());
    RECT client = GetClientRect();
    if (regionSize_.cx != client.right || regionSize_.cy != client.bottom) {
        // Setting the region repaints the window: done at every paint it
        // would never stop painting.
        regionSize_ = {client.right, client.bottom};
        SetWindowRgn(GetSafeHwnd(), CreateRoundRectRgn(0, 0, client.right, client.bottom, 12, 12), TRUE);
    }
    if (position_ <= lower_ || position_ > upper_) {
        PaintBar(paint, client);
        return;
    }
    CMemDC3 memory(paint);
    PaintBar(memory, client);
}

LRESULT CGradientProgressCtrl::OnNcHitTest(POINT) {
    return inputBlocked_ ? HTNOWHERE : Default();
}

const fw::MessageMap& CGradientProgressCtrl::GetMessageMap() const {
    static const fw::MessageMap map(CProgressCtrl::GetMessageMap(), {
        fw::on::Paint(&CGradientProgressCtrl::OnPaint),
        fw::on::EraseBkgnd(&CGradientProgressCtrl::OnEraseBkgnd),
        fw::on::NcHitTest(&CGradientProgressCtrl::OnNcHitTest),
    });
    return map;
}

}  // namespace korv
