#include "app/menu/options_dialog.h"

#include "app/menu/main_form.h"
#include "app/texts/texts.h"

namespace app {
namespace {

constexpr int kClientWidth = 305;
constexpr int kClientHeight = 145;

// The 96-dpi design of one control: caption, left, top, width, height, tab order.
framework::ControlSpec Control(std::string_view caption, int left, int top, int width, int height,
                               int tab_order) {
  return framework::ControlSpec{std::string(caption), left, top, width, height, tab_order};
}

}  // namespace

OptionsDialog::OptionsDialog(framework::TApplication& app, MainForm& main_form, Options& options)
    : TForm(app,
            framework::CenteredDialog(std::string(kOptionsCaption), kClientWidth, kClientHeight)),
      hide_microsoft_box(*this, Control(kHideMicrosoftCaption, 16, 16, 193, 17, 0),
                         options.hide_microsoft),
      show_no_remove_box(*this, Control(kShowNoRemoveCaption, 16, 40, 281, 17, 1),
                         options.show_no_remove),
      show_system_components_box(*this, Control(kShowSystemComponentsCaption, 16, 64, 281, 17, 2),
                                 options.show_system_components),
      ok_button(*this, Control(kOkCaption, 216, 112, 75, 23, 3)),
      // Drawn as a line along its bottom edge, at 96.
      divider(*this, Control("", 16, 80, 273, 18, 4)),
      main_form_(main_form) {
  // A box changed in a dialog closed without OK keeps its change for the next listing.
  hide_microsoft_box.OnClick = [this, &options] {
    options.hide_microsoft = hide_microsoft_box.Checked();
  };
  show_no_remove_box.OnClick = [this, &options] {
    options.show_no_remove = show_no_remove_box.Checked();
  };
  show_system_components_box.OnClick = [this, &options] {
    options.show_system_components = show_system_components_box.Checked();
  };
  ok_button.OnClick = [this] { OnOk(); };
}

void OptionsDialog::OnOk() {
  main_form_.RebuildAfterOptions();
  Close();
}

}  // namespace app
