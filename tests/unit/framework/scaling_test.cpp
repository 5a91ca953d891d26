// Scaling a 96-dpi design to the DPI a window is drawn at.

#include "framework/scaling.h"

#include <gtest/gtest.h>

namespace {

TEST(Scaling, MulDivRoundsHalvesAwayFromZero) {
  const struct {
    int number, numerator, denominator, expected;
  } cases[] = {
      {11, 144, 96, 17},   {16, 144, 96, 24},
      {193, 120, 96, 241}, {17, 168, 96, 30},
      {-3, 3, 2, -5},      {3, -3, 2, -5},
      {3, 3, -2, -5},      {-3, -3, 2, 5},
      {10, 1, 3, 3},       {-10, 1, 3, -3},
      {5, 1, 0, 0},        {0, 144, 96, 0},
      {8, 96, 72, 11},     {1 << 29, 192, 96, 1 << 30},  // the product needs 64 bits
  };
  for (const auto& c : cases) {
    EXPECT_EQ(framework::MulDivRounded(c.number, c.numerator, c.denominator), c.expected)
        << c.number << " * " << c.numerator << " / " << c.denominator;
  }
}

// A check box of the options dialog, and the dialog face, at each DPI.
TEST(Scaling, PositionSizeAndFontEachScaleOnce) {
  platform::WindowSpec design;
  design.kind = platform::WindowKind::kCheckBox;
  design.caption = "Hide Microsoft products";
  design.left = 16;
  design.top = 40;
  design.width = 193;
  design.height = 17;
  design.control_id = 101;
  const struct {
    int dpi;
    platform::Rect bounds;
    int font_height;
  } cases[] = {
      {96, {16, 40, 209, 57}, 11},   // 8 points are 10.67 pixels
      {120, {20, 50, 261, 71}, 13},  // 241.25 wide, 21.25 high
      {144, {24, 60, 314, 86}, 16},  // 289.5 wide, 25.5 high: halves go up
      {168, {28, 70, 366, 100}, 19},  {192, {32, 80, 418, 114}, 21},
      {288, {48, 120, 627, 171}, 32}, {0, {16, 40, 209, 57}, 11},  // an unknown DPI is taken as 96
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.dpi);
    const platform::WindowSpec scaled = framework::AtDpi(design, c.dpi);
    EXPECT_EQ(framework::BoundsOf(scaled), c.bounds);
    EXPECT_EQ(scaled.font_height, c.font_height);
    EXPECT_EQ(scaled.caption, design.caption);
    EXPECT_EQ(scaled.kind, design.kind);
    EXPECT_EQ(scaled.control_id, design.control_id);
  }
}

}  // namespace
