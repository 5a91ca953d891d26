#pragma once

// Runs the program, or just its forms, over the substitute platform.

#include <string>
#include <string_view>
#include <vector>

#include "app/menu/choices.h"
#include "app/menu/main_form.h"
#include "app/menu/options_dialog.h"
#include "app/program.h"
#include "app/texts/texts.h"
#include "framework/application.h"
#include "platform/sim/sim_platform.h"

namespace testing_support {

inline constexpr std::string_view kRegHeader = "Windows Registry Editor Version 5.00\n\n";

// Physical paths of the uninstall key as a 32-bit process sees its two HKLM views.
inline const std::string kLm32 =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
inline const std::string kLm64 =
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
inline const std::string kCu =
    "HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

// One .reg section: key path, then value lines.
inline std::string Entry(const std::string& key, const std::vector<std::string>& values) {
  std::string out = "[" + key + "]\n";
  for (const auto& v : values) out += v + "\n";
  return out + "\n";
}

inline std::string Last(const std::string& command) {
  std::string escaped;
  for (char c : command) {
    if (c == '\\' || c == '"') escaped += '\\';
    escaped += c;
  }
  return "[HKEY_CURRENT_USER\\Software\\Quillon\\Tapwise Uninstaller]\n\"Last\"=\"" + escaped +
         "\"\n\n";
}

// The program's forms, created as the entry block does, without running the message loop.
struct Forms {
  sim::SimPlatform sim;
  platform::Platform bound = sim.Bind();
  app::ProgramState state;
  framework::TApplication application{bound};
  app::MainForm* main_form = nullptr;
  app::OptionsDialog* dialog = nullptr;

  explicit Forms(std::string_view reg = {}, int system_dpi = platform::kDefaultDpi) {
    if (!reg.empty()) sim.registry.LoadRegText(std::string(kRegHeader) + std::string(reg));
    sim.windows.SetSystemDpi(system_dpi);
    main_form = &app::CreateProgramForms(application, state);
    dialog = &main_form->Options();
  }

  // The replies of the actions started meanwhile, handled as the message loop would.
  void Settle() { application.ProcessMessages(); }
  // Whether the program has asked to end: its quit is waiting, or the loop has taken it.
  bool Ended() const { return application.Terminated() || sim.windows.QuitPending(); }
  // The uninstall of a program, as choosing its item runs it, to its reply.
  void Uninstall(const app::ProgramEntry& program) {
    main_form->RunAction(app::UninstallAction(bound, program));
    Settle();
  }

  // Reads one pass with the run's options, adding what it found to scanned, unsorted.
  void ScanUninstallKey(app::ScanPass pass) {
    app::Catalogue found = app::ScanCatalogue(app::ScanSeams(bound, drives), {pass}, state.options);
    for (auto& line : found.programs) scanned.programs.push_back(std::move(line));
    for (auto& line : found.dated) scanned.dated.push_back(std::move(line));
  }
  app::Catalogue scanned;
  app::RemoteDrives drives{sim.files};

  std::vector<std::string> ProgramLines() const { return Texts(scanned.programs); }
  std::vector<std::string> RecentLines() const { return Texts(scanned.dated); }
  static std::vector<std::string> Texts(const std::vector<app::CatalogueLine>& lines) {
    std::vector<std::string> out;
    for (const auto& line : lines) out.push_back(line.text);
    return out;
  }
  // The three generated submenus, filled as their first opening fills them.
  framework::TMenuItem& AllPrograms() const { return Opened(main_form->AllProgramsMenu()); }
  framework::TMenuItem& RecentPrograms() const { return Opened(main_form->RecentProgramsMenu()); }
  framework::TMenuItem& KillProcess() const { return Opened(main_form->KillProcessMenu()); }
  static framework::TMenuItem& Opened(framework::TMenuItem& menu) {
    menu.EnsureFilled();
    return menu;
  }

  static std::vector<std::string> Captions(const framework::TMenuItem& menu) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < menu.Count(); ++i) out.push_back(menu[i].Caption);
    return out;
  }
};

// A whole run of the program: load the registry, script the user, then Run().
struct Program {
  sim::SimPlatform sim;
  platform::Platform bound = sim.Bind();

  explicit Program(std::string_view reg = {}) {
    if (!reg.empty()) sim.registry.LoadRegText(std::string(kRegHeader) + std::string(reg));
  }
  int Run() { return app::RunProgram(bound); }

  // Displayed captions of one submenu of the n-th pop-up.
  std::vector<std::string> Shown(std::size_t popup, std::string_view submenu) const {
    std::vector<std::string> out;
    const auto& items = sim.windows.Popups().at(popup).items;
    for (const auto& node : items) {
      if (node.displayed != submenu) continue;
      for (const auto& child : node.children) out.push_back(child.caption);
    }
    return out;
  }
};

}  // namespace testing_support
