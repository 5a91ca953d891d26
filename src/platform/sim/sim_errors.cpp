#include "platform/sim/sim_errors.h"

#include <iostream>
#include <utility>

namespace sim {

ScriptError::ScriptError(std::string message) : what(std::move(message)) {
  std::cerr << "[sim] " << *this << '\n';
}

Hang::Hang(std::string message) : what(std::move(message)) {
  std::cerr << "[sim] " << *this << '\n';
}

std::ostream& operator<<(std::ostream& out, const ScriptError& error) {
  return out << "sim::ScriptError: " << error.what;
}

std::ostream& operator<<(std::ostream& out, const Hang& error) {
  return out << "sim::Hang: " << error.what;
}

void PrintTo(const ScriptError& error, std::ostream* out) {
  *out << error;
}
void PrintTo(const Hang& error, std::ostream* out) {
  *out << error;
}

}  // namespace sim
