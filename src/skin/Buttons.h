// Owner-drawn buttons of the pages: image buttons that pick one of four
// state pictures (normal, pressed, hover, disabled) and draw a centred text
// on top, the maintenance page's option button, the finish page's
// workspace button and the icon check box.
#pragma once

#include <windows.h>

#include <string>

#include "framework/Framework.h"

namespace korv {

class CKorvStatic;

// Which of the four states a drawing request shows: pressed, then
// disabled, then hover, then normal, each only when its picture exists.
enum class ButtonState { Normal = 0, Pressed = 1, Hover = 2, Disabled = 3 };
ButtonState SelectButtonState(UINT itemState, bool hover, const bool hasImage[4]);

// Where an image of imageW x imageH lands in `rect`: the whole rectangle
// when fit is set, else scaled to keep its aspect ratio and centred.
RECT FitImage(const RECT& rect, int imageW, int imageH, bool fit);

class CSoftBitmapButton : public fw::CBitmapButton {
public:
    // Bitmaps of the resource library (0: none), enlarged with the screen's
    // scale above 96 dpi.
    void LoadStateBitmaps(UINT normal, UINT pressed, UINT hover, UINT disabled);
    void SetButtonText(const std::wstring& text);
    void SetTextColors(COLORREF all);
    void SetTextColors(COLORREF normalAndDisabled, COLORREF pressedAndHover);
    void SetTextColors(COLORREF normal, COLORREF pressed, COLORREF hover);
    void SetTextColors(COLORREF normal, COLORREF pressed, COLORREF hover, COLORREF disabled);
    void SetFontHeight(int height) { fontHeight_ = height; }
    void SetImageFit(bool fit) { imageFit_ = fit; }

    bool Hover() const { return hover_; }
    const std::wstring& ButtonText() const { return text_; }
    COLORREF TextColor(ButtonState state) const { return colors_[static_cast<int>(state)]; }

    void DrawItem(const DRAWITEMSTRUCT& item) override;
    const fw::MessageMap& GetMessageMap() const override;

protected:
    virtual bool HasImage(ButtonState state) const;
    ButtonState StateOf(const DRAWITEMSTRUCT& item) const;
    // The button text, centred on one line in the state's colour.
    void DrawButtonText(HDC dc, const RECT& rect, ButtonState state) const;
    void DrawStateBitmap(HDC dc, const RECT& rect, HBITMAP bitmap) const;
    // A dotted frame inside the button while it has the keyboard focus (and
    // the system shows focus cues), in the state's text colour.
    void DrawFocusCue(HDC dc, const RECT& rect, UINT itemState, ButtonState state) const;

    void OnMouseMove(UINT, POINT);
    void OnMouseLeave();

    bool hover_ = false;
    bool imageFit_ = true;
    int fontHeight_ = 14;
    std::wstring text_;
    COLORREF colors_[4];

public:
    CSoftBitmapButton();
};

// An option of the maintenance start page: a picture with a title and a
// description drawn over the rectangles of two statics of the page.
class SelectBitmapButton : public CSoftBitmapButton {
public:
    SelectBitmapButton() { fontHeight_ = 20; }
    void SetOptionTexts(const std::wstring& title, const std::wstring& description) {
        title_ = title;
        description_ = description;
    }
    void SetOptionStatics(HWND titleStatic, HWND descriptionStatic) {
        titleStatic_ = titleStatic;
        descriptionStatic_ = descriptionStatic;
    }
    void SetChosen(bool chosen) { chosen_ = chosen; }
    bool Chosen() const { return chosen_; }

    void DrawItem(const DRAWITEMSTRUCT& item) override;

private:
    void DrawOptionText(HDC dc, HWND statik, const std::wstring& text, COLORREF color) const;

    std::wstring title_;
    std::wstring description_;
    HWND titleStatic_ = nullptr;
    HWND descriptionStatic_ = nullptr;
    bool chosen_ = false;
    COLORREF titleColor_ = RGB(7, 25, 54);
    COLORREF descriptionColor_ = RGB(60, 68, 94);
};

class CPngButton : public CSoftBitmapButton {
public:
    void SetPngImages(UINT normal, UINT pressed = 0, UINT hover = 0, UINT disabled = 0);
    UINT PngImage(ButtonState state) const { return images_[static_cast<int>(state)]; }

    void DrawItem(const DRAWITEMSTRUCT& item) override;
    const fw::MessageMap& GetMessageMap() const override;

protected:
    bool HasImage(ButtonState state) const override { return images_[static_cast<int>(state)] != 0; }
    bool OnEraseBkgnd(HDC) { return true; }

private:
    UINT images_[4] = {0, 0, 0, 0};
};

// A workspace button of the finish page: the picture and a caption copied
// from a static of the page, drawn at a rectangle of its own.
class CFinishPngButton : public CPngButton {
public:
    CFinishPngButton();
    void SetCaptionFrom(const CKorvStatic& caption);
    void SetCaptionRect(int left, int top, int right, int bottom);

    void DrawItem(const DRAWITEMSTRUCT& item) override;

private:
    std::wstring caption_;
    int captionHeight_ = 20;
    COLORREF captionColor_ = RGB(77, 77, 77);
    LOGFONTW captionFont_{};
    RECT captionRect_{};
    bool captionOn_ = false;
};

// A check box drawn with four state icons and its window text.
class CKorvShadeButtonST : public fw::CButton {
public:
    void SetCheck(bool checked, bool repaint);
    bool Checked() const { return checked_; }
    // Replaces the enabled icons (unchecked only when its id is not 0).
    void SetCheckIcons(UINT checkedIcon, UINT uncheckedIcon);
    void EnableBox(bool enable);
    bool BoxEnabled() const { return enabled_; }

    void DrawBox(const DRAWITEMSTRUCT& item) const;

    bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    const fw::MessageMap& GetMessageMap() const override;

protected:
    bool PreCreateWindow(CREATESTRUCTW& cs) override;
    void PreSubclassWindow() override;

private:
    void LoadIcons();
    HICON LoadBoxIcon(UINT id) const;
    bool OnClicked();
    bool OnEraseBkgnd(HDC) { return true; }
    HBRUSH OnCtlColorReflect(HDC dc, UINT);
    void OnDestroy();

    bool checked_ = false;
    bool enabled_ = true;
    COLORREF enabledColor_ = RGB(60, 68, 94);
    COLORREF disabledColor_ = RGB(123, 123, 123);
    // checked-enabled, unchecked-enabled, checked-disabled, unchecked-disabled
    fw::UniqueIcon icons_[4];
    int iconSize_ = 16;
};

}  // namespace korv
