#include "framework/SharedFonts.h"

#include <cwchar>

#include "framework/DeviceContext.h"

namespace fw {

namespace {

NONCLIENTMETRICSW NonClientMetrics() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    return metrics;
}

LOGFONTW DefaultGuiFont() {
    LOGFONTW font{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font);
    return font;
}

}  // namespace

bool GetSharedFontDescription(int index, LOGFONTW& font) {
    if (index < 0 || index >= kSharedFontCount) {
        return false;
    }
    NONCLIENTMETRICSW metrics = NonClientMetrics();
    const LOGFONTW& regular = metrics.lfMessageFont;
    switch (static_cast<SharedFont>(index)) {
    case SharedFont::Regular:
        font = regular;
        break;
    case SharedFont::Tooltip:
        font = metrics.lfStatusFont;
        break;
    case SharedFont::Bold:
        font = regular;
        font.lfWeight = FW_BOLD;
        break;
    case SharedFont::DefaultGuiBold:
        font = DefaultGuiFont();
        font.lfWeight = FW_BOLD;
        break;
    case SharedFont::Underline:
        font = regular;
        font.lfUnderline = TRUE;
        break;
    case SharedFont::DefaultGuiUnderline:
        font = DefaultGuiFont();
        font.lfUnderline = TRUE;
        break;
    case SharedFont::Vertical:
        font = regular;
        font.lfEscapement = 2700;
        font.lfOrientation = 2700;
        break;
    case SharedFont::VerticalCaption:
        font = regular;
        font.lfEscapement = 900;
        font.lfOrientation = 900;
        break;
    case SharedFont::Small:
        font = metrics.lfSmCaptionFont;
        break;
    case SharedFont::Marlett:
        font = LOGFONTW{};
        font.lfHeight = GetSystemMetrics(SM_CYMENUCHECK) - 1;
        font.lfCharSet = SYMBOL_CHARSET;
        wcsncpy(font.lfFaceName, L"Marlett", LF_FACESIZE - 1);
        break;
    }
    return true;
}

double ImageScale() {
    ClientDC screen(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    return dpi > 0 ? dpi / 96.0 : 1.0;
}

}  // namespace fw
