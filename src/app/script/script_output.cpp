#include "app/script/script_output.h"

#include <vector>

#include "app/texts/script_texts.h"

namespace app {
namespace {

// Beside the file: "list.json.1.tmp", the next number when one is taken.
constexpr int kMostTemporaryFiles = 100;
constexpr unsigned char kFirstPrintable = 0x20;
constexpr unsigned char kDelete = 0x7F;

std::string TemporaryName(const std::string& file, int number) {
  return file + "." + std::to_string(number) + ".tmp";
}

bool IsTaken(platform::FileError error) {
  return error == platform::kFileErrorExists || error == platform::kFileErrorAlreadyExists;
}

platform::FileError ReplaceWhole(platform::FileStore& store, const std::string& file,
                                 std::string_view list) {
  const std::vector<std::uint8_t> bytes(list.begin(), list.end());
  for (int number = 1; number <= kMostTemporaryFiles; ++number) {
    const std::string temporary = TemporaryName(file, number);
    const platform::FileError written = store.WriteNewFile(temporary, bytes);
    if (IsTaken(written)) continue;
    // Whatever was made of it goes: a failed write may leave part of the list.
    if (written != platform::kFileOk) {
      store.RemoveFile(temporary);
      return written;
    }
    const platform::FileError replaced = store.MoveReplacing(temporary, file);
    if (replaced != platform::kFileOk) store.RemoveFile(temporary);
    return replaced;
  }
  return platform::kFileErrorExists;
}

}  // namespace

std::optional<std::string> WriteList(platform::Platform& platform, const std::string& file,
                                     std::string_view list) {
  if (file.empty()) {
    if (platform.streams.WriteOut(list)) return std::nullopt;
    return NoStandardOutputText();
  }
  const platform::FileError error = ReplaceWhole(platform.file_store, file, list);
  if (error == platform::kFileOk) return std::nullopt;
  return ListNotWrittenText(file, platform.launcher.ErrorText(error, file));
}

bool WriteErrorLine(platform::StandardStreams& streams, std::string_view said) {
  std::string line = ScriptLine(said);
  for (char& c : line) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < kFirstPrintable || byte == kDelete) c = ' ';
  }
  return streams.WriteError(line + "\n");
}

}  // namespace app
