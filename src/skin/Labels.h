// Texts that pages draw themselves, transparently over the page's picture:
// labels and link labels, one-line path texts and owner-drawn statics.
// Each paints the page's surface behind itself first (off screen, then in
// one copy), so a changed text never lands on the glyphs of the old one.
#pragma once

#include <windows.h>

#include <string>

#include "framework/Framework.h"

namespace korv {

class CLabelEx : public fw::CStatic {
public:
    void SetLabelTextColor(COLORREF color) { textColor_ = color; }
    void SetWordWrap(bool wrap) { wordWrap_ = wrap; }
    void SetUnderline(bool underline, COLORREF color) {
        underline_ = underline;
        underlineColor_ = color;
    }
    // Null: the system's hand cursor (owned by the label).
    void SetLinkCursor(HCURSOR cursor);

    // The whole painting into `dc` over `client`, without a background.
    void PaintLabel(HDC dc, const RECT& client);

    const fw::MessageMap& GetMessageMap() const override;

protected:
    void PreSubclassWindow() override;
    bool PreCreateWindow(CREATESTRUCTW& cs) override;
    void OnPaint();
    bool OnSetCursor(HWND, UINT, UINT);
    LRESULT OnSetText(WPARAM, LPARAM text);
    // The text to draw; CLabelPath cuts it to fit.
    virtual std::wstring TextToDraw(HDC dc, int clientWidth);
    virtual int LeftMargin() const;

    COLORREF textColor_ = RGB(0, 0, 0);
    bool wordWrap_ = true;
    bool underline_ = false;
    COLORREF underlineColor_ = RGB(0, 0, 255);

private:
    HCURSOR cursor_ = nullptr;
    fw::UniqueCursor ownCursor_;
};

// One line, cut to the characters that fit (no ellipsis), 4 pixels in.
class CLabelPath : public CLabelEx {
public:
    CLabelPath() { wordWrap_ = false; }

    // How many characters fit in `clientWidth`: the unit is f x average
    // character width / 2 with f = 4 for variable-pitch fonts, 3 otherwise.
    static int CharacterLimit(int clientWidth, int averageCharWidth, bool variablePitch);

protected:
    std::wstring TextToDraw(HDC dc, int clientWidth) override;
    int LeftMargin() const override { return 4; }
};

class CKorvStatic : public fw::CWnd {
public:
    CKorvStatic();

    // A changed text is repainted (over the page's surface behind it).
    void SetText(const std::wstring& text);
    void SetTextStyle(int height, COLORREF color) {
        height_ = height;
        color_ = color;
    }
    void SetStaticTextColor(COLORREF color) { color_ = color; }
    void SetCentered(bool centered) { centered_ = centered; }
    // One of the framework's ten shared fonts (0 to 9); others are ignored.
    void UseFrameworkFont(int index);

    const std::wstring& Text() const { return text_; }
    int TextHeight() const { return height_; }
    COLORREF TextColor() const { return color_; }
    bool Centered() const { return centered_; }
    const LOGFONTW& FontDescription() const { return font_; }

    // The whole painting into `dc` over `client`, without a background. A
    // centred (one-line) text that would not fit is drawn smaller until it
    // does.
    void PaintText(HDC dc, const RECT& client) const;
    // The height the text takes when drawn `width` pixels wide (one line
    // when centred).
    int TextHeightFor(int width) const;

    const fw::MessageMap& GetMessageMap() const override;

private:
    fw::UniqueFont MakeFont() const;
    fw::UniqueFont MakeFont(int height) const;
    void OnPaint();
    bool OnEraseBkgnd(HDC) { return true; }

    std::wstring text_;
    int height_ = 20;
    COLORREF color_ = RGB(77, 77, 77);
    bool centered_ = false;
    LOGFONTW font_{};
};

}  // namespace korv
