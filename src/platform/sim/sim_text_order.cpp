#include "platform/sim/sim_text_order.h"

#include "platform/sim/sim_ascii.h"

namespace sim {

int CaselessOrder::Compare(const std::string& a, const std::string& b) const {
  return CompareFolded(a, b, Fold::kToUpper);
}

}  // namespace sim
