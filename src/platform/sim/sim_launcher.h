#pragma once

// Records every start of another program, with the virtual time it was asked for, and answers
// what choosing a program asks of the system: folders and environment variables as a 32-bit
// program on 64-bit Windows is told them.

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/launcher.h"
#include "platform/mutex.h"
#include "platform/sim/sim_file_store.h"

namespace sim {

class WindowSystem;

// The system directory the substitute reports, as a 32-bit program on Windows is told it.
inline constexpr std::string_view kSystemDirectory = "C:\\Windows\\system32";
inline constexpr std::string_view kWindowsDirectory = "C:\\Windows";
// The account the substitute says the program runs as.
inline constexpr std::string_view kOwnAccount = "S-1-5-21-1-2-3-1001";

// One start, as the program asked for it and as the substitute played it.
struct Launch {
  std::int64_t time_ms = 0;
  platform::StartSpec asked;
  // Through the shell: a start without a command line, an elevated start, or the restart of one
  // that needed administrator rights; elevated: with "runas".
  bool through_shell = false;
  bool elevated = false;
  platform::StartError result = platform::kStartOk;
};

class LaunchRecorder final : public platform::Launcher {
 public:
  explicit LaunchRecorder(WindowSystem& windows);

  // Records the start and plays it: a program started through the shell reports what
  // SetShellStartResult says, any other what SetDirectStartResult says; one that needs
  // administrator rights (740) and may have them is started again through the shell. What it
  // follows runs as the start's script says, on the virtual clock.
  platform::Started Start(const platform::StartSpec& asked) override;
  void Pause(std::uint32_t ms) override;
  bool Elevated() override { return elevated_; }
  std::string OwnProgramFile() override { return std::string(kOwnProgramFile); }
  std::string OwnAccount() override { return std::string(kOwnAccount); }
  std::optional<int> InstallerProductState(const std::string& product_code) override;
  std::string SystemDirectory() override { return system_directory_; }
  std::string WindowsDirectory() override { return windows_directory_; }
  std::optional<std::string> EnvironmentVariable(const std::string& name) override;
  // Wine's "Bad EXE format for %1." for kErrorBadExeFormat, "System error N." for every other
  // N; "%1" filled as the real system's text is.
  std::string ErrorText(platform::StartError error, const std::string& path) override;

  const std::vector<Launch>& Launches() const { return launches_; }
  void SetSystemDirectory(std::string directory) { system_directory_ = std::move(directory); }
  void SetWindowsDirectory(std::string directory) { windows_directory_ = std::move(directory); }
  // Sets a variable, or with nothing removes it.
  void SetEnvironmentVariable(const std::string& name, std::optional<std::string> value);
  // What every later start reports: one by CreateProcess, or one through the shell.
  void SetDirectStartResult(platform::StartError result) { direct_result_ = result; }
  void SetShellStartResult(platform::StartError result) { shell_result_ = result; }
  // What a followed start does once started: fail with error, or last lasts_ms and end with
  // exit_code (a run longer than its bound is still running when the wait ends); without a
  // handle, nothing of it can be followed.
  struct ScriptedRun {
    platform::StartError error = platform::kStartOk;
    std::int64_t lasts_ms = 0;
    std::uint32_t exit_code = 0;
    bool followable = true;
  };
  // The script of every later followed start.
  void SetTrackedRun(ScriptedRun run) { tracked_run_ = run; }
  void SetElevated(bool elevated) { elevated_ = elevated; }
  // Plays the started program instead of the script: given what was asked, gives what it does (and
  // may change the substitute registry as the program would).
  using StartAction = std::function<ScriptedRun(const platform::StartSpec&)>;
  void SetStartAction(StartAction action) { start_action_ = std::move(action); }
  void SetInstallerProductState(std::optional<int> state) { product_state_ = state; }
  // What the list of every known product says from now on; nothing: it cannot be read.
  std::optional<std::vector<std::string>> InstallerProducts() override { return products_; }
  void SetInstallerProducts(std::optional<std::vector<std::string>> products) {
    products_ = std::move(products);
  }
  std::vector<std::string> ProductQueries() const {
    const platform::MutexLock lock(product_mutex_);
    return product_queries_;
  }

 private:
  void Record(Launch launch);

  WindowSystem& windows_;
  std::vector<Launch> launches_;
  std::string system_directory_ = std::string(kSystemDirectory);
  std::string windows_directory_ = std::string(kWindowsDirectory);
  std::map<std::string, std::string> environment_;  // keyed by the upper-cased name
  platform::StartError direct_result_ = platform::kStartOk;
  platform::StartError shell_result_ = platform::kStartOk;
  ScriptedRun tracked_run_;
  bool elevated_ = false;
  StartAction start_action_;
  std::optional<int> product_state_;
  std::optional<std::vector<std::string>> products_;
  // Asked from any thread, as the real one may be.
  mutable platform::Mutex product_mutex_;
  std::vector<std::string> product_queries_ GUARDED_BY(product_mutex_);
};

}  // namespace sim
