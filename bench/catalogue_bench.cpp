// How long one catalogue rebuild takes over the in-memory registry, for 1000 entries in each
// machine view: the cost of the program's own logic, without a real registry behind it. And how
// many registry values it reads per entry: under Wine each one is a round trip to the server.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/menu/main_form.h"
#include "app/program.h"
#include "framework/application.h"
#include "platform/sim/sim_platform.h"
#include "platform/sim/sim_read_log.h"

namespace {

constexpr int kPerView = 1000;

// The mix that bench/menu_time.py gives a real registry: seven values an entry, an install date
// on every other one, and the undated half removed by the Windows Installer.
std::string Catalogue(int per_view) {
  std::string reg = "Windows Registry Editor Version 5.00\n\n";
  const char* views[] = {"SOFTWARE\\Wow6432Node\\", "SOFTWARE\\"};
  for (const char* view : views) {
    for (int i = 0; i < per_view; ++i) {
      const std::string n = std::to_string(i);
      const std::string key = "{BENCH-" + n + "}";
      const std::string folder = "C:\\\\Program Files\\\\App" + n;
      reg += "[HKEY_LOCAL_MACHINE\\" + std::string(view) +
             "Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + key + "]\n";
      reg += "\"DisplayName\"=\"Application " + n + "\"\n";
      reg += "\"DisplayVersion\"=\"1." + n + "\"\n";
      reg += "\"Publisher\"=\"Maker " + n + "\"\n";
      reg += i % 2 ? "\"UninstallString\"=\"MsiExec.exe /X" + key + "\"\n"
                   : "\"UninstallString\"=\"\\\"" + folder + "\\\\unins000.exe\\\" /S\"\n";
      reg += "\"DisplayIcon\"=\"" + folder + "\\\\app.exe,0\"\n";
      reg += "\"EstimatedSize\"=dword:0000" + std::to_string(1000 + i % 9000) + "\n";
      if (i % 2 == 0) {
        char date[16];
        std::snprintf(date, sizeof date, "2020%02d%02d", 1 + i % 12, 1 + i % 28);
        reg += "\"InstallDate\"=\"" + std::string(date) + "\"\n";
      }
      reg += "\n";
    }
  }
  return reg;
}

}  // namespace

int main(int argc, char** argv) {
  const int kRounds = argc > 1 ? std::atoi(argv[1]) : 20;
  sim::SimPlatform sim;
  sim.registry.LoadRegText(Catalogue(kPerView));
  sim::ReadLog reads(sim.registry);
  platform::Platform bound{reads,     sim.files,   sim.processes, sim.launcher,   sim.windows,
                           sim.order, sim.workers, sim.icons,     sim.file_store, sim.streams};
  app::ProgramState state;
  framework::TApplication application(bound);
  app::MainForm& main_form = app::CreateProgramForms(application, state);

  double best = 1e9;
  double total = 0;
  std::size_t reads_per_round = 0;
  for (int round = 0; round < kRounds; ++round) {
    reads.Clear();
    const auto start = std::chrono::steady_clock::now();
    main_form.RebuildProgramMenus();
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    best = std::min(best, took.count());
    total += took.count();
    reads_per_round = reads.Count();
  }
  constexpr int kEntries = 2 * kPerView;
  std::printf(
      "catalogue rebuild, %d entries per machine view (%zu programs listed): best %.2f ms, "
      "mean %.2f ms over %d rounds\n",
      kPerView, main_form.CurrentCatalogue().programs.size(), best, total / kRounds, kRounds);
  std::printf("registry values read: %zu for %d entries, %.2f per entry (default options)\n",
              reads_per_round, kEntries, static_cast<double>(reads_per_round) / kEntries);
  return 0;
}
