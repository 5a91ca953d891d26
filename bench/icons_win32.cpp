// What the icons cost over the real platform: the items of "All Programs" filled as its first
// opening fills them, with their icons asked for, on the GUI thread; then the icons found on
// the workers, how many, and the workers' time per icon. Run under Wine in a prefix seeded with
// a catalogue whose entries name icons.

#include <chrono>
#include <cstdio>

#include "app/main_form.h"
#include "app/program.h"
#include "framework/application.h"
#include "platform/win32/win32_platform.h"

namespace {

constexpr auto kPatience = std::chrono::seconds(60);

double MillisecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

}  // namespace

int main() {
  win32::Win32Platform system;
  platform::Platform platform = system.Bind();
  app::ProgramState state;
  framework::TApplication application(platform);
  app::MainForm& main_form = app::CreateProgramForms(application, state);
  main_form.RebuildProgramMenus();
  main_form.Icons().Prepare(platform.windowing.Dpi(platform::kNoWindow));

  const auto start = std::chrono::steady_clock::now();
  framework::TMenuItem& all = main_form.AllProgramsMenu();
  all.EnsureFilled();
  const double filled = MillisecondsSince(start);
  std::size_t items = 0;
  for (std::size_t i = 0; i < all.Count(); ++i) {
    all[i].EnsureFilled();  // the groups by initial, past the one-menu limit
    items += all[i].Count() == 0 ? 1 : all[i].Count();
  }
  app::MenuIcons& icons = main_form.Icons();
  while (icons.Found() < icons.Images().KeyCount() &&
         std::chrono::steady_clock::now() - start < kPatience) {
    application.HandleMessage();
  }
  const double all_found = MillisecondsSince(start);
  const std::size_t found = icons.Found();
  const auto worker = icons.WorkerTime();
  std::printf("%-40s %9.1f ms  (%zu items, %zu icons asked for)\n", "filling \"All Programs\"",
              filled, items, icons.Images().KeyCount());
  std::printf("%-40s %9.1f ms\n", "until every icon had come", all_found);
  std::printf("%-40s %9zu  (%zu distinct icons held)\n", "icons looked for and found", found,
              icons.Images().IconCount());
  std::printf("%-40s %9.1f us\n", "worker time per icon",
              found == 0 ? 0.0 : static_cast<double>(worker.count()) / static_cast<double>(found));
  return 0;
}
