#include "app/menu/progress_form.h"

#include "app/texts/texts.h"

namespace app {
namespace {

constexpr int kClientWidth = 360;
constexpr int kClientHeight = 56;
constexpr int kMargin = 16;
constexpr int kLabelHeight = 20;

}  // namespace

ProgressForm::ProgressForm(framework::TApplication& app)
    : TForm(app, framework::CenteredDialog(std::string(kTitle), kClientWidth, kClientHeight)),
      label(*this, {"", kMargin, (kClientHeight - kLabelHeight) / 2, kClientWidth - 2 * kMargin,
                    kLabelHeight, 0}) {}

void ProgressForm::ShowDoing(const std::string& text) {
  label.SetText(text);
  Show();
}

}  // namespace app
