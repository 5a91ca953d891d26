#include "platform/wtf8.h"

namespace text::wtf8_detail {
namespace {

constexpr unsigned char kContinuationMask = 0xC0;
constexpr unsigned char kContinuationTag = 0x80;
constexpr char32_t kLastOneByte = 0x7F;
constexpr char32_t kLastTwoByte = 0x7FF;
constexpr char32_t kLastThreeByte = 0xFFFF;
constexpr char32_t kLastCodePoint = 0x10FFFF;

bool IsContinuation(unsigned char byte) {
  return (byte & kContinuationMask) == kContinuationTag;
}

// A lead byte's length and the smallest code point of that length: anything below is an
// overlong form. Zero length for a byte that starts nothing.
struct Lead {
  std::size_t length;
  char32_t bits;
  char32_t smallest;
};

Lead LeadOf(unsigned char byte) {
  if (byte <= kLastOneByte) return {1, byte, 0};
  if (byte >= 0xC2 && byte <= 0xDF) return {2, byte & 0x1Fu, kLastOneByte + 1};
  if (byte >= 0xE0 && byte <= 0xEF) return {3, byte & 0x0Fu, kLastTwoByte + 1};
  if (byte >= 0xF0 && byte <= 0xF4) return {4, byte & 0x07u, kLastThreeByte + 1};
  return {0, 0, 0};
}

}  // namespace

void AppendCodePoint(std::string& out, char32_t code_point) {
  if (code_point <= kLastOneByte) {
    out += static_cast<char>(code_point);
    return;
  }
  if (code_point <= kLastTwoByte) {
    out += static_cast<char>(0xC0 | (code_point >> 6));
  } else if (code_point <= kLastThreeByte) {
    out += static_cast<char>(0xE0 | (code_point >> 12));
    out += static_cast<char>(kContinuationTag | ((code_point >> 6) & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code_point >> 18));
    out += static_cast<char>(kContinuationTag | ((code_point >> 12) & 0x3F));
    out += static_cast<char>(kContinuationTag | ((code_point >> 6) & 0x3F));
  }
  out += static_cast<char>(kContinuationTag | (code_point & 0x3F));
}

Decoded DecodeAt(std::string_view text, std::size_t at) {
  const Lead lead = LeadOf(static_cast<unsigned char>(text[at]));
  if (lead.length == 0) return {kReplacement, 1};
  char32_t code_point = lead.bits;
  for (std::size_t k = 1; k < lead.length; ++k) {
    if (at + k >= text.size()) return {kReplacement, k};
    const auto byte = static_cast<unsigned char>(text[at + k]);
    if (!IsContinuation(byte)) return {kReplacement, k};
    code_point = (code_point << 6) | (byte & 0x3Fu);
    // The second byte alone tells an overlong form or one past U+10FFFF: stop there, so the
    // bytes after it are read afresh.
    if (k == 1 && lead.length > 2) {
      const char32_t lowest_possible = code_point << (6 * (lead.length - 2));
      const char32_t highest_possible = lowest_possible | ((1u << (6 * (lead.length - 2))) - 1);
      if (highest_possible < lead.smallest || lowest_possible > kLastCodePoint) {
        return {kReplacement, 1};
      }
    }
  }
  return {code_point, lead.length};
}

}  // namespace text::wtf8_detail
