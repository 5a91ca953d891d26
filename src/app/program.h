#pragma once

#include "app/program_state.h"
#include "framework/application.h"
#include "platform/platform.h"

namespace app {

class MainForm;

// The entry block up to the message loop: the popup list replaced, the application window
// titled, the main form and then the options dialog created. Returns the main form.
MainForm& CreateProgramForms(framework::TApplication& application, ProgramState& state);

// The entry block: runs the program over the given platform until it ends; the exit code.
int RunProgram(platform::Platform& platform);

}  // namespace app
