// Where the start-up's time goes over the real platform: creating the forms, the scan (all
// passes at once, and each pass alone), the sort, the menu generation with its message
// pumping, the process menu, and building the platform menu that the pop-up shows.
// Run under Wine in a prefix seeded with a catalogue (bench/menu_time.py --breakdown does).

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "app/catalogue_scan.h"
#include "app/form1.h"
#include "app/form2.h"
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

void Line(const char* what, double ms) {
  std::printf("%-34s %9.1f ms\n", what, ms);
}

// A platform menu of every listed program, as the pop-up builds it.
void BuildPlatformMenu(platform::Windowing& windowing, const app::TForm1& form1) {
  framework::UniqueMenu menu(windowing, windowing.CreatePopupMenu());
  platform::MenuItemSpec item;
  std::uint16_t command = 1;
  for (const auto& line : form1.ListBox1) {
    item.caption = line.data.name;
    item.command = command++;
    windowing.AppendMenuItem(menu.get(), item);
  }
}

}  // namespace

int main() {
  win32::Win32Platform system;
  platform::Platform platform = system.Bind();
  app::ProgramState state;
  framework::TApplication application(platform);
  app::TForm1* created = nullptr;
  Line("creating the forms",
       Milliseconds([&] { created = &app::CreateProgramForms(application, state); }, 1));
  app::TForm1& form1 = *created;
  const app::ScanFilters filters;

  Line("first rebuild of the process", Milliseconds([&] { form1.RebuildProgramMenus(); }, 1));
  const struct {
    const char* label;
    std::vector<app::ScanPass> passes;
  } scans[] = {{"scan of every pass at once", {{false, true}, {true, true}, {false, false}}},
               {"scan of HKLM default view", {{false, true}}},
               {"scan of HKLM 64-bit view", {{true, true}}},
               {"scan of HKCU", {{false, false}}}};
  for (const auto& scan : scans) {
    std::size_t found = 0;
    const double ms =
        Milliseconds([&] { found = app::ScanPasses(platform, scan.passes, filters).size(); });
    std::printf("%-34s %9.1f ms  (%zu programs)\n", scan.label, ms, found);
  }
  std::printf("hardware threads: %u\n", platform.workers.HardwareThreads());

  form1.RebuildProgramMenus();
  const std::size_t listed = form1.ListBox1.Count();
  Line("sort of the program lines", Milliseconds([&] {
         form1.ListBox1.SetSorted(false);
         form1.ListBox1.SetSorted(true);
       }));
  Line("whole rebuild", Milliseconds([&] { form1.RebuildProgramMenus(); }));
  Line("process menu", Milliseconds([&] { form1.RebuildProcessMenu(); }));
  Line("platform menu of every program",
       Milliseconds([&] { BuildPlatformMenu(platform.windowing, form1); }));
  std::printf("(%zu programs listed)\n", listed);
  return 0;
}
