#include "app/processes/processes.h"

#include <exception>
#include <unordered_set>

#include "platform/text.h"

namespace app {
namespace {

constexpr std::string_view kExeExtension = ".EXE";
constexpr std::string_view kTaskKill = "taskkill.exe";

bool IsExecutable(const std::string& name) {
  return text::UpperAscii(text::Extension(name)) == kExeExtension;
}

// taskkill is started itself, never through a command interpreter, so no character of a file
// name can become a command. A file name cannot hold a double quote, so the quoted name is
// one argument, blanks and "&" included.
std::string TaskKillParameters(const std::string& process_name) {
  return "/F /IM \"" + process_name + "\" /T";
}

// Appends the executable names of the table, in its order, until it ends or fails.
void ReadExecutableNames(platform::ProcessSnapshots& snapshots, std::vector<std::string>& names) {
  const platform::UniqueSnapshot snapshot(snapshots,
                                          snapshots.CreateSnapshot(platform::kSnapProcess, 0));
  std::string name;
  for (bool read = snapshots.First(snapshot.get(), name); read;
       read = snapshots.Next(snapshot.get(), name)) {
    if (IsExecutable(name)) names.push_back(name);
  }
}

}  // namespace

std::vector<std::string> RunningPrograms(platform::ProcessSnapshots& snapshots,
                                         const platform::TextOrder& order) {
  std::vector<std::string> read;
  try {
    ReadExecutableNames(snapshots, read);
  } catch (const std::exception&) {
    // The names read so far are listed.
  }
  // The first occurrence of each name stays.
  std::unordered_set<std::string> seen;
  std::vector<const std::string*> distinct;
  for (const std::string& name : read) {
    if (seen.insert(name).second) distinct.push_back(&name);
  }
  std::vector<std::string> names;
  names.reserve(distinct.size());
  for (std::size_t i : order.StableOrder(distinct)) names.push_back(*distinct[i]);
  return names;
}

std::optional<platform::StartSpec> KillStart(const std::string& process_name,
                                             const std::string& system_directory) {
  // taskkill runs with administrator rights: only the system's own may be started.
  const std::string task_kill = platform::InDirectory(system_directory, kTaskKill);
  if (task_kill.empty()) return std::nullopt;
  return platform::StartSpec{
      .program = task_kill,
      .parameters = TaskKillParameters(process_name),
      .show = platform::kSwHideWindow,
      .elevation = platform::Elevation::kAlways,
  };
}

}  // namespace app
