// Where the start-up's time goes over the real platform: creating the forms, the scan (all
// passes at once, and each pass alone), the sort, the menu generation with its message
// pumping, the process menu, and building the platform menu that the pop-up shows.
// Run under Wine in a prefix seeded with a catalogue (bench/menu_time.py --breakdown does).

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "app/catalogue/catalogue_scan.h"
#include "app/menu/main_form.h"
#include "app/menu/options_dialog.h"
#include "app/program.h"
#include "framework/application.h"
#include "framework/owned.h"
#include "platform/win32/win32_platform.h"

namespace {

constexpr int kRounds = 3;

double Milliseconds(const std::function<void()>& work, int rounds = kRounds) {
  double best = 1e12;
  for (int i = 0; i < rounds; ++i) {
    const auto start = std::chrono::steady_clock::now();
    work();
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    best = std::min(best, took.count());
  }
  return best;
}

constexpr app::ScanPass kMachineDefault{app::RegistryView::kDefault, app::UninstallRoot::kMachine};
constexpr app::ScanPass kMachine64{app::RegistryView::k64Bit, app::UninstallRoot::kMachine};
constexpr app::ScanPass kUser{app::RegistryView::kDefault, app::UninstallRoot::kUser};

void Line(const char* what, double ms) {
  std::printf("%-34s %9.1f ms\n", what, ms);
}

// One platform menu of every listed program, as filling an ungrouped "All Programs" would be;
// the number of insertions the platform refused.
std::size_t BuildPlatformMenu(platform::Windowing& windowing, const app::MainForm& main_form) {
  framework::UniqueMenu menu(windowing, windowing.CreatePopupMenu());
  platform::MenuItemSpec item;
  std::uint16_t command = 1;
  std::size_t refused = 0;
  for (const auto& line : main_form.CurrentCatalogue().programs) {
    item.caption = line.program.name;
    item.command = command++;
    if (!windowing.AppendMenuItem(menu.get(), item)) ++refused;
  }
  return refused;
}

}  // namespace

int main() {
  win32::Win32Platform system;
  platform::Platform platform = system.Bind();
  app::ProgramState state;
  framework::TApplication application(platform);
  app::MainForm* created = nullptr;
  Line("creating the forms",
       Milliseconds([&] { created = &app::CreateProgramForms(application, state); }, 1));
  app::MainForm& main_form = *created;
  const app::Options options;

  Line("first rebuild of the process", Milliseconds([&] { main_form.RebuildProgramMenus(); }, 1));
  const struct {
    const char* label;
    std::vector<app::ScanPass> passes;
  } scans[] = {{"scan of every pass, one thread", {kMachineDefault, kMachine64, kUser}},
               {"scan of HKLM default view", {kMachineDefault}},
               {"scan of HKLM 64-bit view", {kMachine64}},
               {"scan of HKCU", {kUser}}};
  for (const auto& scan : scans) {
    std::size_t found = 0;
    app::RemoteDrives drives(platform.files);
    const double ms = Milliseconds([&] {
      found = app::ScanPasses(app::ScanSeams(platform, drives), scan.passes, options).size();
    });
    std::printf("%-34s %9.1f ms  (%zu programs)\n", scan.label, ms, found);
  }
  std::printf("hardware threads: %u\n", platform.workers.HardwareThreads());

  main_form.RebuildProgramMenus();
  const std::size_t listed = main_form.CurrentCatalogue().programs.size();
  app::Catalogue catalogue = main_form.CurrentCatalogue();
  Line("sort of the program lines",
       Milliseconds([&] { app::SortCatalogue(catalogue, platform.order); }));
  Line("whole rebuild", Milliseconds([&] { main_form.RebuildProgramMenus(); }));
  Line("process menu", Milliseconds([&] { main_form.RebuildProcessMenu(); }));
  std::size_t refused = 0;
  Line("platform menu of every program",
       Milliseconds([&] { refused = BuildPlatformMenu(platform.windowing, main_form); }));
  std::printf("(%zu programs listed, %zu insertions refused in one menu)\n", listed, refused);
  return 0;
}
