#pragma once

// The program's forms over the real platform, created as the entry block creates them, with no
// message loop running.

#include "app/menu/main_form.h"
#include "app/menu/options_dialog.h"
#include "app/menu/program_state.h"
#include "app/program.h"
#include "framework/application.h"
#include "platform/win32/win32_platform.h"

namespace win32_test {

struct ProgramForms {
  win32::Win32Platform system;
  platform::Platform platform = system.Bind();
  framework::TApplication application{platform};
  app::ProgramState state;
  app::MainForm& main = app::CreateProgramForms(application, state);
  app::OptionsDialog& dialog = main.Options();
};

}  // namespace win32_test
