#include "app/icons/icon_source.h"

#include <charconv>

#include "app/entry/uninstall_command.h"
#include "app/entry/windows_installer.h"
#include "app/paths/file_names.h"
#include "platform/text.h"

namespace app {
namespace {

constexpr char kQuote = '"';
constexpr std::string_view kIconExtension = ".ICO";

std::string_view Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

std::string_view Unquoted(std::string_view text) {
  text = Trimmed(text);
  if (!text.empty() && text.front() == kQuote) text.remove_prefix(1);
  const auto quote = text.find(kQuote);
  if (quote != std::string_view::npos) text = text.substr(0, quote);
  return Trimmed(text);
}

std::optional<int> WholeInteger(std::string_view text) {
  text = Trimmed(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
    return std::nullopt;
  }
  return value;
}

// A registered "path,index", tried where the entry's view opens it.
bool TryRegistered(std::string_view registered, const IconSystem& system) {
  const IconLocation location = ParseIconLocation(registered);
  if (location.path.empty()) return false;
  const auto path = system.paths.PathToOpen(location.path, system.drives);
  if (!path) return false;
  return system.try_icon(CandidateAt(IconLocation{*path, location.index}));
}

}  // namespace

IconLocation ParseIconLocation(std::string_view value) {
  value = Trimmed(value);
  const auto comma = value.rfind(',');
  if (comma != std::string_view::npos) {
    if (const auto index = WholeInteger(value.substr(comma + 1))) {
      return IconLocation{std::string(Unquoted(value.substr(0, comma))), *index};
    }
  }
  return IconLocation{std::string(Unquoted(value)), 0};
}

IconCandidate CandidateAt(IconLocation location) {
  const bool icon_file = text::UpperAscii(text::Extension(location.path)) == kIconExtension;
  return IconCandidate{std::move(location), icon_file};
}

std::optional<std::string> CommandIconFile(std::string_view command, const EntryPaths& paths,
                                           RemoteDrives& drives) {
  const CommandProgram program = paths.ProgramOf(command, drives);
  if (program.kind != CommandProgram::Kind::kFound) return std::nullopt;
  if (IsSystemRunner(FileNameOf(program.named))) return std::nullopt;
  return program.reached;
}

bool FindProgramIcon(const ProgramEntry& program, const IconSystem& system) {
  if (TryRegistered(program.display_icon.value_or(""), system)) return true;
  const std::string packed = PackedProductCode(program.product_code);
  if (!packed.empty() && system.product_icon &&
      TryRegistered(system.product_icon(packed), system)) {
    return true;
  }
  const auto file = CommandIconFile(UninstallCommand(program), system.paths, system.drives);
  return file && system.try_icon(CandidateAt(IconLocation{*file, 0}));
}

}  // namespace app
