#include "app/program.h"

#include "app/form1.h"
#include "app/form2.h"
#include "app/popup_list_ex.h"
#include "app/program_state.h"
#include "app/texts.h"
#include "framework/application.h"

namespace app {

int RunProgram(platform::Platform& platform) {
  ProgramState state;
  framework::TApplication application(platform);
  InstallPopupListEx(application);
  application.Initialize();
  application.SetTitle(std::string(kTitle));
  TForm1& main_form = application.CreateForm<TForm1>(state);
  TForm2& options = application.CreateForm<TForm2>();
  main_form.AttachOptions(options);
  application.Run();
  return 0;
}

}  // namespace app
