// Fuzz target: any file, read as a shortcut. Whatever the file holds, nothing is read outside it,
// and a target that comes back is a path the program can give Windows exactly as it was read: not
// empty, no zero in it, within MAX_PATH, and WTF-8 that converts to UTF-16 and back unchanged.
// Once a file reads, the bytes after it are never looked at: more of them change nothing.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/leftovers/shortcut_reader.h"
#include "app/paths/file_names.h"
#include "fuzz_require.h"
#include "platform/wtf8.h"

namespace {

constexpr std::size_t kBytesAfter = 16;

using fuzz::Require;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> file(data, size);
  const auto target = app::ReadShortcutTarget(file);
  if (!target) return 0;
  const std::string& path = target->path;
  Require(!path.empty() && app::FitsMaxPath(path), "a path is not empty and fits MAX_PATH");
  Require(path.find('\0') == std::string::npos, "a path holds no zero");
  const std::u16string units = text::Wtf8ToUtf16<char16_t>(path);
  Require(text::Utf16ToWtf8(std::u16string_view(units)) == path, "a path converts back unchanged");
  std::vector<std::uint8_t> longer(file.begin(), file.end());
  longer.resize(size + kBytesAfter, 0xFF);
  if (longer.size() > app::kMaxShortcutFileBytes) return 0;
  Require(app::ReadShortcutTarget(longer) == target, "bytes after a shortcut change nothing");
  return 0;
}
