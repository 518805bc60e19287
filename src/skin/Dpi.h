// ScaleToDpi: every fixed pixel length of the pages and controls is given
// for 96 logical pixels per inch and grows with the display's scale.
#pragma once

namespace korv {

// n scaled by `factor` (logical pixels per inch / 96), rounded half up;
// factors up to 1 leave n unchanged.
int ScaleToDpi(int n, double factor);

// n scaled by the framework's image scale of the screen.
int ScaleToDpi(int n);

}  // namespace korv
