#pragma once

// The options dialog: the two options live in its check boxes for the life of the process.

#include "framework/controls.h"
#include "framework/form.h"

namespace app {

class TForm1;

class TForm2 : public framework::TForm {
 public:
  TForm2(framework::TApplication& app, TForm1& main_form);

  // OK: the program submenus are built again with the options as they now stand.
  void Button1Click();

  framework::TCheckBox CheckBox1;  // hide Microsoft products; on at start
  framework::TCheckBox CheckBox2;  // show programs with the "NoRemove" flag; off at start
  framework::TButton Button1;      // OK
  framework::TBevel Bevel1;

 private:
  TForm1& Form1;
};

}  // namespace app
