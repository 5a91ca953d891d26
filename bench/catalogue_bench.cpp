// How long one catalogue rebuild takes over the in-memory registry, for 1000 entries in each
// machine view: the cost of the program's own logic, without a real registry behind it.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/main_form.h"
#include "app/program.h"
#include "framework/application.h"
#include "platform/sim/sim_platform.h"

namespace {

std::string Catalogue(int per_view) {
  std::string reg = "Windows Registry Editor Version 5.00\n\n";
  const char* views[] = {"SOFTWARE\\Wow6432Node\\", "SOFTWARE\\"};
  for (const char* view : views) {
    for (int i = 0; i < per_view; ++i) {
      const std::string n = std::to_string(i);
      reg += "[HKEY_LOCAL_MACHINE\\" + std::string(view) +
             "Microsoft\\Windows\\CurrentVersion\\Uninstall\\App" + n + "]\n";
      reg += "\"DisplayName\"=\"Application " + n + "\"\n";
      reg += "\"UninstallString\"=\"\\\"C:\\\\Program Files\\\\App" + n +
             "\\\\unins000.exe\\\" /S\"\n";
      char date[16];
      std::snprintf(date, sizeof date, "2020%02d%02d", 1 + i % 12, 1 + i % 28);
      reg += "\"InstallDate\"=\"" + std::string(date) + "\"\n\n";
    }
  }
  return reg;
}

}  // namespace

int main(int argc, char** argv) {
  constexpr int kPerView = 1000;
  const int kRounds = argc > 1 ? std::atoi(argv[1]) : 20;
  sim::SimPlatform sim;
  sim.registry.LoadRegText(Catalogue(kPerView));
  platform::Platform bound = sim.Bind();
  app::ProgramState state;
  framework::TApplication application(bound);
  app::MainForm& main_form = app::CreateProgramForms(application, state);

  double best = 1e9;
  double total = 0;
  for (int round = 0; round < kRounds; ++round) {
    const auto start = std::chrono::steady_clock::now();
    main_form.RebuildProgramMenus();
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    best = std::min(best, took.count());
    total += took.count();
  }
  std::printf(
      "catalogue rebuild, %d entries per machine view (%zu programs listed): best %.2f ms, "
      "mean %.2f ms over %d rounds\n",
      kPerView, main_form.CurrentCatalogue().programs.size(), best, total / kRounds, kRounds);
  return 0;
}
