#include "app/command_line/command_line.h"

#include <cstdio>
#include <optional>

#include "platform/wtf8.h"

namespace app {
namespace {

constexpr std::string_view kMachineRoot = "HKLM";
constexpr std::string_view kView32 = "32";
constexpr std::string_view kView64 = "64";
constexpr std::size_t kDigitsPerUnit = 4;
constexpr std::size_t kDigestDigits = 16;
// A registry key's name holds at most 255 characters.
constexpr std::size_t kMaxKeyNameUnits = 255;
constexpr char16_t kBackslash = u'\\';

Command UsageError(std::string error) {
  return Command{.kind = CommandKind::kUsageError, .error = std::move(error)};
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;  // lower case is refused: one name has one spelling
}

// The key name of its hexadecimal UTF-16 units; empty when they are no key's name: none, too
// many, a digit missing, a NUL, or a backslash that would lead to another key.
std::string KeyNameOfHex(std::string_view hex) {
  if (hex.empty() || hex.size() % kDigitsPerUnit != 0) return {};
  if (hex.size() / kDigitsPerUnit > kMaxKeyNameUnits) return {};
  std::u16string units;
  for (std::size_t at = 0; at < hex.size(); at += kDigitsPerUnit) {
    int unit = 0;
    for (std::size_t i = 0; i < kDigitsPerUnit; ++i) {
      const int digit = HexDigit(hex[at + i]);
      if (digit < 0) return {};
      unit = unit * 16 + digit;
    }
    if (unit == 0 || unit == kBackslash) return {};
    units += static_cast<char16_t>(unit);
  }
  return text::Utf16ToWtf8(std::u16string_view(units));
}

std::string HexOfKeyName(const std::string& key_name) {
  std::string hex;
  for (const char16_t unit : text::Wtf8ToUtf16<char16_t>(key_name)) {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%04X", static_cast<unsigned>(unit));
    hex += digits;
  }
  return hex;
}

// Sixteen upper-case hexadecimal digits.
std::optional<std::uint64_t> DigestOfHex(std::string_view hex) {
  if (hex.size() != kDigestDigits) return std::nullopt;
  std::uint64_t digest = 0;
  for (const char c : hex) {
    const int digit = HexDigit(c);
    if (digit < 0) return std::nullopt;
    digest = digest * 16 + static_cast<std::uint64_t>(digit);
  }
  return digest;
}

std::string HexOfDigest(std::uint64_t digest) {
  char digits[kDigestDigits + 1];
  std::snprintf(digits, sizeof digits, "%016llX", static_cast<unsigned long long>(digest));
  return digits;
}

Command ParseMachineEntry(const std::vector<std::string>& arguments) {
  if (arguments.size() != 6) {
    return UsageError(std::string(kRemoveMachineEntryVerb) +
                      " takes five arguments: HKLM, 32 or 64, the key's name in hexadecimal "
                      "UTF-16, the copy's file name, and the entry's fingerprint.");
  }
  if (arguments[1] != kMachineRoot) {
    return UsageError("Only entries under HKLM are removed this way, not \"" + arguments[1] +
                      "\".");
  }
  Command command{.kind = CommandKind::kRemoveMachineEntry};
  if (arguments[2] == kView64) {
    command.machine_entry.view = EntryView::kMachine64;
  } else if (arguments[2] != kView32) {
    return UsageError("The view must be 32 or 64, not \"" + arguments[2] + "\".");
  }
  command.machine_entry.key_name = KeyNameOfHex(arguments[3]);
  if (command.machine_entry.key_name.empty()) {
    return UsageError("\"" + arguments[3] + "\" is no key's name in hexadecimal UTF-16.");
  }
  command.machine_entry.copy_name = arguments[4];
  const auto asked = DigestOfHex(arguments[5]);
  if (!asked) return UsageError("\"" + arguments[5] + "\" is no fingerprint.");
  command.machine_entry.asked = *asked;
  return command;
}

Command ParseMachineLeftovers(const std::vector<std::string>& arguments) {
  if (arguments.size() != 3 || arguments[1].empty() || arguments[2].empty()) {
    return UsageError(std::string(kRemoveMachineLeftoversVerb) +
                      " takes two arguments: the record's folder and the set's name.");
  }
  return Command{.kind = CommandKind::kRemoveMachineLeftovers,
                 .machine_leftovers = {.record_folder = arguments[1], .set_name = arguments[2]}};
}

}  // namespace

Command ParseCommand(const std::vector<std::string>& arguments) {
  if (arguments.empty()) return Command{};
  if (arguments[0] == kRemoveMachineEntryVerb) return ParseMachineEntry(arguments);
  if (arguments[0] == kRemoveMachineLeftoversVerb) return ParseMachineLeftovers(arguments);
  if (arguments[0] == kReviewMachineLeftoversVerb) {
    if (arguments.size() != 2 || arguments[1].empty()) {
      return UsageError(std::string(kReviewMachineLeftoversVerb) + " takes the record's folder.");
    }
    return Command{.kind = CommandKind::kReviewMachineLeftovers, .record = arguments[1]};
  }
  return ParseScriptCommand(arguments);
}

std::vector<std::string> MachineEntryArguments(const MachineEntryRequest& request) {
  const std::string_view view = request.view == EntryView::kMachine64 ? kView64 : kView32;
  return {
      std::string(kRemoveMachineEntryVerb), std::string(kMachineRoot), std::string(view),
      HexOfKeyName(request.key_name),       request.copy_name,         HexOfDigest(request.asked)};
}

std::vector<std::string> MachineLeftoversArguments(const MachineLeftoversRequest& request) {
  return {std::string(kRemoveMachineLeftoversVerb), request.record_folder, request.set_name};
}

}  // namespace app
