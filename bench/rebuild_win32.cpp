// Where the start-up build's time goes over the real platform: each of the four scan passes,
// the sort, the whole rebuild, and the message pumping it does once per listed program.
// Run under Wine in a prefix seeded with a catalogue (bench/menu_time.py makes one).

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>

#include "app/form1.h"
#include "app/program.h"
#include "framework/application.h"
#include "platform/win32/win32_platform.h"

namespace {

double Milliseconds(const std::function<void()>& work, int rounds) {
  double best = 1e12;
  for (int i = 0; i < rounds; ++i) {
    const auto start = std::chrono::steady_clock::now();
    work();
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    best = std::min(best, took.count());
  }
  return best;
}

}  // namespace

int main() {
  constexpr int kRounds = 3;
  win32::Win32Platform system;
  platform::Platform platform = system.Bind();
  app::ProgramState state;
  framework::TApplication application(platform);
  app::TForm1& form1 = app::CreateProgramForms(application, state);

  const struct {
    const char* label;
    bool view64, machine;
  } passes[] = {{"HKLM default view", false, true},
                {"HKLM 64-bit view", true, true},
                {"HKCU default view", false, false},
                {"HKCU 64-bit view", true, false}};
  const auto cold_start = std::chrono::steady_clock::now();
  form1.RebuildProgramMenus();
  const std::chrono::duration<double, std::milli> cold =
      std::chrono::steady_clock::now() - cold_start;
  std::printf("first rebuild of the process  %8.1f ms\n", cold.count());
  for (const auto& pass : passes) {
    const double ms = Milliseconds(
        [&] {
          form1.ListBox1.Clear();
          form1.ListBox2.Clear();
          form1.ScanUninstallKey(pass.view64, pass.machine);
        },
        kRounds);
    std::printf("scan %-18s %8.1f ms  (%zu programs)\n", pass.label, ms, form1.ListBox1.Count());
  }
  form1.RebuildProgramMenus();
  const std::size_t listed = form1.ListBox1.Count();
  const double sort_ms = Milliseconds(
      [&] {
        form1.ListBox1.SetSorted(false);
        form1.ListBox1.SetSorted(true);
      },
      kRounds);
  std::printf("sort of %zu program lines   %8.1f ms\n", listed, sort_ms);
  const double pump_ms = Milliseconds(
      [&] {
        for (std::size_t i = 0; i < listed; ++i) application.ProcessMessages();
      },
      kRounds);
  std::printf("%zu empty message pumps     %8.1f ms\n", listed, pump_ms);
  const double rebuild_ms = Milliseconds([&] { form1.RebuildProgramMenus(); }, kRounds);
  std::printf("whole rebuild               %8.1f ms\n", rebuild_ms);
  return 0;
}
