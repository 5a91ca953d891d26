#pragma once

// A small window that says what the program is doing, for work that takes longer than a
// moment after a choice: it has nothing to press, and goes when the work ends.

#include <string>

#include "framework/controls.h"
#include "framework/form.h"

namespace app {

class ProgressForm : public framework::TForm {
 public:
  explicit ProgressForm(framework::TApplication& app);
  void ShowDoing(const std::string& text);

  framework::TLabel label;

 protected:
  // Closing it hides it; the work goes on and its end is shown as always.
  void Escaped() override { Hide(); }
};

}  // namespace app
