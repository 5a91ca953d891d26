#include "app/leftovers/protected_system.h"

#include <array>
#include <string_view>

#include "app/copies/copy_file_name.h"
#include "app/leftovers/evidence_store.h"
#include "app/leftovers/leftover_names.h"
#include "app/leftovers/leftover_paths.h"
#include "app/paths/file_names.h"
#include "app/paths/registered_path.h"

namespace app {
namespace {

constexpr std::array<std::string_view, 6> kProgramFilesVariables = {
    "ProgramFiles",       "ProgramFiles(x86)",       "ProgramW6432",
    "CommonProgramFiles", "CommonProgramFiles(x86)", "CommonProgramW6432"};
constexpr std::string_view kWindowsApps = "WindowsApps";
constexpr std::array<std::string_view, 2> kProgramDataSystemFolders = {"Microsoft",
                                                                       "Package Cache"};
constexpr std::string_view kOwnDataFolder = "Quillon\\Tapwise Uninstaller";
constexpr std::string_view kUsersFolder = "Users";

void AddPath(std::vector<std::string>& paths, const std::optional<std::string>& path) {
  if (path) paths.push_back(*path);
}

}  // namespace

std::vector<std::string> ProgramFilesRoots(platform::Launcher& launcher) {
  std::vector<std::string> roots;
  for (const std::string_view variable : kProgramFilesVariables) {
    const auto value = launcher.EnvironmentVariable(std::string(variable));
    if (value) AddPath(roots, NormalPath(*value));
  }
  return roots;
}

std::optional<std::string> ComparablePath(platform::Platform& platform, const std::string& path) {
  platform::Launcher& launcher = platform.launcher;
  const std::string expanded = ExpandVariables(
      path, [&launcher](const std::string& name) { return launcher.EnvironmentVariable(name); });
  if (const auto normal = NormalPath(expanded)) return normal;
  // A short name is spelled out by the file system, when the path is there to ask.
  const auto long_path = platform.file_store.LongPath(expanded);
  return long_path ? NormalPath(*long_path) : std::nullopt;
}

std::vector<std::string> NamesOf(platform::Platform& platform, const EvidenceRecord& record) {
  std::string location;
  if (!record.install_location.empty()) {
    location = ComparablePath(platform, record.install_location).value_or("");
  }
  const NamedFacts facts{record.name, record.publisher, std::move(location)};
  return LeftoverNames(facts, ProgramFilesRoots(platform.launcher));
}

std::vector<std::string> FoldersOf(platform::Platform& platform, const EvidenceRecord& record) {
  std::vector<std::string> folders;
  for (const std::string* named :
       {&record.install_location, &record.uninstaller_folder, &record.icon_folder}) {
    if (named->empty()) continue;
    if (auto folder = ComparablePath(platform, *named)) folders.push_back(std::move(*folder));
  }
  return folders;
}

ProtectedFolders ProtectedFoldersOf(platform::Platform& platform, const ListedEvidence& listed) {
  ProtectedFolders folders;
  for (const std::string& known : platform.file_store.KnownFolders()) {
    AddPath(folders.with_above, ComparablePath(platform, known));
  }
  const std::vector<std::string> roots = ProgramFilesRoots(platform.launcher);
  folders.with_above.insert(folders.with_above.end(), roots.begin(), roots.end());
  for (const std::string& root : roots) {
    folders.with_inside.push_back(platform::InDirectory(root, kWindowsApps));
  }
  AddPath(folders.with_inside, NormalPath(platform.launcher.WindowsDirectory()));
  if (const auto data = NormalPath(platform.file_store.ProgramDataFolder())) {
    folders.with_above.push_back(*data);
    for (const std::string_view system : kProgramDataSystemFolders) {
      folders.with_inside.push_back(platform::InDirectory(*data, system));
    }
    folders.with_inside.push_back(platform::InDirectory(*data, kOwnDataFolder));
  }
  if (const auto local = NormalPath(platform.file_store.LocalAppDataFolder())) {
    folders.with_inside.push_back(platform::InDirectory(*local, kOwnDataFolder));
  }
  AddPath(folders.with_inside, NormalPath(FolderOf(platform.launcher.OwnProgramFile())));
  if (const auto windows = NormalPath(platform.launcher.WindowsDirectory())) {
    const std::string users = platform::InDirectory(windows->substr(0, 3), kUsersFolder);
    folders.with_above.push_back(users);
    folders.profile_parents.push_back(users);
  }
  if (const auto profile = platform.launcher.EnvironmentVariable("USERPROFILE")) {
    AddPath(folders.profile_parents, NormalPath(FolderOf(*profile)));
  }
  folders.entry_folders = listed.folders;
  return folders;
}

}  // namespace app
