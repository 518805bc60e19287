#include "skin/Labels.h"

#include <algorithm>

#include "skin/Dpi.h"
#include "skin/ParentBackground.h"

namespace korv {

void CLabelEx::PreSubclassWindow() {
    ModifyStyle(0, SS_NOTIFY);
    HWND parent = GetParent();
    if (parent != nullptr) {
        SetFont(reinterpret_cast<HFONT>(::SendMessageW(parent, WM_GETFONT, 0, 0)), false);
    }
}

bool CLabelEx::PreCreateWindow(CREATESTRUCTW& cs) {
    cs.style |= SS_NOTIFY;
    return fw::CStatic::PreCreateWindow(cs);
}

void CLabelEx::SetLinkCursor(HCURSOR cursor) {
    if (cursor != nullptr) {
        cursor_ = cursor;
        return;
    }
    // The old help viewer's hand is gone from current systems; the
    // system's own hand cursor stands in for it.
    ownCursor_.Reset(CopyCursor(LoadCursorW(nullptr, IDC_HAND)));
    cursor_ = ownCursor_.Get();
}

int CLabelEx::LeftMargin() const {
    return ScaleToDpi(4);
}

std::wstring CLabelEx::TextToDraw(HDC, int) {
    return GetWindowText();
}

void CLabelEx::PaintLabel(HDC dc, const RECT& client) {
    SetTextColor(dc, textColor_);
    SetBkMode(dc, TRANSPARENT);
    HFONT font = GetFont();
    fw::SelectGuard select(dc, font != nullptr ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    std::wstring text = TextToDraw(dc, client.right - client.left);
    int y = (client.bottom - client.top - metrics.tmHeight) / 2;
    int x = LeftMargin();
    if (!text.empty()) {
        if (wordWrap_) {
            RECT r = client;
            DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_WORDBREAK);
        } else {
            TextOutW(dc, x, y, text.c_str(), static_cast<int>(text.size()));
        }
    }
    if (underline_) {
        SIZE extent{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        int y2 = y + metrics.tmHeight;
        fw::UniquePen pen(CreatePen(PS_SOLID, 1, underlineColor_));
        fw::SelectGuard selectPen(dc, pen.Get());
        MoveToEx(dc, x, y2, nullptr);
        LineTo(dc, x + extent.cx, y2);
    }
}

void CLabelEx::OnPaint() {
    fw::PaintDC dc(GetSafeHwnd());
    DrawOverParent(GetSafeHwnd(), dc, GetClientRect(), [this](HDC canvas, const RECT& r) { PaintLabel(canvas, r); });
}

LRESULT CLabelEx::OnSetText(WPARAM, LPARAM text) {
    // The static control would paint the new text at once, its own way and
    // over the old one; the label only stores it and repaints itself.
    LRESULT result = ::DefWindowProcW(GetSafeHwnd(), WM_SETTEXT, 0, text);
    Invalidate(false);
    return result;
}

bool CLabelEx::OnSetCursor(HWND, UINT, UINT) {
    if (cursor_ == nullptr) {
        return false;
    }
    ::SetCursor(cursor_);
    return true;
}

const fw::MessageMap& CLabelEx::GetMessageMap() const {
    static const fw::MessageMap map(CStatic::GetMessageMap(), {
        fw::on::Paint(&CLabelEx::OnPaint),
        fw::on::SetCursor(&CLabelEx::OnSetCursor),
        fw::on::Message(WM_SETTEXT, &CLabelEx::OnSetText),
    });
    return map;
}

int CLabelPath::CharacterLimit(int clientWidth, int averageCharWidth, bool variablePitch) {
    int unit = (variablePitch ? 4 : 3) * averageCharWidth / 2;
    return unit > 0 ? clientWidth / unit : 0;
}

std::wstring CLabelPath::TextToDraw(HDC dc, int clientWidth) {
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    // TMPF_FIXED_PITCH set means a variable-pitch font (the name is historic).
    int limit = CharacterLimit(clientWidth, metrics.tmAveCharWidth, (metrics.tmPitchAndFamily & 1) != 0);
    std::wstring text = GetWindowText();
    if (static_cast<int>(text.size()) > limit) {
        text.resize(limit > 0 ? static_cast<size_t>(limit) : 0);
    }
    return text;
}

CKorvStatic::CKorvStatic() {
    fw::GetSharedFontDescription(fw::SharedFont::Regular, font_);
}

void CKorvStatic::UseFrameworkFont(int index) {
    LOGFONTW font{};
    if (fw::GetSharedFontDescription(index, font)) {
        font_ = font;
    }
}

void CKorvStatic::SetText(const std::wstring& text) {
    if (text == text_) {
        return;
    }
    text_ = text;
    if (GetSafeHwnd() != nullptr) {
        Invalidate(false);
    }
}

fw::UniqueFont CKorvStatic::MakeFont() const { return MakeFont(ScaleToDpi(height_)); }

int CKorvStatic::TextHeightFor(int width) const {
    fw::ClientDC screen(GetSafeHwnd());
    fw::UniqueFont font = MakeFont();
    fw::SelectGuard select(screen, font.Get());
    RECT r{0, 0, width, 0};
    UINT format = centered_ ? DT_SINGLELINE : DT_WORDBREAK;
    DrawTextW(screen, text_.c_str(), static_cast<int>(text_.size()), &r, format | DT_CALCRECT);
    return r.bottom - r.top;
}

fw::UniqueFont CKorvStatic::MakeFont(int height) const {
    LOGFONTW description = font_;
    description.lfHeight = height;
    return fw::UniqueFont(CreateFontIndirectW(&description));
}

void CKorvStatic::PaintText(HDC dc, const RECT& client) const {
    fw::UniqueFont font = MakeFont();
    // A one-line text wider than its place (a longer translation, a wider
    // system font) is drawn a little smaller rather than cut at both ends.
    if (centered_ && !text_.empty() && client.right > client.left) {
        const int available = client.right - client.left;
        int height = ScaleToDpi(height_);
        for (int tries = 0; tries < 8 && height > 6; ++tries) {
            fw::SelectGuard measure(dc, font.Get());
            SIZE size{};
            GetTextExtentPoint32W(dc, text_.c_str(), static_cast<int>(text_.size()), &size);
            if (size.cx <= available) {
                break;
            }
            height = std::max(6, static_cast<int>(static_cast<long long>(height) * available / size.cx));
            font = MakeFont(height);
        }
    }
    fw::SelectGuard select(dc, font.Get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, color_);
    RECT r = client;
    UINT format = centered_ ? (DT_CENTER | DT_VCENTER | DT_SINGLELINE) : DT_WORDBREAK;
    DrawTextW(dc, text_.c_str(), static_cast<int>(text_.size()), &r, format);
}

void CKorvStatic::OnPaint() {
    fw::PaintDC dc(GetSafeHwnd());
    DrawOverParent(GetSafeHwnd(), dc, GetClientRect(), [this](HDC canvas, const RECT& r) { PaintText(canvas, r); });
}

const fw::MessageMap& CKorvStatic::GetMessageMap() const {
    static const fw::MessageMap map(CWnd::GetMessageMap(), {
        fw::on::Paint(&CKorvStatic::OnPaint),
        fw::on::EraseBkgnd(&CKorvStatic::OnEraseBkgnd),
    });
    return map;
}

}  // namespace korv
