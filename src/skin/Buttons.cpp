#include "skin/Buttons.h"

#include "framework/ResourceModule.h"
#include "resource.h"
#include "skin/Dpi.h"
#include "skin/Labels.h"
#include "skin/ParentBackground.h"
#include "skin/Png.h"

namespace korv {

ButtonState SelectButtonState(UINT itemState, bool hover, const bool hasImage[4]) {
    if ((itemState & ODS_SELECTED) && hasImage[static_cast<int>(ButtonState::Pressed)]) {
        return ButtonState::Pressed;
    }
    if ((itemState & ODS_DISABLED) && hasImage[static_cast<int>(ButtonState::Disabled)]) {
        return ButtonState::Disabled;
    }
    if (hover && hasImage[static_cast<int>(ButtonState::Hover)]) {
        return ButtonState::Hover;
    }
    return ButtonState::Normal;
}

RECT FitImage(const RECT& rect, int imageW, int imageH, bool fit) {
    if (fit || imageW <= 0 || imageH <= 0) {
        return rect;
    }
    int w = rect.right - rect.left;
    int h = rect.bottom - rect.top;
    double sx = static_cast<double>(w) / imageW;
    double sy = static_cast<double>(h) / imageH;
    double s = sx < sy ? sx : sy;
    int scaledW = static_cast<int>(imageW * s);
    int scaledH = static_cast<int>(imageH * s);
    int left = rect.left + (w - scaledW) / 2;
    int top = rect.top + (h - scaledH) / 2;
    return RECT{left, top, left + scaledW, top + scaledH};
}

namespace {

// The regular interface font at `height` pixels (before the screen's scale).
fw::UniqueFont RegularFont(int height) {
    LOGFONTW description{};
    fw::GetSharedFontDescription(fw::SharedFont::Regular, description);
    description.lfHeight = ScaleToDpi(height);
    return fw::UniqueFont(CreateFontIndirectW(&description));
}

// Whether a drawing request asks for the keyboard focus to be shown. The
// system leaves the cue out (ODS_NOFOCUSRECT) until the keyboard is used in
// the window, as it does for its own buttons.
bool ShowsFocus(UINT itemState) {
    return (itemState & ODS_FOCUS) != 0 && (itemState & ODS_NOFOCUSRECT) == 0;
}

// The focus cue: a dotted frame in the text's colour, so it reads on light
// and dark pictures alike.
void DrawFocusFrame(HDC dc, const RECT& frame, COLORREF color) {
    if (frame.right - frame.left < 2 || frame.bottom - frame.top < 2) {
        return;
    }
    LOGBRUSH brush{BS_SOLID, color, 0};
    fw::UniquePen pen(ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, &brush, 0, nullptr));
    fw::SelectGuard selectPen(dc, pen.Get());
    fw::SelectGuard selectBrush(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, frame.left, frame.top, frame.right, frame.bottom);
}

// The window a drawing request is for (the request of a test may lack it).
HWND ItemWindow(const DRAWITEMSTRUCT& item, HWND fallback) {
    return item.hwndItem != nullptr ? item.hwndItem : fallback;
}

}  // namespace

CSoftBitmapButton::CSoftBitmapButton() {
    COLORREF frame = GetSysColor(COLOR_WINDOWFRAME);
    for (COLORREF& c : colors_) {
        c = frame;
    }
}

void CSoftBitmapButton::LoadStateBitmaps(UINT normal, UINT pressed, UINT hover, UINT disabled) {
    LoadBitmaps(normal, pressed, hover, disabled);
    double scale = fw::ImageScale();
    if (scale <= 1.0) {
        return;
    }
    for (int i = 0; i < 4; ++i) {
        auto state = static_cast<State>(i);
        HBITMAP source = StateBitmap(state);
        BITMAP info{};
        if (source == nullptr || GetObjectW(source, sizeof(info), &info) == 0) {
            continue;
        }
        int w = ScaleToDpi(info.bmWidth);
        int h = ScaleToDpi(info.bmHeight);
        fw::ClientDC screen(nullptr);
        HDC from = CreateCompatibleDC(screen);
        HDC to = CreateCompatibleDC(screen);
        fw::UniqueBitmap scaled(CreateCompatibleBitmap(screen, w, h));
        {
            fw::SelectGuard selectFrom(from, source);
            fw::SelectGuard selectTo(to, scaled.Get());
            SetStretchBltMode(to, HALFTONE);
            StretchBlt(to, 0, 0, w, h, from, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
        }
        DeleteDC(from);
        DeleteDC(to);
        SetStateBitmap(state, std::move(scaled));
    }
}

void CSoftBitmapButton::SetButtonText(const std::wstring& text) {
    text_ = text;
    // The window text carries it too, for tools that read buttons by text.
    if (GetSafeHwnd() != nullptr) {
        SetWindowText(text.c_str());
    }
}

void CSoftBitmapButton::SetTextColors(COLORREF all) {
    SetTextColors(all, all, all, all);
}

void CSoftBitmapButton::SetTextColors(COLORREF normalAndDisabled, COLORREF pressedAndHover) {
    SetTextColors(normalAndDisabled, pressedAndHover, pressedAndHover, normalAndDisabled);
}

void CSoftBitmapButton::SetTextColors(COLORREF normal, COLORREF pressed, COLORREF hover) {
    SetTextColors(normal, pressed, hover, normal);
}

void CSoftBitmapButton::SetTextColors(COLORREF normal, COLORREF pressed, COLORREF hover, COLORREF disabled) {
    colors_[0] = normal;
    colors_[1] = pressed;
    colors_[2] = hover;
    colors_[3] = disabled;
}

bool CSoftBitmapButton::HasImage(ButtonState state) const {
    return StateBitmap(static_cast<State>(state)) != nullptr;
}

ButtonState CSoftBitmapButton::StateOf(const DRAWITEMSTRUCT& item) const {
    bool has[4];
    for (int i = 0; i < 4; ++i) {
        has[i] = HasImage(static_cast<ButtonState>(i));
    }
    return SelectButtonState(item.itemState, hover_, has);
}

void CSoftBitmapButton::DrawStateBitmap(HDC dc, const RECT& rect, HBITMAP bitmap) const {
    BITMAP info{};
    if (bitmap == nullptr || GetObjectW(bitmap, sizeof(info), &info) == 0) {
        return;
    }
    int w = rect.right - rect.left;
    int h = rect.bottom - rect.top;
    fw::MemoryDC canvas(dc, w, h);
    if (!canvas) {
        return;
    }
    RECT local{0, 0, w, h};
    FillRect(canvas, &local, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetStretchBltMode(canvas, HALFTONE);
    RECT target = FitImage(local, info.bmWidth, info.bmHeight, imageFit_);
    HDC source = CreateCompatibleDC(dc);
    {
        fw::SelectGuard select(source, bitmap);
        StretchBlt(canvas, target.left, target.top, target.right - target.left, target.bottom - target.top, source, 0,
                   0, info.bmWidth, info.bmHeight, SRCCOPY);
    }
    DeleteDC(source);
    BitBlt(dc, rect.left, rect.top, w, h, canvas, 0, 0, SRCCOPY);
}

void CSoftBitmapButton::DrawButtonText(HDC dc, const RECT& rect, ButtonState state) const {
    if (text_.empty()) {
        return;
    }
    fw::UniqueFont font = RegularFont(fontHeight_);
    fw::SelectGuard select(dc, font.Get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colors_[static_cast<int>(state)]);
    RECT r = rect;
    DrawTextW(dc, text_.c_str(), static_cast<int>(text_.size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void CSoftBitmapButton::DrawFocusCue(HDC dc, const RECT& rect, UINT itemState, ButtonState state) const {
    if (!ShowsFocus(itemState)) {
        return;
    }
    RECT frame = rect;
    int inset = ScaleToDpi(3);
    InflateRect(&frame, -inset, -inset);
    DrawFocusFrame(dc, frame, colors_[static_cast<int>(state)]);
}

void CSoftBitmapButton::DrawItem(const DRAWITEMSTRUCT& item) {
    ButtonState state = StateOf(item);
    DrawStateBitmap(item.hDC, item.rcItem, StateBitmap(static_cast<State>(state)));
    DrawButtonText(item.hDC, item.rcItem, state);
    DrawFocusCue(item.hDC, item.rcItem, item.itemState, state);
}

void CSoftBitmapButton::OnMouseMove(UINT, POINT) {
    if (!hover_) {
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, GetSafeHwnd(), 0};
        TrackMouseEvent(&track);
        hover_ = true;
        Invalidate(false);
    }
    Default();
}

void CSoftBitmapButton::OnMouseLeave() {
    hover_ = false;
    Invalidate(false);
    Default();
}

const fw::MessageMap& CSoftBitmapButton::GetMessageMap() const {
    static const fw::MessageMap map(CBitmapButton::GetMessageMap(), {
        fw::on::MouseMove(&CSoftBitmapButton::OnMouseMove),
        fw::on::MouseLeave(&CSoftBitmapButton::OnMouseLeave),
    });
    return map;
}

void SelectBitmapButton::DrawItem(const DRAWITEMSTRUCT& item) {
    ButtonState state = StateOf(item);
    // A chosen option shows its pressed picture in every state (and none if
    // it has none); the state still picks nothing else.
    ButtonState image = chosen_ ? ButtonState::Pressed : state;
    DrawStateBitmap(item.hDC, item.rcItem, StateBitmap(static_cast<State>(image)));
    DrawOptionText(item.hDC, titleStatic_, title_, titleColor_);
    DrawOptionText(item.hDC, descriptionStatic_, description_, descriptionColor_);
    DrawFocusCue(item.hDC, item.rcItem, item.itemState, state);
}

void SelectBitmapButton::DrawOptionText(HDC dc, HWND statik, const std::wstring& text, COLORREF color) const {
    if (statik == nullptr) {
        return;
    }
    RECT r{};
    ::GetWindowRect(statik, &r);
    MapWindowPoints(nullptr, GetSafeHwnd(), reinterpret_cast<POINT*>(&r), 2);
    fw::UniqueFont font = RegularFont(20);
    fw::SelectGuard select(dc, font.Get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, color);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void CPngButton::SetPngImages(UINT normal, UINT pressed, UINT hover, UINT disabled) {
    images_[0] = normal;
    images_[1] = pressed;
    images_[2] = hover;
    images_[3] = disabled;
    if (GetSafeHwnd() != nullptr) {
        Invalidate(false);
    }
}

void CPngButton::DrawItem(const DRAWITEMSTRUCT& item) {
    ButtonState state = StateOf(item);
    // The picture's soft edges blend with the page's surface behind the
    // button, never with the button's own last picture.
    DrawOverParent(ItemWindow(item, GetSafeHwnd()), item.hDC, item.rcItem, [&](HDC dc, const RECT& r) {
        DrawPngResource(dc, r, images_[static_cast<int>(state)]);
        DrawButtonText(dc, r, state);
        DrawFocusCue(dc, r, item.itemState, state);
    });
}

const fw::MessageMap& CPngButton::GetMessageMap() const {
    static const fw::MessageMap map(CSoftBitmapButton::GetMessageMap(), {
        fw::on::EraseBkgnd(&CPngButton::OnEraseBkgnd),
    });
    return map;
}

CFinishPngButton::CFinishPngButton() {
    fw::GetSharedFontDescription(fw::SharedFont::Regular, captionFont_);
}

void CFinishPngButton::SetCaptionFrom(const CKorvStatic& caption) {
    captionFont_ = caption.FontDescription();
    captionHeight_ = caption.TextHeight();
    captionColor_ = caption.TextColor();
    caption_ = caption.Text();
    captionFont_.lfHeight = ScaleToDpi(captionHeight_);
}

void CFinishPngButton::SetCaptionRect(int left, int top, int right, int bottom) {
    captionRect_ = {left, top, right, bottom};
    captionOn_ = true;
}

void CFinishPngButton::DrawItem(const DRAWITEMSTRUCT& item) {
    ButtonState state = StateOf(item);
    DrawOverParent(ItemWindow(item, GetSafeHwnd()), item.hDC, item.rcItem, [&](HDC dc, const RECT& r) {
        DrawPngResource(dc, r, PngImage(state));
        if (captionOn_) {
            fw::UniqueFont font(CreateFontIndirectW(&captionFont_));
            fw::SelectGuard select(dc, font.Get());
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, captionColor_);
            // The caption rectangle is in the button's coordinates.
            RECT caption = captionRect_;
            OffsetRect(&caption, r.left - item.rcItem.left, r.top - item.rcItem.top);
            DrawTextW(dc, caption_.c_str(), static_cast<int>(caption_.size()), &caption,
                      DT_SINGLELINE | DT_LEFT | DT_TOP);
        }
        DrawFocusCue(dc, r, item.itemState, state);
    });
}

bool CKorvShadeButtonST::PreCreateWindow(CREATESTRUCTW& cs) {
    cs.style = (cs.style & ~static_cast<DWORD>(BS_TYPEMASK)) | BS_OWNERDRAW;
    return CButton::PreCreateWindow(cs);
}

void CKorvShadeButtonST::PreSubclassWindow() {
    LoadIcons();
    ModifyStyle(BS_TYPEMASK, BS_OWNERDRAW);
    Invalidate();
}

HICON CKorvShadeButtonST::LoadBoxIcon(UINT id) const {
    return static_cast<HICON>(
        LoadImageW(fw::GetResourceModule(), MAKEINTRESOURCEW(id), IMAGE_ICON, iconSize_, iconSize_, 0));
}

void CKorvShadeButtonST::LoadIcons() {
    iconSize_ = ScaleToDpi(16);
    const UINT ids[4] = {IDI_CHECK_ON, IDI_CHECK_OFF, IDI_CHECK_ON_DISABLED, IDI_CHECK_OFF_DISABLED};
    for (int i = 0; i < 4; ++i) {
        icons_[i].Reset(LoadBoxIcon(ids[i]));
    }
}

void CKorvShadeButtonST::SetCheckIcons(UINT checkedIcon, UINT uncheckedIcon) {
    icons_[0].Reset(LoadBoxIcon(checkedIcon));
    if (uncheckedIcon != 0) {
        icons_[1].Reset(LoadBoxIcon(uncheckedIcon));
    }
}

void CKorvShadeButtonST::SetCheck(bool checked, bool repaint) {
    checked_ = checked;
    if (repaint && GetSafeHwnd() != nullptr) {
        Invalidate();
    }
}

void CKorvShadeButtonST::EnableBox(bool enable) {
    enabled_ = enable;
    if (GetSafeHwnd() != nullptr) {
        EnableWindow(enable);
    }
}

void CKorvShadeButtonST::DrawBox(const DRAWITEMSTRUCT& item) const {
    // Over the page's surface: a box that flips never shows its other icon
    // or an older text under the new one.
    DrawOverParent(ItemWindow(item, GetSafeHwnd()), item.hDC, item.rcItem, [&](HDC dc, const RECT& box) {
        SetBkMode(dc, TRANSPARENT);
        int index = (enabled_ ? 0 : 2) + (checked_ ? 0 : 1);
        int itemHeight = box.bottom - box.top;
        int itemWidth = box.right - box.left;
        if (icons_[index]) {
            DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icons_[index].Get()), 0, box.left,
                       box.top + (itemHeight - iconSize_) / 2, itemWidth, itemHeight, DST_ICON);
        }
        std::wstring text = GetWindowText();
        RECT r = box;
        r.left = box.left + ScaleToDpi(30);
        HFONT font = GetFont();
        fw::SelectGuard select(dc, font != nullptr ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
        COLORREF color = enabled_ ? enabledColor_ : disabledColor_;
        SetTextColor(dc, color);
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_VCENTER | DT_SINGLELINE);
        if (ShowsFocus(item.itemState) && !text.empty()) {
            RECT extent = r;
            DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &extent, DT_CALCRECT | DT_SINGLELINE);
            int textHeight = extent.bottom - extent.top;
            int top = r.top + (itemHeight - textHeight) / 2;
            RECT frame{r.left - 2, top - 1, extent.right + 2, top + textHeight + 1};
            IntersectRect(&frame, &frame, &box);
            DrawFocusFrame(dc, frame, color);
        }
    });
}

bool CKorvShadeButtonST::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message == WM_DRAWITEM) {
        DrawBox(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        *result = TRUE;
        return true;
    }
    return CButton::OnChildNotify(message, wParam, lParam, result);
}

bool CKorvShadeButtonST::OnClicked() {
    if (enabled_) {
        SetFocus();
        checked_ = !checked_;
        Invalidate();
    }
    return false;  // the page hears the click too, after the flip
}

HBRUSH CKorvShadeButtonST::OnCtlColorReflect(HDC dc, UINT) {
    SetBkMode(dc, TRANSPARENT);
    return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
}

void CKorvShadeButtonST::OnDestroy() {
    for (auto& icon : icons_) {
        icon.Reset();
    }
    Default();
}

const fw::MessageMap& CKorvShadeButtonST::GetMessageMap() const {
    static const fw::MessageMap map(CButton::GetMessageMap(), {
        fw::on::ControlReflect(BN_CLICKED, &CKorvShadeButtonST::OnClicked),
        fw::on::EraseBkgnd(&CKorvShadeButtonST::OnEraseBkgnd),
        fw::on::CtlColorReflect(&CKorvShadeButtonST::OnCtlColorReflect),
        fw::on::Destroy(&CKorvShadeButtonST::OnDestroy),
    });
    return map;
}

}  // namespace korv
