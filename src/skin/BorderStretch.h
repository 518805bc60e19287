// Stretching a picture whose border must keep its size: the card behind a
// tip dialog has a shadow margin and rounded corners that look right only
// at their drawn size, while its plain middle may take any length. Plain
// data, no window: the background window feeds it its pixels.
#pragma once

#include <cstdint>

namespace korv {

// Copies `source` (sourceWidth x sourceHeight pixels, rows top-down) to
// `target` (targetWidth x targetHeight): the `border` pixels along each edge
// keep their size (corners copied as they are, edges repeated along their
// length), the middle is stretched to the rest. A target too small for two
// borders gives each side half of it.
void StretchKeepingBorder(const std::uint32_t* source, int sourceWidth, int sourceHeight, std::uint32_t* target,
                          int targetWidth, int targetHeight, int border);

}  // namespace korv
