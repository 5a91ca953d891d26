#include "framework/scaling.h"

#include <cstdint>

namespace framework {
namespace {

int KnownDpi(int dpi) {
  return dpi > 0 ? dpi : kDesignDpi;
}

}  // namespace

int MulDivRounded(int number, int numerator, int denominator) {
  if (denominator == 0) return 0;
  std::int64_t product = static_cast<std::int64_t>(number) * numerator;
  std::int64_t divisor = denominator;
  if (divisor < 0) {
    product = -product;
    divisor = -divisor;
  }
  // Division truncates towards zero, so moving by half the divisor away from zero first
  // rounds halves away from zero.
  const std::int64_t half = divisor / 2;
  return static_cast<int>(product >= 0 ? (product + half) / divisor : (product - half) / divisor);
}

int ScaleToDpi(int design, int dpi) {
  return MulDivRounded(design, KnownDpi(dpi), kDesignDpi);
}

platform::WindowSpec AtDpi(const platform::WindowSpec& design, int dpi) {
  platform::WindowSpec scaled = design;
  scaled.left = ScaleToDpi(design.left, dpi);
  scaled.top = ScaleToDpi(design.top, dpi);
  scaled.width = ScaleToDpi(design.width, dpi);
  scaled.height = ScaleToDpi(design.height, dpi);
  scaled.font_height = MulDivRounded(kDialogFontPoints, KnownDpi(dpi), kPointsPerInch);
  return scaled;
}

platform::Rect BoundsOf(const platform::WindowSpec& desc) {
  return platform::Rect{desc.left, desc.top, desc.left + desc.width, desc.top + desc.height};
}

}  // namespace framework
