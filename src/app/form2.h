#pragma once

// The options dialog: the two options live in its check boxes for the life of the process.

#include "framework/controls.h"
#include "framework/form.h"

namespace app {

class TForm2 : public framework::TForm {
 public:
  explicit TForm2(framework::TApplication& app);

  framework::TCheckBox CheckBox1;  // hide Microsoft products; on at start
  framework::TCheckBox CheckBox2;  // show programs with the "NoRemove" flag; off at start
  framework::TButton Button1;      // OK
  framework::TBevel Bevel1;
};

}  // namespace app
