#include "platform/image_check.h"

#include "platform/le_bytes.h"

namespace platform {
namespace {

constexpr std::uint16_t kDosMagic = 0x5A4D;       // "MZ"
constexpr std::uint32_t kPeMagic = 0x00004550;    // "PE\0\0"
constexpr std::size_t kNewHeaderOffsetAt = 0x3C;  // e_lfanew
constexpr std::size_t kFileHeaderSize = 20;
constexpr std::size_t kSectionCountAt = 2;    // in the file header
constexpr std::size_t kOptionalSizeAt = 16;   // in the file header
constexpr std::size_t kSizeOfHeadersAt = 60;  // in the optional header, both widths
constexpr std::size_t kSectionSize = 40;
constexpr std::size_t kRawSizeAt = 16;  // in a section header
constexpr std::size_t kRawPointerAt = 20;

}  // namespace

bool HoldsWholeImage(std::span<const std::uint8_t> head, std::uint64_t file_size) {
  const LittleEndian read(head);
  if (read.U16(0) != kDosMagic) return false;
  const auto pe = read.U32(kNewHeaderOffsetAt);
  if (!pe || read.U32(*pe) != kPeMagic) return false;
  const std::uint64_t file_header = *pe + 4ull;
  const auto sections = read.U16(file_header + kSectionCountAt);
  const auto optional_size = read.U16(file_header + kOptionalSizeAt);
  if (!sections || !optional_size) return false;
  const std::uint64_t optional_header = file_header + kFileHeaderSize;
  const auto headers_size = read.U32(optional_header + kSizeOfHeadersAt);
  if (!headers_size || *headers_size > file_size) return false;
  const std::uint64_t table = optional_header + *optional_size;
  for (std::uint32_t i = 0; i < *sections; ++i) {
    const std::uint64_t section = table + i * kSectionSize;
    const auto raw_size = read.U32(section + kRawSizeAt);
    const auto raw_pointer = read.U32(section + kRawPointerAt);
    if (!raw_size || !raw_pointer) return false;  // the table itself runs past what was read
    if (std::uint64_t{*raw_pointer} + *raw_size > file_size) return false;
  }
  return true;
}

}  // namespace platform
