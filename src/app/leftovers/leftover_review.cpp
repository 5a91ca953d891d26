#include "app/leftovers/leftover_review.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "app/leftovers/removal_set.h"
#include "app/paths/file_names.h"

namespace app {
namespace {

constexpr std::uint64_t kKilobyte = 1024;

// What a row names: a value by its name, a key, file or folder by its last part.
std::string WhatOf(const LeftoverItem& item) {
  if (!item.value_name.empty()) return item.value_name;
  return std::string(FileNameOf(item.place));
}

std::string Count(std::size_t count) {
  return std::to_string(count) + (count == 1 ? " item" : " items");
}

}  // namespace

LeftoverReview ReviewOf(KeptRecord kept, std::vector<LeftoverItem> items, bool machine) {
  std::stable_sort(items.begin(), items.end(),
                   [](const LeftoverItem& a, const LeftoverItem& b) { return a.kind < b.kind; });
  return LeftoverReview{std::move(kept), std::move(items), machine};
}

bool RemovableInReview(platform::Platform& platform, const LeftoverReview& review,
                       const LeftoverItem& item) {
  return IsMachineItem(platform, item) == review.machine;
}

ReviewRow RowOf(const LeftoverItem& item, bool removable) {
  ReviewRow row;
  const bool sized = item.kind == LeftoverKind::kFolder;
  row.cells = {WhatOf(item), std::string(KindName(item.kind)), ItemPlace(item),
               sized ? SizeText(item.size) : std::string{}, item.reason};
  if (removable) {
    row.check = item.certain ? platform::RowCheck::kChecked : platform::RowCheck::kUnchecked;
  }
  return row;
}

std::string SizeText(std::uint64_t bytes) {
  if (bytes < kKilobyte) return std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes");
  if (bytes < kKilobyte * kKilobyte)
    return std::to_string((bytes + kKilobyte / 2) / kKilobyte) + " KB";
  constexpr std::array<const char*, 3> kUnits = {"MB", "GB", "TB"};
  double size = static_cast<double>(bytes) / static_cast<double>(kKilobyte * kKilobyte);
  std::size_t unit = 0;
  while (size >= 1024.0 && unit + 1 < kUnits.size()) {
    size /= 1024.0;
    ++unit;
  }
  char text[32];
  std::snprintf(text, sizeof text, "%.1f %s", size, kUnits[unit]);
  return text;
}

std::string RemovalSummary(const LeftoverRemoval& removal) {
  const auto removed = static_cast<std::size_t>(
      std::count_if(removal.items.begin(), removal.items.end(),
                    [](const SetItemOutcome& outcome) { return outcome.removed; }));
  std::string text =
      removed == 0 ? std::string("Nothing was removed.") : "Removed " + Count(removed) + ".";
  if (removed != 0) {
    text += " They are kept, and can be restored, from:";
    for (const std::string& set : removal.sets) text += "\r\n" + set;
  }
  if (removed == removal.items.size()) return text;
  text += "\r\n\r\nNot removed:";
  for (const SetItemOutcome& outcome : removal.items) {
    if (!outcome.removed) text += "\r\n" + WhatOf(outcome.item) + ": " + outcome.reason + ".";
  }
  return text;
}

std::string LeftBehindQuestion(const std::string& result, const std::string& name,
                               std::size_t items) {
  return result + "\r\n\r\n" + name + " left " + Count(items) +
         " behind. Do you want to review them now?";
}

}  // namespace app
