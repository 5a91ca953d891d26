#pragma once

// The stand-in for the order of the platform's sorted list box.
//
// It compares the texts' bytes as unsigned characters after mapping a..z to A..Z; texts equal
// but for ASCII letter case compare equal. Real Windows sorts a list box with a word sort
// (CompareStringW with NORM_IGNORECASE), which differs: it ignores hyphens and apostrophes
// ("co-op" sorts next to "coop", "-dash" among the d's), orders punctuation and digits its own
// way and folds non-ASCII letters. Tests that depend on those differences belong to the
// Windows build.
//
// Its case fold maps lower-case letters to upper case, one code point for one, in ASCII,
// Latin-1, Latin Extended-A, Greek and Cyrillic; "ß", "ÿ" and "ı" stay as they are.

#include <string>

#include "platform/text_order.h"

namespace sim {

class CaselessOrder final : public platform::TextOrder {
 public:
  std::string FoldCase(std::string_view text) const override;
  int Compare(const std::string& a, const std::string& b) const override;
};

}  // namespace sim
