// The forms follow the DPI: made at the system's, and laid out again for a monitor of another.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "app/harness.h"
#include "framework/scaling.h"

namespace {

using testing_support::Forms;

// value * dpi / 96, rounded to the nearest pixel.
int Scaled(int value, int dpi) {
  return static_cast<int>(std::lround(value * dpi / 96.0));
}

// The character height of 8 points at dpi.
int FontHeight(int dpi) {
  return static_cast<int>(std::lround(8 * dpi / 72.0));
}

struct Design {
  const char* label;
  const framework::TControl& (*control)(const app::OptionsDialog&);
  int left, top, width, height;
};

// The options dialog as designed at 96 dpi.
constexpr int kClientWidth = 305;
constexpr int kClientHeight = 145;
const Design kControls[] = {
    {"HideMicrosoftBox",
     [](const app::OptionsDialog& d) -> const framework::TControl& { return d.hide_microsoft_box; },
     16, 16, 193, 17},
    {"ShowNoRemoveBox",
     [](const app::OptionsDialog& d) -> const framework::TControl& { return d.show_no_remove_box; },
     16, 40, 281, 17},
    {"ShowSystemComponentsBox",
     [](const app::OptionsDialog& d) -> const framework::TControl& {
       return d.show_system_components_box;
     },
     16, 64, 281, 17},
    {"OkButton",
     [](const app::OptionsDialog& d) -> const framework::TControl& { return d.ok_button; }, 216,
     112, 75, 23},
    // Its line runs along its bottom edge, at 96.
    {"Divider", [](const app::OptionsDialog& d) -> const framework::TControl& { return d.divider; },
     16, 80, 273, 18},
};

void ExpectControlsAt(const Forms& forms, int dpi) {
  const sim::WindowSystem& ws = forms.sim.windows;
  for (const Design& design : kControls) {
    SCOPED_TRACE(design.label);
    const platform::WindowSpec* desc = ws.SpecOf(design.control(*forms.dialog).Handle());
    ASSERT_NE(desc, nullptr);
    const int left = Scaled(design.left, dpi);
    const int top = Scaled(design.top, dpi);
    EXPECT_EQ(framework::BoundsOf(*desc),
              (platform::Rect{left, top, left + Scaled(design.width, dpi),
                              top + Scaled(design.height, dpi)}));
    EXPECT_EQ(desc->font_height, FontHeight(dpi));
  }
}

class FormsAtSystemDpi : public ::testing::TestWithParam<int> {};

TEST_P(FormsAtSystemDpi, AreTheDesignScaled) {
  const int dpi = GetParam();
  const Forms forms({}, dpi);
  const sim::WindowSystem& ws = forms.sim.windows;
  const platform::WindowSpec* dialog = ws.SpecOf(forms.dialog->Handle());
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->width, Scaled(kClientWidth, dpi));
  EXPECT_EQ(dialog->height, Scaled(kClientHeight, dpi));
  EXPECT_EQ(dialog->font_height, FontHeight(dpi));
  EXPECT_TRUE(dialog->centered);
  EXPECT_EQ(forms.dialog->Dpi(), dpi);
  ExpectControlsAt(forms, dpi);
  // The hidden main form goes through the same scaling: it stays wholly left of the screen.
  const platform::WindowSpec* main = ws.SpecOf(forms.main_form->Handle());
  ASSERT_NE(main, nullptr);
  EXPECT_LT(main->left + main->width, 0);
  EXPECT_EQ(main->width, Scaled(153, dpi));
}

INSTANTIATE_TEST_SUITE_P(Dpi, FormsAtSystemDpi, ::testing::Values(96, 120, 144, 168, 192, 288),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return "At" + std::to_string(info.param);
                         });

TEST(FormsAtMonitorDpi, TakeTheSuggestedFrameAndLayTheirControlsOutAgain) {
  Forms forms;
  sim::WindowSystem& ws = forms.sim.windows;
  const platform::WindowId dialog = forms.dialog->Handle();
  // Dragged across monitors of several DPIs, and back: the layout never drifts from the design.
  for (const int dpi : {144, 192, 120, 96, 144}) {
    SCOPED_TRACE(dpi);
    const platform::Rect suggested{200 + dpi, 100, 200 + dpi + Scaled(kClientWidth, dpi) + 6,
                                   100 + Scaled(kClientHeight, dpi) + 31};
    ws.MoveToMonitor(dialog, dpi, suggested);
    EXPECT_EQ(forms.dialog->Dpi(), dpi);
    EXPECT_EQ(ws.Dpi(forms.dialog->ok_button.Handle()), dpi);
    const platform::WindowSpec* frame = ws.SpecOf(dialog);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(framework::BoundsOf(*frame), suggested);
    EXPECT_EQ(frame->font_height, FontHeight(dpi));
    ExpectControlsAt(forms, dpi);
  }
  // The options keep their state through the new layout.
  EXPECT_TRUE(forms.dialog->hide_microsoft_box.Checked());
  EXPECT_FALSE(forms.dialog->show_no_remove_box.Checked());
  EXPECT_FALSE(forms.dialog->show_system_components_box.Checked());
}

}  // namespace
