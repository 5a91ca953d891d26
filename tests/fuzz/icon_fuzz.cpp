// Fuzz target: any file, read as an .ico file and as a program file's icons at each size the
// menus use, by index and by resource id. Whatever the file holds, nothing is read outside it,
// and a picture that comes back is one the checks pass, no larger than the largest, and a copy
// of bytes the file holds.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <span>

#include "fuzz_require.h"
#include "platform/icon_file.h"

namespace {

constexpr int kSizes[] = {16, 24, 32};
constexpr int kIndexes[] = {0, 1, -1, -101};

using fuzz::Require;

void CheckPicture(const std::optional<platform::IconImage>& image,
                  std::span<const std::uint8_t> file) {
  if (!image) return;
  const auto bytes = image->Bytes();
  Require(platform::IsSoundIconImage(bytes), "a picture given back passes the checks");
  Require(bytes.size() <= platform::kLargestImageBytes, "a picture is at most the largest");
  Require(std::search(file.begin(), file.end(), bytes.begin(), bytes.end()) != file.end(),
          "a picture is a copy of the file's bytes");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> file(data, size);
  platform::MemorySource source(file);
  (void)platform::IsSoundIconImage(file);
  for (const int pixels : kSizes) {
    CheckPicture(platform::ReadIcoFile(source, pixels, platform::ChooseNearest), file);
    for (const int index : kIndexes) {
      CheckPicture(platform::ReadProgramIcon(source, index, pixels, platform::ChooseNearest), file);
    }
  }
  return 0;
}
