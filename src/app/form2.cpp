#include "app/form2.h"

#include "app/form1.h"

namespace app {
namespace {

constexpr int kClientWidth = 305;
constexpr int kClientHeight = 121;

// A fixed single-line border, the system menu and the close button, above ordinary windows.
framework::FormSpec DialogSpec() {
  framework::FormSpec desc;
  desc.caption = "Tapwise Uninstaller \\ Options";
  desc.client_width = kClientWidth;
  desc.client_height = kClientHeight;
  desc.ex_style = platform::kWsExTopmost;
  desc.centered = true;
  return desc;
}

framework::ControlSpec Control(const char* caption, int left, int top, int width, int height,
                               int tab_order) {
  return framework::ControlSpec{caption, left, top, width, height, tab_order};
}

}  // namespace

TForm2::TForm2(framework::TApplication& app, TForm1& main_form)
    : TForm(app, DialogSpec()),
      CheckBox1(*this, Control("Hide Microsoft products", 16, 16, 193, 17, 0), true),
      CheckBox2(*this, Control("Show programs with \"NoRemove\" flag", 16, 40, 281, 17, 1), false),
      Button1(*this, Control("OK", 216, 88, 75, 23, 2)),
      Bevel1(*this, Control("", 16, 56, 273, 18, 3)),
      Form1(main_form) {
  Button1.OnClick = [this] { Button1Click(); };
}

void TForm2::Button1Click() {
  Form1.RebuildProgramMenus();
  Close();
}

}  // namespace app
