// The copy-progress page's bar: a rounded bar filled with a banded
// gradient, painted off-screen through CMemDC3.
#pragma once

#include <windows.h>

#include "framework/Framework.h"

namespace korv {

// An off-screen copy of a target context's clip box; drawing in target
// coordinates, copied back when the object ends. Printer contexts are drawn
// on directly.
class CMemDC3 {
public:
    explicit CMemDC3(HDC target);
    ~CMemDC3();
    CMemDC3(const CMemDC3&) = delete;
    CMemDC3& operator=(const CMemDC3&) = delete;

    HDC Get() const { return memory_ ? dc_ : target_; }
    operator HDC() const { return Get(); }
    const RECT& Bounds() const { return bounds_; }

private:
    HDC target_;
    HDC dc_ = nullptr;
    RECT bounds_{};
    fw::UniqueBitmap bitmap_;
    HGDIOBJ previous_ = nullptr;
    bool memory_ = false;
};

class CGradientProgressCtrl : public fw::CProgressCtrl {
public:
    void SetRange(int lower, int upper);
    void SetPos(int position);
    void SetStep(int step);
    void StepIt();

    int Lower() const { return lower_; }
    int Upper() const { return upper_; }
    int Pos() const { return position_; }

    void SetStartColor(COLORREF color) { start_ = color; }
    void SetEndColor(COLORREF color) { end_ = color; }
    void SetBkColor(COLORREF color) { background_ = color; }
    void SetInputBlocked(bool blocked) { inputBlocked_ = blocked; }

    // The bar (without the window region) into `dc` over `client`.
    void PaintBar(HDC dc, const RECT& client) const;

    const fw::MessageMap& GetMessageMap() const override;

private:
    void OnPaint();
    bool OnEraseBkgnd(HDC) { return true; }
    LRESULT OnNcHitTest(POINT);

    bool inputBlocked_ = false;
    SIZE regionSize_{0, 0};  // the window region is remade only when the size changes
    int lower_ = 0;
    int upper_ = 100;
    int step_ = 10;
    int position_ = 0;
    COLORREF start_ = RGB(22, 94, 255);
    COLORREF end_ = RGB(22, 156, 255);
    COLORREF background_ = GetSysColor(COLOR_BTNSHADOW);
};

}  // namespace korv
