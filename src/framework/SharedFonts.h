// The framework's shared interface fonts and its image scale, for classes
// that draw their own text and pictures.
#pragma once

#include <windows.h>

namespace fw {

// The ten shared font descriptions, in this order.
enum class SharedFont {
    Regular = 0,          // the system's message font
    Tooltip = 1,          // the status-bar and tooltip font
    Bold = 2,             // Regular, bold
    DefaultGuiBold = 3,   // the stock DEFAULT_GUI_FONT, bold
    Underline = 4,        // Regular, underlined
    DefaultGuiUnderline = 5,
    Vertical = 6,         // Regular turned to run downwards (escapement 270 degrees)
    VerticalCaption = 7,  // Regular turned to run upwards (90 degrees)
    Small = 8,            // the small-caption font
    Marlett = 9,          // the "Marlett" symbol font at menu-check height
};

constexpr int kSharedFontCount = 10;

// The description of one shared font; false for an index outside 0..9.
bool GetSharedFontDescription(int index, LOGFONTW& font);
inline bool GetSharedFontDescription(SharedFont which, LOGFONTW& font) {
    return GetSharedFontDescription(static_cast<int>(which), font);
}

// Logical pixels per inch of the screen divided by 96 (1.0 at 96 dpi).
double ImageScale();

}  // namespace fw
