#include "app/program.h"

#include <system_error>

#include "app/menu/main_form.h"
#include "app/menu/popup_list_ex.h"
#include "app/texts/texts.h"

namespace app {

std::unique_ptr<StartupCatalogue> StartCatalogueReading(platform::Platform& platform,
                                                        const Options& options) {
  if (platform.windowing.StartupShowState() == platform::kSwShowMinNoActive) return nullptr;
  try {
    return std::make_unique<StartupCatalogue>(
        platform, std::make_shared<RemoteDrives>(platform.files), options);
  } catch (const std::system_error&) {
    return nullptr;  // no thread to be had: the first build reads the catalogue itself
  }
}

MainForm& CreateProgramForms(framework::TApplication& application, ProgramState& state,
                             std::unique_ptr<StartupCatalogue> startup) {
  InstallPopupListEx(application);
  application.Initialize();
  application.SetTitle(std::string(kTitle));
  return application.CreateForm<MainForm>(state, std::move(startup));
}

int RunProgram(platform::Platform& platform) {
  ProgramState state;
  // Before anything else: the forms are made and shown while the registry is read.
  std::unique_ptr<StartupCatalogue> startup = StartCatalogueReading(platform, state.options);
  framework::TApplication application(platform);
  CreateProgramForms(application, state, std::move(startup));
  application.Run();
  return 0;
}

}  // namespace app
