#include "app/network_path.h"

#include <string>

namespace app {
namespace {

bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

std::optional<std::size_t> LetterIndex(char letter) {
  if (letter >= 'A' && letter <= 'Z') return static_cast<std::size_t>(letter - 'A');
  if (letter >= 'a' && letter <= 'z') return static_cast<std::size_t>(letter - 'a');
  return std::nullopt;
}

}  // namespace

bool RemoteDrives::IsRemote(char letter) {
  const std::optional<std::size_t> index = LetterIndex(letter);
  std::optional<bool>& known = remote_[index.value_or(kLetters)];
  if (!known) {
    const std::string root = index ? std::string{letter, ':', '\\'} : std::string();
    known = files_.DriveTypeOf(root) == platform::DriveType::kRemote;
  }
  return *known;
}

bool IsNetworkPath(std::string_view path, RemoteDrives& drives) {
  // Two separators begin every server's and every device's path, whichever way they lean.
  if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) return true;
  const bool drive = path.size() >= 2 && path[1] == ':' && LetterIndex(path[0]).has_value();
  return drives.IsRemote(drive ? path[0] : '\0');
}

}  // namespace app
