#pragma once

// The options dialog: its check boxes show the run's options and change them as they are
// clicked; OK lists the programs again with the options as they then stand.

#include "app/entry/options.h"
#include "framework/controls.h"
#include "framework/form.h"

namespace app {

class MainForm;

class OptionsDialog : public framework::TForm {
 public:
  OptionsDialog(framework::TApplication& app, MainForm& main_form, Options& options);

  void OnOk();

  framework::TCheckBox hide_microsoft_box;
  framework::TCheckBox show_no_remove_box;
  framework::TCheckBox show_system_components_box;
  framework::TButton ok_button;
  framework::TBevel divider;

 private:
  MainForm& main_form_;
};

}  // namespace app
