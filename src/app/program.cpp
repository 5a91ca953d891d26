#include "app/program.h"

#include "app/form1.h"
#include "app/form2.h"
#include "app/popup_list_ex.h"
#include "app/texts.h"

namespace app {

TForm1& CreateProgramForms(framework::TApplication& application, ProgramState& state) {
  InstallPopupListEx(application);
  application.Initialize();
  application.SetTitle(std::string(kTitle));
  TForm1& main_form = application.CreateForm<TForm1>(state);
  // The scan reads the dialog's check boxes, so it exists before the first activation.
  main_form.AttachOptions(application.CreateForm<TForm2>(main_form));
  return main_form;
}

int RunProgram(platform::Platform& platform) {
  ProgramState state;
  framework::TApplication application(platform);
  CreateProgramForms(application, state);
  application.Run();
  return 0;
}

}  // namespace app
