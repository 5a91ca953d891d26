#include "app/program.h"

#include <system_error>

#include "app/command_line/command_line.h"
#include "app/leftovers/machine_leftovers.h"
#include "app/menu/machine_review.h"
#include "app/menu/main_form.h"
#include "app/menu/popup_list_ex.h"
#include "app/orphans/machine_removal.h"
#include "app/script/script_leftovers.h"
#include "app/script/script_list.h"
#include "app/script/script_output.h"
#include "app/script/script_uninstall.h"
#include "app/texts/texts.h"

namespace app {

std::unique_ptr<CatalogueReading> StartCatalogueReading(framework::TApplication& application,
                                                        const Options& options) {
  platform::Platform& platform = application.Platform();
  if (platform.windowing.StartupShowState() == platform::kSwShowMinNoActive) return nullptr;
  try {
    return std::make_unique<CatalogueReading>(
        application.Jobs(), platform, std::make_shared<RemoteDrives>(platform.files), options);
  } catch (const std::system_error&) {
    return nullptr;  // no thread to be had: the first build reads the catalogue itself
  }
}

MainForm& CreateProgramForms(framework::TApplication& application, ProgramState& state,
                             std::unique_ptr<CatalogueReading> startup) {
  InstallPopupListEx(application);
  application.Initialize();
  application.SetTitle(std::string(kTitle));
  return application.CreateForm<MainForm>(state, std::move(startup));
}

namespace {

// A usage error on standard error; with none there (a start from a shortcut), in a box.
int UsageError(platform::Platform& platform, const std::string& error) {
  if (WriteErrorLine(platform.streams, error)) return kUsageExitCode;
  platform.windowing.ShowMessageBox(platform::kNoWindow, error, std::string(kTitle),
                                    platform::kMbOk | platform::kMbIconWarning);
  return kUsageExitCode;
}

// The command line's work: nothing of the menu or "Last" is read for it.
int RunCommand(platform::Platform& platform, const Command& command) {
  switch (command.kind) {
    case CommandKind::kRemoveMachineEntry:
      return static_cast<int>(RunMachineEntryRemoval(platform, command.machine_entry));
    case CommandKind::kList:
      return RunList(platform, command.list);
    case CommandKind::kUninstall:
      return RunUninstall(platform, command.uninstall);
    case CommandKind::kReviewMachineLeftovers:
      return RunMachineReview(platform, command.record);
    case CommandKind::kRemoveMachineLeftovers:
      return static_cast<int>(RunMachineLeftoversRemoval(platform, command.machine_leftovers));
    case CommandKind::kLeftovers:
      return RunLeftovers(platform);
    case CommandKind::kRemoveLeftovers:
      return RunRemoveLeftovers(platform, command.record);
    case CommandKind::kUsageError:
    case CommandKind::kMenu:
      break;
  }
  return UsageError(platform, command.error);
}

}  // namespace

int RunProgram(platform::Platform& platform, const std::vector<std::string>& arguments) {
  if (!arguments.empty()) return RunCommand(platform, ParseCommand(arguments));
  ProgramState state;
  framework::TApplication application(platform);
  // Before anything else: the forms are made and shown while the registry is read.
  std::unique_ptr<CatalogueReading> startup = StartCatalogueReading(application, state.options);
  CreateProgramForms(application, state, std::move(startup));
  application.Run();
  return 0;
}

}  // namespace app
