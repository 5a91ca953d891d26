// The icons' searches on real threads, for ThreadSanitizer: background jobs of the main form's
// TJobs over the thread workers, sharing the run's cache of icon files read.

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "app/harness.h"
#include "app/icons/icon_finder.h"
#include "platform/thread_workers.h"

namespace {

using namespace std::chrono_literals;
using testing_support::Entry;
using testing_support::kLm32;

constexpr auto kPatience = 10s;

TEST(IconThreads, TheSharedCacheOfFilesReadTakesThreadsAtOnce) {
  constexpr int kThreads = 4;
  constexpr int kFiles = 16;
  app::ReadIconFiles read;
  {
    std::vector<std::jthread> threads;
    for (int t = 0; t < kThreads; ++t) {
      threads.emplace_back([&read, t] {
        for (int i = 0; i < kFiles; ++i) {
          const std::string file = "F" + std::to_string((i + t) % kFiles);
          if (!read.Contains(file)) read.Add(file);
        }
      });
    }
  }
  for (int i = 0; i < kFiles; ++i) EXPECT_TRUE(read.Contains("F" + std::to_string(i))) << i;
}

// The program's forms over the substitutes, with real threads for the workers.
struct ThreadedForms {
  explicit ThreadedForms(const std::string& reg) {
    sim.registry.LoadRegText(std::string(testing_support::kRegHeader) + reg);
  }
  sim::SimPlatform sim;
  platform::ThreadWorkers threads;
  platform::Platform bound{sim.registry, sim.files, sim.processes, sim.launcher,   sim.windows,
                           sim.order,    threads,   sim.icons,     sim.file_store, sim.streams};
  app::ProgramState state;
  framework::TApplication application{bound};
  app::MainForm& main_form = app::CreateProgramForms(application, state);
};

TEST(IconThreads, EveryItemGetsItsIconFromTheWorkers) {
  constexpr int kPrograms = 40;
  constexpr int kSharedFiles = 5;
  std::string reg;
  for (int i = 0; i < kPrograms; ++i) {
    const std::string file = "C:\\\\Shared\\\\s" + std::to_string(i % kSharedFiles) + ".exe";
    reg += Entry(kLm32 + "P" + std::to_string(i),
                 {"\"DisplayName\"=\"Program " + std::to_string(i) + "\"",
                  "\"UninstallString\"=\"C:\\\\P\\\\u" + std::to_string(i) + ".exe\"",
                  "\"DisplayIcon\"=\"" + file + ",0\""});
  }
  ThreadedForms forms(reg);
  for (int i = 0; i < kSharedFiles; ++i) {
    forms.sim.icons.AddProgram("C:\\Shared\\s" + std::to_string(i) + ".exe", 1);
  }
  forms.main_form.RebuildProgramMenus();
  app::MenuIcons& icons = forms.main_form.Icons();
  icons.Prepare(platform::kDefaultDpi);
  forms.main_form.AllProgramsMenu().EnsureFilled();
  const framework::TMenuImages& images = icons.Images();
  const auto all_held = [&images] {
    for (framework::ImageKey key = 1; key <= images.KeyCount(); ++key) {
      if (images.IconOf(key) == platform::kNoIcon) return false;
    }
    return true;
  };
  const auto deadline = std::chrono::steady_clock::now() + kPatience;
  while (!all_held() && std::chrono::steady_clock::now() < deadline) {
    forms.application.ProcessMessages();
    std::this_thread::sleep_for(1ms);
  }
  EXPECT_EQ(images.KeyCount(), static_cast<std::size_t>(kPrograms));
  EXPECT_TRUE(all_held());
  // One icon per file; a file two workers read at once is still held once.
  EXPECT_EQ(images.IconCount(), static_cast<std::size_t>(kSharedFiles));
}

}  // namespace
