#include "app/paths/registered_path.h"

#include <algorithm>
#include <utility>

#include "app/paths/file_names.h"
#include "platform/text.h"

namespace app {
namespace {

constexpr char kMark = '%';
constexpr std::string_view kSysnative = "Sysnative";
// The system's runners, by their file names.
constexpr std::array<std::string_view, 3> kSystemRunners = {"MSIEXEC.EXE", "RUNDLL32.EXE",
                                                            "CMD.EXE"};
// A 32-bit process on 64-bit Windows is given the 64-bit values under these other names.
constexpr std::pair<std::string_view, std::string_view> kNative64Names[] = {
    {"ProgramFiles", "ProgramW6432"},
    {"CommonProgramFiles", "CommonProgramW6432"},
    {"PROCESSOR_ARCHITECTURE", "PROCESSOR_ARCHITEW6432"},
};

bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

std::optional<std::size_t> LetterIndex(char letter) {
  if (letter >= 'A' && letter <= 'Z') return static_cast<std::size_t>(letter - 'A');
  if (letter >= 'a' && letter <= 'z') return static_cast<std::size_t>(letter - 'a');
  return std::nullopt;
}

// Two separators begin every server's and every device's path, whichever way they lean.
bool IsServerOrDevice(std::string_view path) {
  return path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1]);
}

std::optional<std::string> Native64Variable(const std::string& name, platform::Launcher& launcher) {
  for (const auto& [own, native] : kNative64Names) {
    if (!text::EqualsIgnoringAsciiCase(name, own)) continue;
    if (auto value = launcher.EnvironmentVariable(std::string(native))) return value;
    break;
  }
  return launcher.EnvironmentVariable(name);
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() &&
         text::EqualsIgnoringAsciiCase(text.substr(0, prefix.size()), prefix);
}

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

std::string ExpandVariables(std::string_view text, const VariableLookup& lookup) {
  std::string out;
  while (!text.empty()) {
    const std::size_t open = text.find(kMark);
    out += text.substr(0, open);
    if (open == std::string_view::npos) break;
    text.remove_prefix(open);
    const std::size_t close = text.find(kMark, 1);
    if (close == std::string_view::npos) {
      out += text;
      break;
    }
    const std::string name(text.substr(1, close - 1));
    const std::optional<std::string> value = name.empty() ? std::nullopt : lookup(name);
    out += value ? std::string_view(*value) : text.substr(0, close + 1);
    text.remove_prefix(close + 1);
  }
  return out;
}

bool SeesNative64Bit(EntryView view, bool wow64) {
  return wow64 && view == EntryView::kMachine64;
}

bool RemoteDrives::IsRemote(char letter) {
  const std::optional<std::size_t> index = LetterIndex(letter);
  std::atomic<Kind>& known = kinds_[index.value_or(kLetters)];
  if (const Kind kind = known.load(); kind != Kind::kUnknown) return kind == Kind::kRemote;
  // Threads that ask at once may each ask the system; they get the same answer.
  const std::string root = index ? std::string{letter, ':', '\\'} : std::string();
  const bool remote = files_.DriveTypeOf(root) == platform::DriveType::kRemote;
  known.store(remote ? Kind::kRemote : Kind::kLocal);
  return remote;
}

bool IsAbsolute(std::string_view path) {
  const bool drive = path.size() >= 3 && path[1] == ':' && IsSeparator(path[2]) &&
                     LetterIndex(path[0]).has_value();
  return drive || IsServerOrDevice(path);
}

bool IsDevicePath(std::string_view path) {
  const bool device_namespace = IsServerOrDevice(path) && path.size() >= 4 &&
                                (path[2] == '.' || path[2] == '?') && IsSeparator(path[3]);
  return device_namespace || IsDeviceName(path);
}

bool MayOpen(std::string_view path, RemoteDrives& drives) {
  if (IsServerOrDevice(path) || IsDevicePath(path)) return false;
  const bool drive = path.size() >= 2 && path[1] == ':' && LetterIndex(path[0]).has_value();
  return !drives.IsRemote(drive ? path[0] : '\0');
}

bool IsSystemRunner(std::string_view name) {
  const std::string upper = text::UpperAscii(name);
  return std::find(kSystemRunners.begin(), kSystemRunners.end(), upper) != kSystemRunners.end();
}

PathSystem PathSystemOf(platform::Platform& system) {
  return PathSystem{system.launcher, system.files, system.registry.HasSeparate64BitView()};
}

EntryPaths::EntryPaths(const PathSystem& system, EntryView view)
    : system_(system),
      native64_(SeesNative64Bit(view, system.wow64)),
      system_folder_(system.launcher.SystemDirectory()),
      windows_folder_(system.launcher.WindowsDirectory()) {}

std::string EntryPaths::Expanded(std::string_view text) const {
  platform::Launcher& launcher = system_.launcher;
  if (native64_) {
    return ExpandVariables(
        text, [&launcher](const std::string& name) { return Native64Variable(name, launcher); });
  }
  return ExpandVariables(
      text, [&launcher](const std::string& name) { return launcher.EnvironmentVariable(name); });
}

// A 32-bit program is shown the 32-bit system folder under the system folder's name; the 64-bit
// one it reaches through Sysnative.
std::string EntryPaths::Reached(const std::string& named) const {
  if (!native64_ || system_folder_.empty() || windows_folder_.empty()) return named;
  const std::size_t length = system_folder_.size();
  if (!StartsWithIgnoringCase(named, system_folder_)) return named;
  if (named.size() > length && !IsSeparator(named[length])) return named;
  return platform::InDirectory(windows_folder_, kSysnative) + named.substr(length);
}

CommandProgram EntryPaths::ProgramOf(std::string_view command) const {
  platform::FileDates& files = system_.files;
  return FindCommandProgram(*this, command,
                            [&files](const std::string& path) { return files.FindFile(path); });
}

CommandProgram EntryPaths::ProgramOf(std::string_view command, RemoteDrives& drives) const {
  platform::FileDates& files = system_.files;
  return FindCommandProgram(*this, command, [&files, &drives](const std::string& path) {
    // A path it may not open is not looked for: not there, for what the icons need.
    return MayOpen(path, drives) ? files.FindFile(path) : platform::kFileNotFound;
  });
}

std::optional<std::string> EntryPaths::PathToOpen(std::string_view registered,
                                                  RemoteDrives& drives) const {
  std::string path = Reached(Expanded(Trimmed(registered)));
  if (!IsAbsolute(path) || !MayOpen(path, drives)) return std::nullopt;
  return path;
}

}  // namespace app
