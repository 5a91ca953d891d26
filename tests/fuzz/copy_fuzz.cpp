// Fuzz target: any file, read as a copy of a registry key. Whatever the file holds, nothing is
// read outside it, and a file that reads is one the writer gives byte for byte for the key and
// path read from it: the reader takes the writer's files and nothing else.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>

#include "app/copies/reg_file.h"
#include "app/copies/reg_file_reader.h"
#include "fuzz_require.h"

using fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> file(data, size);
  const app::RegFileRead read = app::ReadRegFile(file);
  if (!read.ok()) {
    Require(read.offset <= size, "a fault lies within the file");
    return 0;
  }
  const auto written = app::RegFileBytes(read.key, read.path);
  Require(written.has_value(), "the writer writes what was read");
  Require(std::equal(file.begin(), file.end(), written->begin(), written->end()),
          "writing what was read gives the file again");
  return 0;
}
