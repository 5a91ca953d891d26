// The "Kill Process" submenu: one item per distinct running executable name.

#include <exception>
#include <memory>
#include <unordered_set>

#include "app/form1.h"
#include "framework/application.h"
#include "platform/text.h"

namespace app {
namespace {

constexpr std::string_view kExeExtension = ".EXE";
constexpr std::string_view kTaskKill = "taskkill.exe";
constexpr std::string_view kRunAs = "runas";
constexpr std::uint32_t kElevatedMask = platform::kSeeMaskFlagNoUi | platform::kSeeMaskFlagDdeWait;

bool IsExecutable(const std::string& name) {
  return text::UpperAscii(text::Extension(name)) == kExeExtension;
}

// taskkill is started itself, never through a command interpreter, so no character of a file
// name can become a command. A file name cannot hold a double quote, so the quoted name is
// one argument, blanks and "&" included.
std::string TaskKillParameters(const std::string& process_name) {
  return "/F /IM \"" + process_name + "\" /T";
}

}  // namespace

void TForm1::RebuildProcessMenu() {
  LBP.Clear();
  Kill->Clear();
  try {
    ReadProcessTable();
  } catch (const std::exception&) {
    // The names read so far are listed.
  }
  RemoveDuplicateProcesses();
  LBP.SetSorted(true);
  for (const auto& line : LBP) {
    framework::TMenuItem& item = Kill->Add(std::make_unique<TProcessMenuItem>(line.text));
    item.OnClick = [this](framework::TMenuItem& sender) { ProcessItemClick(sender); };
  }
}

void TForm1::ReadProcessTable() {
  platform::ProcessSnapshots& snapshots = Application().Platform().processes;
  const platform::UniqueSnapshot snapshot(snapshots,
                                          snapshots.CreateSnapshot(platform::kSnapProcess, 0));
  std::string name;
  for (bool read = snapshots.First(snapshot.get(), name); read;
       read = snapshots.Next(snapshot.get(), name)) {
    if (IsExecutable(name)) LBP.Add(name);
  }
}

void TForm1::ProcessItemClick(framework::TMenuItem& sender) {
  // The program ends through the auto-close, so a slow consent prompt cannot be cut short.
  const auto* item = dynamic_cast<const TProcessMenuItem*>(&sender);
  if (item == nullptr) return;
  // taskkill runs with administrator rights: only the system's own may be started.
  const std::string task_kill =
      platform::SystemProgram(Application().Platform().launcher, kTaskKill);
  if (task_kill.empty()) return;
  RunElevated(task_kill, TaskKillParameters(item->ProcessName), platform::kNoWindow);
}

void TForm1::RunElevated(const std::string& file, const std::string& parameters,
                         platform::WindowId owner) {
  platform::ShellExecuteRequest request;
  request.mask = kElevatedMask;
  request.owner = owner;
  request.verb = std::string(kRunAs);
  request.file = file;
  request.parameters = parameters;
  request.show = platform::kSwHideWindow;
  try {
    Application().Platform().launcher.ExecuteEx(request);
  } catch (const std::exception&) {
    // A refused or failed start changes nothing in the program.
  }
}

void TForm1::RemoveDuplicateProcesses() {
  // The first occurrence of each name stays; names differing only in letter case all stay.
  std::unordered_set<std::string> seen;
  LBP.RemoveIf([&seen](const auto& line) { return !seen.insert(line.text).second; });
}

}  // namespace app
