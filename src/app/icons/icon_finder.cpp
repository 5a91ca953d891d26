#include "app/icons/icon_finder.h"

#include <exception>

#include "app/entry/entry_key.h"
#include "app/entry/entry_values.h"
#include "app/icons/icon_source.h"
#include "platform/registry.h"
#include "platform/text.h"

namespace app {
namespace {

constexpr std::string_view kInstallerProducts = "SOFTWARE\\Classes\\Installer\\Products\\";
constexpr const char* kProductIconValue = "ProductIcon";

// "what@size"; appended piece by piece, which GCC 12 does not misread as overlapping copies.
std::string FileKey(std::string what, int size) {
  what.append("@");
  what.append(std::to_string(size));
  return what;
}

// Windows Installer keeps its products' keys in the one, 64-bit, view.
std::string ProductIcon(platform::RawRegistry& raw, const std::string& packed) {
  try {
    platform::TRegistry registry(raw, platform::kKeyRead | platform::kKeyWow64_64Key);
    registry.SelectRoot(platform::kHkeyLocalMachine);
    if (!registry.OpenPath(std::string(kInstallerProducts) + packed, platform::IfMissing::kFail) ||
        !registry.HasValue(kProductIconValue)) {
      return {};
    }
    return registry.ReadText(kProductIconValue);
  } catch (const std::exception&) {
    return {};
  }
}

// "DisplayIcon" as the entry's key holds it now: the scan reads it only when a date needs it.
// Empty when the key or a text value is gone.
std::string DisplayIconOf(platform::RawRegistry& raw, const ProgramEntry& program) {
  EntryKey key(raw, program);
  if (!key.IsOpen()) return {};
  return key.Values().ReadTextIfText(kDisplayIconValue).value_or("");
}

std::string FileKeyOf(const IconLocation& at, int size) {
  std::string file = text::UpperAscii(at.path);
  file.append(",");
  file.append(std::to_string(at.index));
  return FileKey(std::move(file), size);
}

// Reads the candidate's icon into found, unless a worker read that file's before; a directory,
// a missing file or one without that icon gives none.
bool TryCandidate(const IconSeams& seams, ReadIconFiles& read, const IconCandidate& candidate,
                  int size, FoundIcon& found) {
  const IconLocation& at = candidate.location;
  const std::string file_key = FileKeyOf(at, size);
  if (read.Contains(file_key)) {
    found.file_key = file_key;
    return true;
  }
  if (!seams.paths.files.FileExists(at.path)) return false;
  platform::Icons& icons = seams.icons;
  const platform::IconId icon = candidate.icon_file ? icons.LoadIconFile(at.path, size)
                                                    : icons.ExtractIcon(at.path, at.index, size);
  if (icon == platform::kNoIcon) return false;
  found.icon = platform::UniqueIcon(icons, icon);
  found.file_key = file_key;
  read.Add(file_key);
  return true;
}

FoundIcon Generic(platform::Icons& icons, ReadIconFiles& read, int size) {
  std::string file_key = FileKey("generic", size);
  if (read.Contains(file_key)) return FoundIcon{std::move(file_key), {}};
  read.Add(file_key);
  return FoundIcon{std::move(file_key), platform::UniqueIcon(icons, icons.GenericIcon(size))};
}

}  // namespace

bool ReadIconFiles::Contains(const std::string& file_key) const {
  const platform::MutexLock hold(lock_);
  return files_.contains(file_key);
}

void ReadIconFiles::Add(const std::string& file_key) {
  const platform::MutexLock hold(lock_);
  files_.insert(file_key);
}

FoundIcon FindProgramIconFile(const IconSeams& seams, ReadIconFiles& read, ProgramEntry program,
                              int size) {
  if (!program.display_icon) program.display_icon = DisplayIconOf(seams.registry, program);
  FoundIcon found;
  const EntryPaths paths(seams.paths, program.view);
  const IconSystem system{
      paths, seams.drives,
      [&seams](const std::string& packed) { return ProductIcon(seams.registry, packed); },
      [&](const IconCandidate& candidate) {
        return TryCandidate(seams, read, candidate, size, found);
      }};
  return FindProgramIcon(program, system) ? std::move(found) : Generic(seams.icons, read, size);
}

FoundIcon FindProcessIconFile(const IconSeams& seams, ReadIconFiles& read,
                              const std::string& exe_name, int size) {
  const std::string image = seams.processes.ImagePathOf(exe_name);
  FoundIcon found;
  if (IsAbsolute(image) && MayOpen(image, seams.drives) &&
      TryCandidate(seams, read, CandidateAt(IconLocation{image, 0}), size, found)) {
    return found;
  }
  return Generic(seams.icons, read, size);
}

}  // namespace app
