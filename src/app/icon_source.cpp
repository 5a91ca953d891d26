#include "app/icon_source.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "app/file_names.h"
#include "app/windows_installer.h"
#include "platform/text.h"

namespace app {
namespace {

constexpr char kQuote = '"';
constexpr std::string_view kExe = ".EXE";
constexpr std::string_view kIconExtension = ".ICO";
constexpr std::string_view kSysnative = "Sysnative";
// The system's runners: their icon is their own, not the program's.
constexpr std::array<std::string_view, 6> kRunners = {"MSIEXEC.EXE", "MSIEXEC", "RUNDLL32.EXE",
                                                      "RUNDLL32",    "CMD.EXE", "CMD"};
// A 64-bit entry's names for the 64-bit folders, which a 32-bit process knows by other names.
struct ViewVariable {
  std::string_view name;
  std::string_view in_64_bit_view;
};
constexpr std::array<ViewVariable, 2> kViewVariables = {
    ViewVariable{"PROGRAMFILES", "ProgramW6432"},
    ViewVariable{"COMMONPROGRAMFILES", "CommonProgramW6432"}};

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

std::string FileNameOf(std::string_view path) {
  const auto slash = path.find_last_of("\\/");
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
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

std::string PackedProductCode(std::string_view code) {
  code = Trimmed(code);
  if (!IsProductCode(code)) return {};
  std::string digits;
  for (const char c : code) {
    if (c != '{' && c != '}' && c != '-') digits += c;
  }
  digits = text::UpperAscii(digits);
  // Groups of 8, 4 and 4 digits reversed whole; the last 16 digits as 8 bytes, each swapped.
  std::string packed;
  for (const auto& [at, length] : {std::pair{0, 8}, std::pair{8, 4}, std::pair{12, 4}}) {
    packed.append(digits.rbegin() + (32 - at - length), digits.rbegin() + (32 - at));
  }
  for (std::size_t at = 16; at < digits.size(); at += 2) {
    packed += digits[at + 1];
    packed += digits[at];
  }
  return packed;
}

std::string CommandProgram(std::string_view command) {
  command = Trimmed(command);
  std::string program;
  if (!command.empty() && command.front() == kQuote) {
    program = std::string(Unquoted(command));
  } else {
    const std::size_t exe = text::Pos(kExe, text::UpperAscii(command));
    program = std::string(exe != 0 ? command.substr(0, exe - 1 + kExe.size())
                                   : text::Before(command, " "));
  }
  const std::string name = text::UpperAscii(FileNameOf(program));
  if (std::find(kRunners.begin(), kRunners.end(), name) != kRunners.end()) return {};
  return program;
}

std::string ExpandInView(std::string_view path, bool view64, const PathContext& context) {
  std::string out;
  while (!path.empty()) {
    const auto open = path.find('%');
    const auto close = open == std::string_view::npos ? open : path.find('%', open + 1);
    if (close == std::string_view::npos) break;
    out.append(path.substr(0, open));
    const std::string name(path.substr(open + 1, close - open - 1));
    std::string looked_up = name;
    for (const ViewVariable& variable : kViewVariables) {
      if (view64 && text::UpperAscii(name) == variable.name) {
        looked_up = std::string(variable.in_64_bit_view);
      }
    }
    std::optional<std::string> value;
    if (!name.empty() && context.environment) value = context.environment(looked_up);
    if (value) {
      out += *value;
      path.remove_prefix(close + 1);
    } else {
      // Left as written; its closing "%" may open the next one.
      out.append(path.substr(open, close - open));
      path.remove_prefix(close);
    }
  }
  out.append(path);
  return out;
}

std::string ThroughSysnative(const std::string& path, bool view64, const PathContext& context) {
  const std::string& system = context.system_directory;
  if (!view64 || !context.is_64_bit_system || system.empty()) return path;
  const auto slash = system.find_last_of('\\');
  if (slash == std::string::npos) return path;
  const std::string upper = text::UpperAscii(path);
  const std::string prefix = text::UpperAscii(system) + "\\";
  if (upper.rfind(prefix, 0) != 0) return path;
  return system.substr(0, slash + 1) + std::string(kSysnative) + path.substr(system.size());
}

bool MayOpen(std::string_view path, const PathContext& context) {
  // A full path on a drive: "X:\..."; "\\server\share", "\\.\device" and "\\?\..." are not.
  const bool on_drive = path.size() >= 3 && path[1] == ':' && path[2] == '\\' &&
                        ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
  if (!on_drive || IsDeviceName(path)) return false;
  return !context.is_remote_drive || !context.is_remote_drive(path[0]);
}

std::optional<std::string> PathToOpen(std::string_view registered, bool view64,
                                      const PathContext& context) {
  const std::string path =
      ThroughSysnative(ExpandInView(Trimmed(registered), view64, context), view64, context);
  if (!MayOpen(path, context)) return std::nullopt;
  return path;
}

IconCandidate CandidateAt(IconLocation location) {
  const bool icon_file = text::UpperAscii(text::Extension(location.path)) == kIconExtension;
  return IconCandidate{std::move(location), icon_file};
}

namespace {

bool TryAt(const IconLocation& location, bool view64, const PathContext& context,
           const TryIcon& try_icon) {
  if (location.path.empty()) return false;
  const auto path = PathToOpen(location.path, view64, context);
  if (!path) return false;
  return try_icon(CandidateAt(IconLocation{*path, location.index}));
}

}  // namespace

bool FindProgramIcon(const ProgramIcon& hint, std::string_view command, const PathContext& context,
                     const ProductIconOf& product_icon, const TryIcon& try_icon) {
  if (!hint.display_icon.empty() &&
      TryAt(ParseIconLocation(hint.display_icon), hint.view64, context, try_icon)) {
    return true;
  }
  const std::string packed = PackedProductCode(hint.product_code);
  if (!packed.empty() && product_icon) {
    const std::string registered = product_icon(packed);
    if (!registered.empty() &&
        TryAt(ParseIconLocation(registered), hint.view64, context, try_icon)) {
      return true;
    }
  }
  return TryAt(IconLocation{CommandProgram(command), 0}, hint.view64, context, try_icon);
}

}  // namespace app
