#include "app/leftovers/reference_finder.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "app/leftovers/leftover_paths.h"
#include "app/paths/registered_command.h"
#include "platform/registry.h"
#include "platform/text.h"

namespace app {
namespace {

constexpr std::string_view kRunKeys[] = {"Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                                         "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce"};
constexpr std::string_view kAppPathsKey = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths";
constexpr std::string_view kClassesKey = "Software\\Classes";
constexpr std::string_view kShellKey = "shell";
constexpr std::string_view kCommandKey = "command";
// More than any machine registers: a registry that holds more is not read past them.
constexpr std::uint32_t kMostKeysRead = 100000;
constexpr std::uint32_t kMostValuesRead = 10000;

struct Place {
  platform::RegKey root;
  std::uint32_t view_access;
  EntryView view;  // whose paths a command is read in
};

std::string Joined(std::string_view path, std::string_view name) {
  return std::string(path) + "\\" + std::string(name);
}

class ReferenceFinder {
 public:
  ReferenceFinder(const ReferenceSystem& system, const std::vector<std::string>& folders)
      : system_(system), folders_(folders) {}

  std::vector<LeftoverItem> Find() {
    std::vector<Place> places = {
        {platform::kHkeyCurrentUser, 0, EntryView::kUser},
        {platform::kHkeyLocalMachine, platform::kKeyWow64_32Key, EntryView::kMachineDefault}};
    const bool wow64 = system_.registry.HasSeparate64BitView();
    if (wow64) {
      places.push_back(
          {platform::kHkeyLocalMachine, platform::kKeyWow64_64Key, EntryView::kMachine64});
    }
    for (const Place& place : places) {
      for (const std::string_view run : kRunKeys) FindRunValues(place, run);
      FindAppPaths(place);
      FindClasses(place);
    }
    return std::move(items_);
  }

 private:
  // Whether the command names a file that is gone, in one of the program's folders.
  bool NamesGoneFile(const Place& place, std::string_view command) const {
    const EntryPaths paths(system_.paths, place.view);
    const CommandProgram found = paths.ProgramOf(command);
    if (found.kind != CommandProgram::Kind::kMissing) return false;
    const std::optional<std::string> file = NormalPath(found.looked_for);
    if (!file) return false;
    for (const std::string& folder : folders_) {
      if (IsInside(*file, folder)) return true;
    }
    return false;
  }

  std::optional<std::string> Text(const Place& place, const std::string& key,
                                  const std::string& value) const {
    platform::TRegistry reader(system_.registry, platform::kKeyRead | place.view_access);
    reader.SelectRoot(place.root);
    if (!reader.OpenPath(key, platform::IfMissing::kFail)) return std::nullopt;
    try {
      return reader.ReadTextIfText(value);
    } catch (const platform::ERegistryException&) {
      return std::nullopt;
    }
  }

  std::vector<std::string> Subkeys(const Place& place, const std::string& key) const {
    std::vector<std::string> names;
    platform::TRegistry reader(system_.registry, platform::kKeyRead | place.view_access);
    reader.SelectRoot(place.root);
    if (!reader.OpenPath(key, platform::IfMissing::kFail)) return names;
    std::string name;
    for (std::uint32_t i = 0; i < kMostKeysRead && reader.ReadSubkeyName(i, name); ++i) {
      names.push_back(name);
    }
    return names;
  }

  std::vector<std::string> ValueNames(const Place& place, const std::string& key) const {
    std::vector<std::string> names;
    platform::RawRegistry& raw = system_.registry;
    platform::UniqueRegKey owned(raw);
    if (raw.OpenKey(place.root, key, platform::kKeyRead | place.view_access, owned.put()) !=
        platform::kRegOk) {
      return names;
    }
    std::string name;
    for (std::uint32_t i = 0;
         i < kMostValuesRead && raw.EnumValueName(owned.get(), i, name) == platform::kRegOk; ++i) {
      names.push_back(name);
    }
    return names;
  }

  // Keys that both views share (App Paths and most classes on 64-bit Windows) are found through
  // each: such an item is offered once. The Run keys are each view's own.
  void Add(const Place& place, LeftoverKind kind, std::string key, std::string value,
           std::string reason) {
    const auto same = [&](const LeftoverItem& item) {
      return kind != LeftoverKind::kRunValue && item.root == place.root &&
             SamePath(item.place, key) && item.value_name == value;
    };
    if (std::any_of(items_.begin(), items_.end(), same)) return;
    items_.push_back(LeftoverItem{.kind = kind,
                                  .root = place.root,
                                  .view_access = place.view_access,
                                  .place = std::move(key),
                                  .value_name = std::move(value),
                                  .reason = std::move(reason),
                                  .certain = true});
  }

  void FindRunValues(const Place& place, std::string_view run) {
    const std::string key(run);
    for (const std::string& name : ValueNames(place, key)) {
      const auto command = Text(place, key, name);
      if (command && NamesGoneFile(place, *command)) {
        Add(place, LeftoverKind::kRunValue, key, name, "starts a program file that is gone");
      }
    }
  }

  void FindAppPaths(const Place& place) {
    const std::string base(kAppPathsKey);
    for (const std::string& name : Subkeys(place, base)) {
      const std::string key = Joined(base, name);
      const auto path = Text(place, key, "");
      // The path is registered without quotes, blanks and all.
      if (path && NamesGoneFile(place, "\"" + *path + "\"")) {
        Add(place, LeftoverKind::kAppPathKey, key, {}, "names a program file that is gone");
      }
    }
  }

  void FindClasses(const Place& place) {
    const std::string base(kClassesKey);
    for (const std::string& name : Subkeys(place, base)) FindClass(place, Joined(base, name), name);
  }

  // The class whole when every command in it names the program and it holds nothing else; each
  // such command alone otherwise.
  void FindClass(const Place& place, const std::string& key, const std::string& name) {
    const std::string shell = Joined(key, kShellKey);
    const std::vector<std::string> verbs = Subkeys(place, shell);
    std::vector<std::string> gone;
    for (const std::string& verb : verbs) {
      const std::string command = Joined(Joined(shell, verb), kCommandKey);
      const auto text = Text(place, command, "");
      if (text && NamesGoneFile(place, *text)) gone.push_back(command);
    }
    if (gone.empty()) return;
    if (gone.size() == verbs.size() && HoldsOnlyItsCommands(place, key, name)) {
      Add(place, LeftoverKind::kClassKey, key, {},
          "every command in it names a program file that is gone");
      return;
    }
    for (std::string& command : gone) {
      Add(place, LeftoverKind::kCommandKey, std::move(command), {},
          "names a program file that is gone");
    }
  }

  // Nothing but "shell" below it, and no value but a description: a file type's default value
  // names its class, and a file type that names another class is never offered.
  bool HoldsOnlyItsCommands(const Place& place, const std::string& key,
                            const std::string& name) const {
    const std::vector<std::string> subkeys = Subkeys(place, key);
    if (subkeys.size() != 1 || !text::EqualsIgnoringAsciiCase(subkeys.front(), kShellKey))
      return false;
    const std::vector<std::string> values = ValueNames(place, key);
    if (values.empty()) return true;
    if (values.size() != 1 || !values.front().empty()) return false;
    const bool file_type = name.starts_with('.');
    return !file_type || Text(place, key, "").value_or("").empty();
  }

  const ReferenceSystem& system_;
  const std::vector<std::string>& folders_;
  std::vector<LeftoverItem> items_;
};

}  // namespace

std::vector<LeftoverItem> FindReferences(const ReferenceSystem& system,
                                         const std::vector<std::string>& folders) {
  return ReferenceFinder(system, folders).Find();
}

}  // namespace app
