#pragma once

// The manifest of one removal set: what was taken, from where, to where, and each step as it
// completed. It is written, and flushed, before the first item moves, and a line is appended
// for each step, so that a set cut short by a crash can be finished or undone from it. It lies
// where other programs could change it, and is read back by a bounded reader of its own.
//
//   Tapwise removal set 1
//   record=2026-12-08 10-48-40
//   time=2026-12-08 11:02:00
//   item=<number><TAB><kind><TAB><original place><TAB><value><TAB><stored
//   place><TAB><size><TAB><hash> step=<number><TAB><step><TAB><detail>
//
// Every text is written as line_text.h writes it, so that no tab or line break ends it early.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/leftovers/leftover_item.h"
#include "platform/file_store.h"

namespace app {

inline constexpr std::string_view kManifestFirstLine = "Tapwise removal set 1";
// More than any set holds: a manifest past them is not one the program wrote.
inline constexpr std::size_t kMostManifestBytes = 16 * 1024 * 1024;
inline constexpr std::size_t kMostManifestItems = 100000;
inline constexpr std::size_t kMostHashDigits = 64;

struct ManifestItem {
  LeftoverKind kind = LeftoverKind::kFolder;
  std::string original;  // the place it was taken from: a path, or a key with its root
  std::string value;     // a value's name, for a value
  std::string stored;    // where its copy is kept in the store
  std::uint64_t size = 0;
  std::string hash;  // lower-case hex of the item's hash, or empty for a key
  bool operator==(const ManifestItem&) const = default;
};

// kRestored: put back in its place, and verified there.
enum class ManifestStep : std::uint8_t {
  kCopied,
  kVerified,
  kMoved,
  kDeleted,
  kSkipped,
  kRestored
};

// Told each step of an item as it completes, so that the manifest has it before the next starts.
using CompletedStep = std::function<void(ManifestStep)>;

struct ManifestStepLine {
  std::size_t item = 0;  // its index among the items
  ManifestStep step = ManifestStep::kCopied;
  std::string detail = {};  // kSkipped: why
  bool operator==(const ManifestStepLine&) const = default;
};

struct RemovalManifest {
  std::string record;  // the name of the record's folder the set came from
  platform::LocalTime time = {};
  std::vector<ManifestItem> items = {};
  std::vector<ManifestStepLine> steps = {};
  bool operator==(const RemovalManifest&) const = default;
};

// The first lines, written before anything moves: the set and its items.
std::string ManifestHead(const RemovalManifest& manifest);
// One step's line, appended as the step completes.
std::string ManifestStepText(const ManifestStepLine& step);

// The manifest, or nothing for anything the writer would not have written: another first line,
// more than the bounds, an unknown fact, kind or step, a field count or number out of place, a
// step of an item not listed. A last line cut short by a crash is left out, not refused.
std::optional<RemovalManifest> ReadManifest(std::string_view text);

}  // namespace app
