#include "app/leftovers/shortcut_reader.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "app/paths/file_names.h"
#include "platform/le_bytes.h"
#include "platform/wtf8.h"

namespace app {
namespace {

using Bytes = std::span<const std::uint8_t>;

// The header: its own size, the class id of shell links, and the flags that say which sections
// follow it.
constexpr std::uint32_t kHeaderSize = 0x4C;
constexpr std::size_t kClassIdAt = 4;
constexpr std::array<std::uint8_t, 16> kShellLinkClassId = {
    0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
constexpr std::size_t kFlagsAt = 0x14;

constexpr std::uint32_t kHasIdList = 1u << 0;
constexpr std::uint32_t kHasLinkInfo = 1u << 1;
constexpr std::uint32_t kHasName = 1u << 2;
constexpr std::uint32_t kHasRelativePath = 1u << 3;
constexpr std::uint32_t kHasWorkingDir = 1u << 4;
constexpr std::uint32_t kHasArguments = 1u << 5;
constexpr std::uint32_t kHasIconLocation = 1u << 6;
constexpr std::uint32_t kIsUnicode = 1u << 7;
constexpr std::uint32_t kForceNoLinkInfo = 1u << 8;
constexpr std::uint32_t kHasExpString = 1u << 9;
// The strings after the link information, in the order they come.
constexpr std::array<std::uint32_t, 5> kStringFlags = {kHasName, kHasRelativePath, kHasWorkingDir,
                                                       kHasArguments, kHasIconLocation};

constexpr std::size_t kIdListSizeField = 2;
constexpr std::size_t kCountField = 2;

// The link information: its size, its header's size (which tells whether the offsets of the
// Unicode strings are there), its flags, and the offsets, from its start, of the two strings
// that make the local path.
constexpr std::size_t kInfoHeaderSizeAt = 4;
constexpr std::size_t kInfoFlagsAt = 8;
constexpr std::size_t kLocalBasePathAt = 0x10;
constexpr std::size_t kCommonPathSuffixAt = 0x18;
constexpr std::size_t kLocalBasePathUnicodeAt = 0x1C;
constexpr std::size_t kCommonPathSuffixUnicodeAt = 0x20;
constexpr std::uint32_t kAnsiInfoHeaderSize = 0x1C;
constexpr std::uint32_t kUnicodeInfoHeaderSize = 0x24;
constexpr std::uint32_t kHasLocalBasePath = 1u << 0;

// Data blocks: each starts with its size and its signature; a size below four ends the list.
// Windows writes at most one block of each of the eleven kinds the format has.
constexpr std::uint32_t kTerminalBelow = 4;
constexpr std::uint32_t kBlockHeaderSize = 8;
constexpr std::size_t kSignatureAt = 4;
constexpr std::size_t kMaxBlocks = 32;
constexpr std::uint32_t kEnvironmentSignature = 0xA0000001;
constexpr std::size_t kEnvironmentBlockSize = 0x314;
// The Unicode target fills the block from here to its end, after the ANSI one.
constexpr std::size_t kTargetUnicodeAt = 0x10C;

constexpr std::size_t kAnsiUnit = 1;
constexpr std::size_t kUnicodeUnit = 2;
constexpr std::uint32_t kLastAscii = 0x7F;

// The text from bytes[start] up to its zero unit, in units of width bytes. Nothing when no zero
// ends it within bytes or when it is too long for a path. ANSI text is taken only when it
// is all ASCII: the code page it was written in is not in the file, and a byte read in another
// one names another file, which could be one that exists or one inside a removed folder.
std::optional<std::u16string> TerminatedText(Bytes bytes, std::uint64_t start, std::size_t width) {
  const platform::LittleEndian le(bytes);
  std::u16string text;
  for (std::uint64_t at = start;; at += width) {
    const auto unit = le.Read(at, width);
    if (!unit || text.size() >= kMaxPathUnits) return std::nullopt;
    if (*unit == 0) return text;
    if (width == kAnsiUnit && *unit > kLastAscii) return std::nullopt;
    text += static_cast<char16_t>(*unit);
  }
}

std::optional<ShortcutTarget> TargetOf(const std::u16string& units, bool needs_expanding) {
  if (units.empty() || units.size() >= kMaxPathUnits) return std::nullopt;
  return ShortcutTarget{text::Utf16ToWtf8(std::u16string_view(units)), needs_expanding};
}

// The string of the link information whose offset is held at offset_at: it lies after the
// header and ends inside the link information.
std::optional<std::u16string> InfoString(Bytes info, std::uint32_t header_size,
                                         std::size_t offset_at, std::size_t width) {
  const auto offset = platform::LittleEndian(info).U32(offset_at);
  if (!offset || *offset < header_size) return std::nullopt;
  return TerminatedText(info, *offset, width);
}

// The local path: its base joined to its suffix, both Unicode when the header has their offsets.
// A target known only by its network share has no local path and is not read.
std::optional<ShortcutTarget> LinkInfoTarget(Bytes info) {
  const platform::LittleEndian le(info);
  const std::uint32_t header_size = le.U32(kInfoHeaderSizeAt).value_or(0);
  if ((le.U32(kInfoFlagsAt).value_or(0) & kHasLocalBasePath) == 0) return std::nullopt;
  const bool unicode = header_size >= kUnicodeInfoHeaderSize;
  const std::size_t width = unicode ? kUnicodeUnit : kAnsiUnit;
  const auto base =
      InfoString(info, header_size, unicode ? kLocalBasePathUnicodeAt : kLocalBasePathAt, width);
  const auto suffix = InfoString(info, header_size,
                                 unicode ? kCommonPathSuffixUnicodeAt : kCommonPathSuffixAt, width);
  if (!base || !suffix) return std::nullopt;
  return TargetOf(*base + *suffix, false);
}

// Windows opens the block's Unicode target; one it cannot read leaves the shortcut without a
// target rather than falling back on a path Windows would not open.
std::optional<ShortcutTarget> EnvironmentTarget(Bytes block) {
  const auto target = TerminatedText(block, kTargetUnicodeAt, kUnicodeUnit);
  if (!target) return std::nullopt;
  return TargetOf(*target, true);
}

// Where the sections a target may come from lie in the file.
struct Sections {
  std::uint32_t flags = 0;
  Bytes link_info;    // empty when absent or to be ignored
  Bytes environment;  // empty when absent
};

// Goes through the file section after section, each bounded by the sizes it gives and by the file.
class Walk {
 public:
  explicit Walk(Bytes file) : file_(file), le_(file) {}

  std::optional<Sections> Run() {
    if (!Header() || !IdList() || !LinkInfo() || !Strings() || !ExtraData()) return std::nullopt;
    return found_;
  }

 private:
  bool Header() {
    if (file_.size() < kHeaderSize || le_.U32(0) != kHeaderSize) return false;
    const Bytes class_id = file_.subspan(kClassIdAt, kShellLinkClassId.size());
    if (!std::equal(class_id.begin(), class_id.end(), kShellLinkClassId.begin())) return false;
    found_.flags = le_.U32(kFlagsAt).value_or(0);
    at_ = kHeaderSize;
    return true;
  }

  // Moves past count bytes, provided the file holds them.
  bool Skip(std::uint64_t count) {
    if (count > file_.size() - at_) return false;
    at_ += static_cast<std::size_t>(count);
    return true;
  }

  bool Has(std::uint32_t flag) const { return (found_.flags & flag) != 0; }

  // The shell items are not decoded: only their size is taken, to step over them.
  bool IdList() {
    if (!Has(kHasIdList)) return true;
    const auto size = le_.U16(at_);
    return size && Skip(kIdListSizeField + *size);
  }

  bool LinkInfo() {
    if (!Has(kHasLinkInfo)) return true;
    const auto size = le_.U32(at_);
    if (!size || *size < kAnsiInfoHeaderSize || *size > file_.size() - at_) return false;
    const Bytes info = file_.subspan(at_, *size);
    const std::uint32_t header_size =
        platform::LittleEndian(info).U32(kInfoHeaderSizeAt).value_or(0);
    if (header_size != kAnsiInfoHeaderSize && header_size < kUnicodeInfoHeaderSize) return false;
    if (!Has(kForceNoLinkInfo)) found_.link_info = info;
    return Skip(*size);
  }

  // Each string is its count of units, then the units: two bytes each in a Unicode shortcut.
  bool Strings() {
    const std::size_t width = Has(kIsUnicode) ? kUnicodeUnit : kAnsiUnit;
    for (const std::uint32_t flag : kStringFlags) {
      if (!Has(flag)) continue;
      const auto count = le_.U16(at_);
      if (!count || !Skip(kCountField + std::uint64_t{*count} * width)) return false;
    }
    return true;
  }

  bool ExtraData() {
    for (std::size_t blocks = 0;; ++blocks) {
      const auto size = le_.U32(at_);
      if (!size) return false;
      if (*size < kTerminalBelow) return true;
      if (blocks == kMaxBlocks || !Block(*size)) return false;
    }
  }

  // A second environment block would leave the target in doubt: the file is refused.
  bool Block(std::uint32_t size) {
    if (size < kBlockHeaderSize || size > file_.size() - at_) return false;
    if (le_.U32(at_ + kSignatureAt) == kEnvironmentSignature) {
      if (size != kEnvironmentBlockSize || !found_.environment.empty()) return false;
      found_.environment = file_.subspan(at_, size);
    }
    return Skip(size);
  }

  const Bytes file_;
  const platform::LittleEndian le_;
  std::size_t at_ = 0;
  Sections found_;
};

}  // namespace

std::optional<ShortcutTarget> ReadShortcutTarget(std::span<const std::uint8_t> file) {
  if (file.size() > kMaxShortcutFileBytes) return std::nullopt;
  const std::optional<Sections> sections = Walk(file).Run();
  if (!sections) return std::nullopt;
  // Windows takes the environment block's target only when the flags say there is one; a block
  // the flags do not name is left alone, as Windows leaves it.
  if ((sections->flags & kHasExpString) != 0 && !sections->environment.empty()) {
    return EnvironmentTarget(sections->environment);
  }
  if (!sections->link_info.empty()) return LinkInfoTarget(sections->link_info);
  return std::nullopt;
}

}  // namespace app
