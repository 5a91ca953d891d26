#include "app/menu/progress_form.h"

#include "app/texts/texts.h"

namespace app {
namespace {

constexpr int kClientWidth = 360;
constexpr int kClientHeight = 56;
constexpr int kMargin = 16;
constexpr int kLabelHeight = 20;

framework::FormSpec ProgressSpec() {
  framework::FormSpec desc;
  desc.caption = std::string(kTitle);
  desc.client_width = kClientWidth;
  desc.client_height = kClientHeight;
  desc.ex_style = platform::kWsExTopmost;
  desc.centered = true;
  return desc;
}

}  // namespace

ProgressForm::ProgressForm(framework::TApplication& app)
    : TForm(app, ProgressSpec()),
      label(*this, {"", kMargin, (kClientHeight - kLabelHeight) / 2, kClientWidth - 2 * kMargin,
                    kLabelHeight, 0}) {}

void ProgressForm::ShowDoing(const std::string& text) {
  label.SetText(text);
  Show();
}

}  // namespace app
