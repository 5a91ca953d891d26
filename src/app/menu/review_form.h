#pragma once

// The review of what an uninstall left behind: one row per item, a checkbox where this instance
// may remove it, checked where the finder is certain. "Remove checked" ends it with the checked
// items; "Cancel", Escape or the close button with none, and the record is kept.

#include <vector>

#include "app/leftovers/leftover_review.h"
#include "framework/controls.h"
#include "framework/form.h"

namespace app {

class ReviewForm : public framework::TForm {
 public:
  ReviewForm(framework::TApplication& app, const LeftoverReview& review);

  // The items of the rows checked now.
  std::vector<LeftoverItem> CheckedItems() const;

  framework::TCheckList list;
  framework::TButton remove_button;
  framework::TButton cancel_button;

 protected:
  void Escaped() override { Close(); }

 private:
  std::vector<LeftoverItem> items_;
};

}  // namespace app
