#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/catalogue/catalogue_reading.h"
#include "app/entry/options.h"
#include "app/menu/program_state.h"
#include "framework/application.h"
#include "platform/platform.h"

namespace app {

class MainForm;

// The catalogue's reading started at once, as the application's jobs, unless the program
// starts minimised: its menu then waits for the user, and is built from the registry as it is
// by then.
std::unique_ptr<CatalogueReading> StartCatalogueReading(framework::TApplication& application,
                                                        const Options& options);

// The entry block up to the message loop: the popup list replaced, the application window
// titled, the main form created, to build its menus from startup when it is given one.
// Returns the main form.
MainForm& CreateProgramForms(framework::TApplication& application, ProgramState& state,
                             std::unique_ptr<CatalogueReading> startup = nullptr);

// The entry block: runs the program over the given platform until it ends; the exit code.
// Without arguments it shows its menu; with them it does what they ask, without a menu.
int RunProgram(platform::Platform& platform, const std::vector<std::string>& arguments = {});

}  // namespace app
