// Fuzz target: any file, read as an uninstall record. Nothing is read outside it, and a record
// that reads is written back as text that reads as the same record.

#include <cstdint>
#include <string_view>

#include "app/leftovers/evidence_record.h"
#include "fuzz_require.h"

using fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto record = app::ReadRecordText(text);
  if (!record) return 0;
  Require(app::ReadRecordText(app::RecordText(*record)) == record,
          "a record written back reads as itself");
  return 0;
}
