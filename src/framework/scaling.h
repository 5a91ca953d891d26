#pragma once

// Forms and controls are designed at 96 dpi, the DPI of 100 %. Each of them passes its design
// through AtDpi when it is created and again when its DPI changes, so that positions, sizes and
// the font grow together with the DPI the window is drawn at.

#include "platform/windowing.h"

namespace framework {

inline constexpr int kDesignDpi = platform::kDefaultDpi;
// The dialog face of every form and control: 8 points, 11 pixels high at 96 dpi.
inline constexpr int kDialogFontPoints = 8;
inline constexpr int kPointsPerInch = 72;

// number * numerator / denominator rounded to the nearest integer, halves away from zero, as
// Win32's MulDiv rounds. 0 when the denominator is 0.
int MulDivRounded(int number, int numerator, int denominator);

// A coordinate or length designed at 96 dpi, at dpi. A DPI of 0 or less counts as 96.
int ScaleToDpi(int design, int dpi);

// The window as designed at 96 dpi, drawn at dpi: its position and its size are each scaled
// once, as a dialog template's are, and it gets the dialog face at dpi.
platform::WindowSpec AtDpi(const platform::WindowSpec& design, int dpi);

// The edges of a window as its description places it.
platform::Rect BoundsOf(const platform::WindowSpec& desc);

}  // namespace framework
