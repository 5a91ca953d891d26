#pragma once

// Runs the program, or just its forms, over the substitute platform.

#include <string>
#include <string_view>
#include <vector>

#include "app/form1.h"
#include "app/form2.h"
#include "app/program.h"
#include "app/texts.h"
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
  app::TForm1* form1 = nullptr;
  app::TForm2* form2 = nullptr;

  explicit Forms(std::string_view reg = {}, int system_dpi = platform::kDefaultDpi) {
    if (!reg.empty()) sim.registry.LoadRegText(std::string(kRegHeader) + std::string(reg));
    sim.windows.SetSystemDpi(system_dpi);
    form1 = &app::CreateProgramForms(application, state);
    form2 = form1->Options();
  }

  std::vector<std::string> ProgramLines() const {
    std::vector<std::string> out;
    for (const auto& line : form1->ListBox1) out.push_back(line.text);
    return out;
  }
  std::vector<std::string> RecentLines() const {
    std::vector<std::string> out;
    for (const auto& line : form1->ListBox2) out.push_back(line.text);
    return out;
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
