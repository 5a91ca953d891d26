#include "platform/error_text.h"

namespace platform {
namespace {

constexpr char kInsert = '%';
constexpr char kFirst = '1';

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

std::string WithPathInserted(std::string_view text, std::string_view path) {
  std::string out;
  out.reserve(text.size() + path.size());
  for (std::size_t at = 0; at < text.size(); ++at) {
    const char c = text[at];
    const bool insert = c == kInsert && at + 1 < text.size();
    if (insert && text[at + 1] == kInsert) {
      // An escaped "%": neither half begins an insert.
      out.append(text.substr(at, 2));
      ++at;
      continue;
    }
    if (insert && text[at + 1] == kFirst && (at + 2 == text.size() || !IsDigit(text[at + 2]))) {
      out.append(path);
      ++at;
      continue;
    }
    out += c;
  }
  return out;
}

}  // namespace platform
