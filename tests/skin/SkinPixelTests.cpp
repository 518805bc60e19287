// Drawing of the skin's controls and pictures, checked pixel by pixel in
// memory contexts.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <vector>

#include "resource.h"
#include "skin/BorderStretch.h"
#include "skin/Buttons.h"
#include "skin/Dpi.h"
#include "skin/GradientProgress.h"
#include "skin/Labels.h"
#include "skin/Png.h"
#include "skin/SkinTestSupport.h"

namespace korv {
namespace {

using test::Hex;
using test::PixelCanvas;

TEST(ScaleToDpi, RoundsHalfUpAboveNinetySixDpi) {
    struct Row {
        const char* id;
        int n;
        double factor;
        int expected;
    } rows[] = {
        {"96dpi keeps", 14, 1.0, 14},      {"120dpi font", 14, 1.25, 18},   {"120dpi half up", 10, 1.25, 13},
        {"144dpi margin", 10, 1.5, 15},    {"144dpi icon", 16, 1.5, 24},    {"below 96 keeps", 14, 0.75, 14},
        {"120dpi zero", 0, 1.25, 0},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(ScaleToDpi(row.n, row.factor), row.expected) << row.id;
    }
}

// A bar 620 pixels wide: with the default colours each of the 62 bands is
// 10 pixels, and the rounded cap of band i+1 starts 5 pixels into band i.
class GradientBar : public ::testing::Test {
protected:
    static constexpr int kWidth = 620;
    static constexpr int kHeight = 20;
    PixelCanvas canvas{kWidth, kHeight, RGB(1, 2, 3)};
    CGradientProgressCtrl bar;
    COLORREF Mid(int x) const { return canvas.At(x, kHeight / 2); }
};

TEST_F(GradientBar, OutsideTheRangeShowsOnlyTheButtonFace) {
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    struct Row {
        const char* id;
        int position;
    } rows[] = {{"position 0 = lower", 0}, {"position 101 > upper", 101}, {"negative", -5}};
    for (const Row& row : rows) {
        bar.SetPos(row.position);
        bar.PaintBar(canvas.Dc(), canvas.Rect());
        for (int x : {0, 300, kWidth - 1}) {
            EXPECT_EQ(Hex(Mid(x)), Hex(face)) << row.id << " x=" << x;
        }
    }
}

TEST_F(GradientBar, FullBarIsSixtyTwoBandsOfTheDefaultGradient) {
    bar.SetPos(100);
    bar.PaintBar(canvas.Dc(), canvas.Rect());
    std::set<COLORREF> seen;
    for (int i = 0; i < 62; ++i) {
        EXPECT_EQ(Hex(Mid(10 * i + 2)), Hex(RGB(22, 94 + i, 255))) << "band " << i;
    }
    for (int x = 0; x < kWidth; ++x) {
        seen.insert(Mid(x));
    }
    EXPECT_EQ(seen.size(), 62u) << "one colour per band, no background left";
}

TEST_F(GradientBar, FilledWidthIsMeasuredFromZeroNotFromTheLowerEnd) {
    bar.SetRange(50, 100);
    bar.SetPos(75);
    bar.SetBkColor(RGB(200, 200, 200));
    bar.PaintBar(canvas.Dc(), canvas.Rect());
    // 75 / 100 of 620 = 465 pixels; the leading cap reaches 5 beyond.
    EXPECT_NE(Hex(Mid(455)), Hex(RGB(200, 200, 200))) << "inside three quarters";
    EXPECT_EQ(Hex(Mid(475)), Hex(RGB(200, 200, 200))) << "beyond three quarters";
    EXPECT_EQ(Hex(Mid(kWidth - 1)), Hex(RGB(200, 200, 200))) << "right end";
}

TEST_F(GradientBar, EqualColoursDrawOnlyTheBackground) {
    bar.SetStartColor(RGB(10, 20, 30));
    bar.SetEndColor(RGB(10, 20, 30));
    bar.SetBkColor(RGB(200, 200, 200));
    bar.SetPos(100);
    bar.PaintBar(canvas.Dc(), canvas.Rect());
    EXPECT_EQ(Hex(Mid(100)), Hex(RGB(200, 200, 200)));
}

TEST(ButtonState, PicturesDecideStateAndTextColour) {
    struct Row {
        const char* id;
        UINT itemState;
        bool hover;
        bool has[4];  // normal, pressed, hover, disabled
        ButtonState expected;
    } rows[] = {
        {"plain", 0, false, {true, true, true, true}, ButtonState::Normal},
        {"pressed", ODS_SELECTED, false, {true, true, true, true}, ButtonState::Pressed},
        {"pressed without picture", ODS_SELECTED, true, {true, false, true, false}, ButtonState::Hover},
        {"pressed beats disabled", ODS_SELECTED | ODS_DISABLED, false, {true, true, true, true}, ButtonState::Pressed},
        {"disabled", ODS_DISABLED, true, {true, true, true, true}, ButtonState::Disabled},
        {"disabled without picture", ODS_DISABLED, false, {true, true, true, false}, ButtonState::Normal},
        {"hover", 0, true, {true, true, true, false}, ButtonState::Hover},
        {"hover without picture", 0, true, {true, true, false, false}, ButtonState::Normal},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(static_cast<int>(SelectButtonState(row.itemState, row.hover, row.has)),
                  static_cast<int>(row.expected))
            << row.id;
    }
}

TEST(ButtonImage, FitZeroKeepsTheAspectRatioCentred) {
    RECT fitted = FitImage(RECT{0, 0, 60, 60}, 100, 50, false);
    EXPECT_EQ(fitted.left, 0);
    EXPECT_EQ(fitted.top, 15);
    EXPECT_EQ(fitted.right - fitted.left, 60);
    EXPECT_EQ(fitted.bottom - fitted.top, 30);
    RECT stretched = FitImage(RECT{0, 0, 60, 60}, 100, 50, true);
    EXPECT_EQ(stretched.bottom - stretched.top, 60);

    // The same through a button drawing a red 100 x 50 bitmap on white.
    PixelCanvas red(100, 50, RGB(255, 0, 0));
    HBITMAP picture = static_cast<HBITMAP>(CopyImage(GetCurrentObject(red.Dc(), OBJ_BITMAP), IMAGE_BITMAP, 0, 0, 0));
    ASSERT_NE(picture, nullptr);
    CSoftBitmapButton button;
    button.SetStateBitmap(fw::CBitmapButton::Normal, fw::UniqueBitmap(picture));
    button.SetImageFit(false);
    PixelCanvas canvas(60, 60, RGB(0, 0, 255));
    DRAWITEMSTRUCT item{};
    item.hDC = canvas.Dc();
    item.rcItem = {0, 0, 60, 60};
    button.DrawItem(item);
    EXPECT_EQ(Hex(canvas.At(30, 10)), Hex(RGB(255, 255, 255))) << "above the picture";
    EXPECT_EQ(Hex(canvas.At(30, 16)), Hex(RGB(255, 0, 0))) << "first row of the picture";
    EXPECT_EQ(Hex(canvas.At(30, 43)), Hex(RGB(255, 0, 0))) << "last row of the picture";
    EXPECT_EQ(Hex(canvas.At(30, 50)), Hex(RGB(255, 255, 255))) << "below the picture";
}

// A 1 x 1 bitmap of one colour, stretched over the whole button.
fw::UniqueBitmap SolidBitmap(COLORREF color) {
    PixelCanvas pixel(1, 1, color);
    return fw::UniqueBitmap(
        static_cast<HBITMAP>(CopyImage(GetCurrentObject(pixel.Dc(), OBJ_BITMAP), IMAGE_BITMAP, 0, 0, 0)));
}

class TestOption : public SelectBitmapButton {
public:
    void SetHover(bool hover) { hover_ = hover; }
};

TEST(OptionButton, ChosenShowsThePressedPictureInEveryState) {
    const COLORREF normal = RGB(255, 0, 0), pressed = RGB(0, 255, 0), hover = RGB(0, 0, 255),
                   disabled = RGB(128, 128, 128), untouched = RGB(1, 2, 3);
    struct Row {
        const char* id;
        bool chosen;
        bool withPressed;
        UINT itemState;
        bool hover;
        COLORREF expected;
    } rows[] = {
        {"chosen plain", true, true, 0, false, pressed},
        {"chosen under the mouse", true, true, 0, true, pressed},
        {"chosen disabled", true, true, ODS_DISABLED, false, pressed},
        {"chosen pressed", true, true, ODS_SELECTED, true, pressed},
        {"chosen without pressed picture", true, false, 0, true, untouched},
        {"not chosen under the mouse", false, true, 0, true, hover},
        {"not chosen disabled", false, true, ODS_DISABLED, false, disabled},
    };
    for (const Row& row : rows) {
        TestOption option;
        option.SetStateBitmap(fw::CBitmapButton::Normal, SolidBitmap(normal));
        if (row.withPressed) {
            option.SetStateBitmap(fw::CBitmapButton::Selected, SolidBitmap(pressed));
        }
        option.SetStateBitmap(fw::CBitmapButton::Focus, SolidBitmap(hover));
        option.SetStateBitmap(fw::CBitmapButton::Disabled, SolidBitmap(disabled));
        option.SetChosen(row.chosen);
        option.SetHover(row.hover);
        PixelCanvas canvas(40, 20, untouched);
        DRAWITEMSTRUCT item{};
        item.hDC = canvas.Dc();
        item.rcItem = canvas.Rect();
        item.itemState = row.itemState;
        option.DrawItem(item);
        EXPECT_EQ(Hex(canvas.At(20, 10)), Hex(row.expected)) << row.id;
    }
}

TEST(BorderStretch, TheBorderKeepsItsSizeAndTheMiddleStretches) {
    // A 6 x 6 picture whose pixel (x, y) holds 10 y + x; border 2.
    std::uint32_t source[36];
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 6; ++x) {
            source[y * 6 + x] = static_cast<std::uint32_t>(10 * y + x);
        }
    }
    struct Row {
        const char* id;
        int width, height;
        int x, y;
        std::uint32_t expected;
    } rows[] = {
        {"top-left corner as drawn", 10, 8, 1, 1, 11},
        {"bottom-right corner as drawn", 10, 8, 9, 7, 55},
        {"right edge repeated along its length", 10, 8, 8, 0, 4},
        {"middle stretched from the picture's middle", 10, 8, 5, 4, 33},
        {"same size copies", 6, 6, 3, 2, 23},
        {"too small for two borders: half each", 3, 3, 2, 2, 55},
        {"too small for two borders: the middle", 3, 3, 1, 1, 22},
    };
    for (const Row& row : rows) {
        std::vector<std::uint32_t> target(static_cast<size_t>(row.width * row.height), 999);
        StretchKeepingBorder(source, 6, 6, target.data(), row.width, row.height, 2);
        EXPECT_EQ(target[static_cast<size_t>(row.y * row.width + row.x)], row.expected) << row.id;
    }
}

TEST(LabelPath, CharacterLimitFollowsPitchAndAverageWidth) {
    struct Row {
        const char* id;
        int width;
        int average;
        bool variable;
        int expected;
    } rows[] = {
        {"variable pitch, u=14", 200, 7, true, 14},
        {"fixed pitch, u=10", 200, 7, false, 20},
        {"odd unit truncates", 100, 5, false, 14},  // u = 15 / 2 = 7
        {"no width", 0, 7, true, 0},
        {"no metrics", 200, 0, true, 0},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(CLabelPath::CharacterLimit(row.width, row.average, row.variable), row.expected) << row.id;
    }
}

// Rows of `canvas` between `left` and `right` that hold any pixel other
// than the background.
int InkRows(const PixelCanvas& canvas, int left, int right, int height, COLORREF background) {
    int rows = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = left; x < right; ++x) {
            if (canvas.At(x, y) != background) {
                ++rows;
                break;
            }
        }
    }
    return rows;
}

// A centred one-line text wider than its place is drawn smaller instead of
// being cut off at both ends; one that fits keeps its height.
TEST(StaticText, CentredTextThatDoesNotFitIsDrawnSmaller) {
    CKorvStatic text;
    text.SetCentered(true);
    text.SetTextStyle(20, RGB(0, 0, 0));
    text.SetText(L"Korvanix 2024 Maintenance Program allows you to modify, repair and uninstall the software.");

    PixelCanvas wide(1400, 40, RGB(255, 255, 255));
    text.PaintText(wide.Dc(), wide.Rect());
    const int fullRows = InkRows(wide, 0, 1400, 40, RGB(255, 255, 255));
    EXPECT_EQ(InkRows(wide, 0, 40, 40, RGB(255, 255, 255)), 0) << "a text that fits stays centred";

    PixelCanvas narrow(300, 40, RGB(255, 255, 255));
    text.PaintText(narrow.Dc(), narrow.Rect());
    const int fittedRows = InkRows(narrow, 0, 300, 40, RGB(255, 255, 255));
    EXPECT_GT(fittedRows, 0);
    EXPECT_LT(fittedRows * 2, fullRows + 2) << "fitted " << fittedRows << " rows, full " << fullRows;
}

class SkinPictures : public ::testing::Test {
protected:
    test::SkinEnvironment environment;
};

TEST_F(SkinPictures, PngWithAlphaKeepsItsTransparencyOverAColour) {
    ASSERT_TRUE(environment.Loaded());
    PixelCanvas canvas(490, 280, RGB(200, 0, 0));
    ASSERT_TRUE(DrawPngResource(canvas.Dc(), canvas.Rect(), IDP_TIP_BACKGROUND));
    EXPECT_EQ(Hex(canvas.At(1, 1)), Hex(RGB(200, 0, 0))) << "clear corner of the shadow margin";
    EXPECT_EQ(Hex(canvas.At(245, 140)), Hex(RGB(255, 255, 255))) << "the white card";
    COLORREF shadow = canvas.At(245, 280 - 40 + 3);
    EXPECT_LT(GetRValue(shadow), 200) << "soft shadow blends, " << Hex(shadow);
    EXPECT_GT(GetRValue(shadow), 60) << "soft shadow blends, " << Hex(shadow);
}

TEST_F(SkinPictures, FocusedButtonShowsAFocusCue) {
    ASSERT_TRUE(environment.Loaded());
    CPngButton button;
    button.SetPngImages(IDP_TIP_OK_NORMAL, IDP_TIP_OK_PRESSED, IDP_TIP_OK_HOVER);
    button.SetButtonText(L"OK");
    button.SetTextColors(RGB(255, 255, 255));
    button.SetFontHeight(17);
    auto draw = [&button](PixelCanvas& canvas, UINT state) {
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_BUTTON;
        item.hDC = canvas.Dc();
        item.rcItem = canvas.Rect();
        item.itemState = state;
        button.DrawItem(item);
    };
    PixelCanvas plain(100, 32, RGB(255, 255, 255));
    draw(plain, 0);
    struct Row {
        const char* id;
        UINT state;
        bool cue;
    } rows[] = {
        {"focused", ODS_FOCUS, true},
        {"focused and pressed", ODS_FOCUS | ODS_SELECTED, true},
        {"focus cues hidden until the keyboard is used", ODS_FOCUS | ODS_NOFOCUSRECT, false},
    };
    for (const Row& row : rows) {
        PixelCanvas canvas(100, 32, RGB(255, 255, 255));
        PixelCanvas reference(100, 32, RGB(255, 255, 255));
        draw(canvas, row.state);
        draw(reference, row.state & ~static_cast<UINT>(ODS_FOCUS | ODS_NOFOCUSRECT));
        int differing = 0;
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 100; ++x) {
                differing += canvas.At(x, y) != reference.At(x, y) ? 1 : 0;
            }
        }
        EXPECT_EQ(differing > 0, row.cue) << row.id << ": " << differing << " pixels differ";
        // The cue lies inside the button's edge and leaves the text alone.
        EXPECT_EQ(Hex(canvas.At(0, 16)), Hex(reference.At(0, 16))) << row.id;
    }
}

TEST_F(SkinPictures, MissingPngDrawsNothingAndReportsFalse) {
    ASSERT_TRUE(environment.Loaded());
    PixelCanvas canvas(20, 20, RGB(0, 128, 0));
    EXPECT_FALSE(DrawPngResource(canvas.Dc(), canvas.Rect(), 9999));
    EXPECT_FALSE(LoadPngResource(9999));
    EXPECT_EQ(Hex(canvas.At(10, 10)), Hex(RGB(0, 128, 0)));
}

TEST_F(SkinPictures, EveryPictureOfTheLibraryDecodes) {
    ASSERT_TRUE(environment.Loaded());
    for (UINT id : {247u, 248u, 249u, 250u, 251u, 252u, 253u, 254u, 255u, 256u, 258u, 261u, 262u, 263u, 264u, 265u,
                    266u, 272u, 273u, 274u, 275u, 276u, 277u, 278u, 279u, 280u, 281u, 282u, 283u, 284u, 285u, 286u,
                    287u, 288u, 289u, 290u, 291u, 292u, 293u, 294u, 295u, 296u, 297u, 299u, 300u, 301u, 302u, 303u,
                    304u, 305u, 306u, 307u, 308u, 309u, 310u, 311u, 312u, 313u}) {
        EXPECT_TRUE(LoadPngResource(id)) << "PNG " << id;
    }
    EXPECT_EQ(LoadPngResource(IDP_WELCOME_BACKGROUND)->GetWidth(), 748u);
    EXPECT_EQ(LoadPngResource(IDP_WELCOME_BACKGROUND)->GetHeight(), 530u);
}

}  // namespace
}  // namespace korv
