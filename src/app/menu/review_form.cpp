#include "app/menu/review_form.h"

#include "app/texts/texts.h"
#include "framework/application.h"

namespace app {
namespace {

constexpr int kClientWidth = 720;
constexpr int kClientHeight = 360;
constexpr int kMargin = 12;
constexpr int kButtonWidth = 110;
constexpr int kButtonHeight = 26;
constexpr int kButtonGap = 8;
constexpr int kButtonTop = kClientHeight - kMargin - kButtonHeight;
constexpr int kListHeight = kButtonTop - 2 * kMargin;

std::vector<framework::ListColumnSpec> Columns() {
  // The reasons are the longest texts, and the ones a user reads before checking.
  return {{"What", 104}, {"Kind", 64}, {"Where", 236}, {"Size", 62}, {"Why", 210}};
}

}  // namespace

ReviewForm::ReviewForm(framework::TApplication& app, const LeftoverReview& review)
    : TForm(app, framework::CenteredDialog(LeftBehindCaption(review.kept.record.name), kClientWidth,
                                           kClientHeight)),
      list(*this, {"", kMargin, kMargin, kClientWidth - 2 * kMargin, kListHeight, 0}, Columns()),
      remove_button(*this, {std::string(kRemoveCheckedCaption),
                            kClientWidth - kMargin - 2 * kButtonWidth - kButtonGap, kButtonTop,
                            kButtonWidth, kButtonHeight, 1}),
      cancel_button(*this, {std::string(kCancelCaption), kClientWidth - kMargin - kButtonWidth,
                            kButtonTop, kButtonWidth, kButtonHeight, 2}),
      items_(review.items) {
  platform::Platform& platform = app.Platform();
  for (const LeftoverItem& item : items_) {
    const ReviewRow row = RowOf(item, RemovableInReview(platform, review, item));
    list.AddRow(row.cells, row.check);
  }
  remove_button.OnClick = [this] { ModalResult = framework::kMrOk; };
  cancel_button.OnClick = [this] { Close(); };
}

std::vector<LeftoverItem> ReviewForm::CheckedItems() const {
  std::vector<LeftoverItem> checked;
  for (std::size_t row = 0; row < items_.size(); ++row) {
    if (list.Checked(row)) checked.push_back(items_[row]);
  }
  return checked;
}

}  // namespace app
