#pragma once

// What is kept of a program just before its uninstaller starts: enough to tell afterwards what
// the uninstall left behind, when the entry that said it is gone. Kept as UTF-8 text of its own,
// one fact a line, and read back by a bounded reader: the file lies where any program the user
// runs could have changed it.
//
//   Tapwise uninstall record 1
//   entry=HKLM32/{0B1F...}
//   name=Widget 2.1
//   ...
//
// In a value, "\" is written "\\", and every control character "\xHH".

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/file_store.h"

namespace app {

inline constexpr std::string_view kRecordFirstLine = "Tapwise uninstall record 1";
// More than any record holds: six texts of at most a registry value's reasonable length.
inline constexpr std::size_t kMostRecordBytes = 256 * 1024;

struct EvidenceRecord {
  std::string entry_id = {};  // the entry's id as scripts know it: root, view and key name
  std::string name = {};      // DisplayName
  std::string publisher = {};
  std::string version = {};           // DisplayVersion
  std::string install_location = {};  // as registered, unexpanded
  // The folders the uninstaller and the DisplayIcon lie in, as the registered paths' rules find
  // them; empty when there is none.
  std::string uninstaller_folder = {};
  std::string icon_folder = {};
  platform::LocalTime time = {};  // when the uninstaller was about to start
  bool operator==(const EvidenceRecord&) const = default;
};

std::string RecordText(const EvidenceRecord& record);

// The record the text holds, or nothing: a first line other than kRecordFirstLine, more than
// kMostRecordBytes, a fact given twice, a line without "=", an escape cut short or unknown, no
// entry id that scripts could have written, or a time that is no time. Facts it does not know
// are passed over, so that a later version's records still read.
std::optional<EvidenceRecord> ReadRecordText(std::string_view text);

}  // namespace app
