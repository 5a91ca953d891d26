#include "app/program.h"

#include "app/main_form.h"
#include "app/popup_list_ex.h"
#include "app/texts.h"

namespace app {

MainForm& CreateProgramForms(framework::TApplication& application, ProgramState& state) {
  InstallPopupListEx(application);
  application.Initialize();
  application.SetTitle(std::string(kTitle));
  return application.CreateForm<MainForm>(state);
}

int RunProgram(platform::Platform& platform) {
  ProgramState state;
  framework::TApplication application(platform);
  CreateProgramForms(application, state);
  application.Run();
  return 0;
}

}  // namespace app
