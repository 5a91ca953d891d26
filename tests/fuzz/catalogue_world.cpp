#include "catalogue_world.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cctype>

#include "platform/wtf8.h"

namespace fuzz {
namespace {

using Bytes = std::vector<std::uint8_t>;
using platform::RegKey;

// Pieces that mean something somewhere in the program: access-key marks, the entry
// separator, quotes, variables, tabs and line breaks, characters outside the BMP and outside
// ASCII, the makers the scan hides, the executable suffix, the system programs the date
// fallback skips, paths, dates good and bad, wildcards; servers' and devices' paths and a
// remote drive, which no date may be sought on; a command interpreter's syntax, batch files,
// product codes.
constexpr std::string_view kFragments[] = {
    "&",
    "&&",
    "-",
    "<#>",
    "\"",
    "%",
    "%SystemRoot%",
    "\t",
    " ",
    ",",
    ",0",
    "\r\n",
    "\xF0\x9F\x9A\x80",  // U+1F680
    "\xC3\xA9",          // U+00E9
    "Microsoft",
    "WINDOWS",
    ".exe",
    ".EXE",
    "MsiExec.exe /X{1}",
    "RUNDLL32.EXE",
    "RunDll32.exe shell32.dll,Remove",
    "C:\\",
    "C:\\Foo\\foo.exe",
    "\"C:\\Program Files\\Foo\\unins000.exe\" /S",
    "unins*.exe",
    "?",
    "20200131",
    "19991231",
    "2020 1 3",
    "abcdefgh",
    "Foo",
    "Foo 2",
    "Hotfix",
    "security UPDATE",
    "{12345678-9ABC-DEF0-1234-56789ABCDEF0}",
    "\\\\server\\share\\u.exe",
    "//server/share/",
    "\\\\?\\UNC\\",
    "\\\\.\\",
    "Z:\\Remote\\u.exe",
    "%ProgramFiles%\\Foo\\unins000.exe",
    "rundll32.exe user32.dll,MessageBeep",
    "MsiExec /X",
    "C:\\Foo\\remove.bat",
    " & | ^ < > ( ) !",
    "{BDF63D8D-942F-4DC6-BF44-9EE03A7205F6}",
};

// The values the scan reads, in spellings the registry also matches, and the unnamed value.
constexpr std::string_view kValueNames[] = {
    "DisplayName",
    "UninstallString",
    "QuietUninstallString",
    "InstallDate",
    "DisplayIcon",
    "NoRemove",
    "SystemComponent",
    "ParentKeyName",
    "ReleaseType",
    "WindowsInstaller",
    "DISPLAYNAME",
    "uninstallstring",
    "",
};

// Text most of the time; every other type, and a few that Windows does not define.
constexpr std::uint32_t kTypes[] = {
    platform::kRegSz,      platform::kRegSz,
    platform::kRegSz,      platform::kRegExpandSz,
    platform::kRegMultiSz, platform::kRegBinary,
    platform::kRegDword,   platform::kRegQword,
    platform::kRegNone,    5 /* REG_DWORD_BIG_ENDIAN */,
    6 /* REG_LINK */,      0x7FFFFFFF,
};

// Files the date fallback may find: the files the fragments' commands and icons name, the
// system programs it must skip, a directory's path.
constexpr std::string_view kFilePaths[] = {
    "C:\\FOO\\FOO.EXE",
    "C:\\PROGRAM FILES\\FOO\\UNINS000.EXE",
    "MSIEXEC.EXE",
    "RUNDLL32.EXE",
    "C:\\",
    "C:\\Windows\\system32\\msiexec.exe",
    "C:\\Windows\\Sysnative\\rundll32.exe",
    "C:\\Program Files (x86)\\Foo\\unins000.exe",
    "C:\\Foo\\remove.bat",
    "\\\\server\\share\\u.exe",
};

constexpr std::size_t kPastSixtyFourKb = 65536;
constexpr std::size_t kMaxKeyNameUnits = 255;
// Thousands of entries make a run a hundred times slower. They come with one input in 1024,
// chosen by a hash of the whole input, so that the inputs mutated from one rarely have them
// too and they stay a small part of the runs however the corpus grows.
constexpr std::uint32_t kOneInBulk = 1024;
constexpr std::size_t kFewBulkEntries = 1000;
constexpr std::size_t kManyBulkEntries = 1500;

// True one time in n. Spent input reads as zeros, so the rare case is the highest value.
bool OneIn(FuzzedDataProvider& in, int n) {
  return in.ConsumeIntegralInRange(0, n - 1) == n - 1;
}

// Well-formed UTF-8 (the fragments) as UTF-16.
std::u16string Utf16(std::string_view utf8) {
  std::u16string units;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    char32_t code_point = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
      code_point = (code_point << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    }
    i += length;
    if (code_point < 0x10000) {
      units += static_cast<char16_t>(code_point);
      continue;
    }
    code_point -= 0x10000;
    units += static_cast<char16_t>(0xD800 + (code_point >> 10));
    units += static_cast<char16_t>(0xDC00 + (code_point & 0x3FF));
  }
  return units;
}

// Text as the registry may hold it: fragments, any unit at all, lone surrogates, Latin-1.
std::u16string Units(FuzzedDataProvider& in, int max_parts) {
  std::u16string units;
  const int parts = in.ConsumeIntegralInRange(0, max_parts);
  for (int i = 0; i < parts && in.remaining_bytes() > 0; ++i) {
    switch (in.ConsumeIntegralInRange(0, 3)) {
      case 0:
        units += Utf16(in.PickValueInArray(kFragments));
        break;
      case 1:
        units += static_cast<char16_t>(in.ConsumeIntegral<std::uint16_t>());
        break;
      case 2:
        units += static_cast<char16_t>(in.ConsumeIntegralInRange<std::uint16_t>(0xD800, 0xDFFF));
        break;
      default:
        for (const char c : in.ConsumeRandomLengthString(16)) {
          units += static_cast<char16_t>(static_cast<unsigned char>(c));
        }
    }
  }
  return units;
}

// A name as the seam hands it up. No name holds a NUL, and a key's name no backslash; a key
// name is at most 255 units, and often exactly that.
std::string Name(FuzzedDataProvider& in, bool key) {
  if (key && OneIn(in, 8)) return std::string(kFragments[std::size(kFragments) - 1]);
  std::u16string units = Units(in, 6);
  if (key && OneIn(in, 8)) {
    const std::u16string piece = units.empty() ? u"x" : units;
    while (units.size() < kMaxKeyNameUnits) units += piece;
  }
  std::erase(units, u'\0');
  if (!key) return SeamText(units);
  std::replace(units.begin(), units.end(), u'\\', u'_');
  if (units.size() > kMaxKeyNameUnits) units.resize(kMaxKeyNameUnits);
  if (units.empty()) units = u"_";
  return SeamText(units);
}

bool IsText(std::uint32_t type) {
  return type == platform::kRegSz || type == platform::kRegExpandSz ||
         type == platform::kRegMultiSz;
}

// Data at the seam: text as stored, with or without terminators; any bytes in any number;
// data past 64 KB; nothing at all.
Bytes ValueData(FuzzedDataProvider& in, std::uint32_t type) {
  switch (in.ConsumeIntegralInRange(0, 4)) {
    case 0:
    case 1: {
      std::u16string units = Units(in, 8);
      units.append(in.ConsumeIntegralInRange(0, 2), u'\0');
      if (IsText(type)) {
        const std::string text = SeamText(units);
        return Bytes(text.begin(), text.end());
      }
      // Other types come up as stored: little-endian units, sometimes one odd byte more.
      Bytes bytes;
      for (const char16_t unit : units) {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
      }
      if (in.ConsumeBool()) bytes.push_back(in.ConsumeIntegral<std::uint8_t>());
      return bytes;
    }
    case 2:
      return in.ConsumeBytes<std::uint8_t>(in.ConsumeIntegralInRange<std::size_t>(0, 64));
    case 3: {
      std::string piece = SeamText(Units(in, 3));
      if (piece.empty()) piece = "x";
      const std::size_t size = kPastSixtyFourKb + in.ConsumeIntegralInRange<std::size_t>(0, 4096);
      Bytes bytes(size);
      for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<std::uint8_t>(piece[i % piece.size()]);
      if (in.ConsumeBool()) bytes.push_back(0);
      return bytes;
    }
    default:
      return {};
  }
}

// The text the program reads from stored text bytes: up to the first NUL.
std::string StoredText(const Bytes& bytes) {
  const auto end = std::find(bytes.begin(), bytes.end(), std::uint8_t{0});
  return std::string(bytes.begin(), end);
}

class WorldBuilder {
 public:
  WorldBuilder(FuzzedDataProvider& in, bool bulk, sim::SimPlatform& sim)
      : in_(in), bulk_(bulk), sim_(sim) {}

  UserScript Build() {
    UserScript script;
    script.choice = static_cast<UserScript::Choice>(in_.ConsumeIntegralInRange(0, 4));
    script.index = in_.ConsumeIntegral<std::uint16_t>();
    const std::uint32_t answers = in_.ConsumeIntegral<std::uint32_t>();
    // 64-bit Windows has two HKLM views; 32-bit Windows one.
    sim_.registry.SetSystem64(!OneIn(in_, 4));
    if (OneIn(in_, 4)) sim_.files.SetDriveType("Z:\\", platform::DriveType::kRemote);
    if (OneIn(in_, 8)) sim_.files.SetDriveType("", platform::DriveType::kRemote);
    std::size_t entries = 0;
    if (bulk_) entries += AddBulk();
    const int count = in_.ConsumeIntegralInRange(0, 24);
    for (int i = 0; i < count && in_.remaining_bytes() > 0; ++i) AddEntry();
    entries += static_cast<std::size_t>(count);
    AddLastCommand();
    AddFiles();
    AddProcesses();
    // Every prompt a line can raise, the notice of an empty command, and some to spare.
    for (std::size_t i = 0; i < entries + 4; ++i) {
      script.box_answers.push_back((answers >> (i % 32)) & 1 ? platform::kIdYes : platform::kIdNo);
    }
    return script;
  }

 private:
  void AddEntry() {
    const UninstallKey& key = in_.PickValueInArray(kUninstallKeys);
    const std::string path = std::string(key.path) + "\\" + Name(in_, true);
    sim_.registry.CreatePhysicalKey(key.root, path);
    const int values = in_.ConsumeIntegralInRange(0, 6);
    for (int i = 0; i < values && in_.remaining_bytes() > 0; ++i) {
      AddValue(key.root, path, i == 0 && !OneIn(in_, 8));
    }
    if (OneIn(in_, 32)) sim_.registry.DenyAccess(key.root, path);
  }

  void AddValue(RegKey root, const std::string& path, bool display_name) {
    std::string name =
        display_name ? "DisplayName" : std::string(in_.PickValueInArray(kValueNames));
    if (OneIn(in_, 8)) name = Name(in_, false);
    const std::uint32_t type =
        OneIn(in_, 16) ? in_.ConsumeIntegral<std::uint32_t>() : in_.PickValueInArray(kTypes);
    Bytes data = ValueData(in_, type);
    if ((type == platform::kRegSz || type == platform::kRegExpandSz) && name == "UninstallString") {
      commands_.push_back(StoredText(data));
    }
    sim_.registry.SetValue(root, path, name, type, std::move(data));
  }

  // Thousands of plain entries under one key: names, commands, some dates.
  std::size_t AddBulk() {
    const UninstallKey& key = in_.PickValueInArray(kUninstallKeys);
    const std::size_t count =
        in_.ConsumeIntegralInRange<std::size_t>(kFewBulkEntries, kManyBulkEntries);
    const std::string name = SeamText(Units(in_, 3));
    for (std::size_t i = 0; i < count; ++i) {
      const std::string number = std::to_string(i);
      const std::string path = std::string(key.path) + "\\Bulk" + number;
      sim_.registry.SetText(key.root, path, "DisplayName", name + " " + number);
      sim_.registry.SetText(key.root, path, "UninstallString", "C:\\P" + number + "\\u.exe");
      if (i % 3 == 0) {
        sim_.registry.SetText(key.root, path, "InstallDate", std::to_string(20000101 + i));
      }
    }
    return count;
  }

  // The last command: absent, a listed command in another letter case, or anything at all.
  void AddLastCommand() {
    const int kind = in_.ConsumeIntegralInRange(0, 3);
    if (kind == 0) return;
    if (kind == 1 && !commands_.empty()) {
      std::string command =
          commands_[in_.ConsumeIntegralInRange<std::size_t>(0, commands_.size() - 1)];
      for (char& c : command) {
        if (std::isalpha(static_cast<unsigned char>(c)) && in_.ConsumeBool()) c ^= 0x20;
      }
      sim_.registry.SetText(platform::kHkeyCurrentUser, kSettingsKey, "Last", command);
      return;
    }
    const std::uint32_t type =
        OneIn(in_, 16) ? in_.ConsumeIntegral<std::uint32_t>() : in_.PickValueInArray(kTypes);
    sim_.registry.SetValue(platform::kHkeyCurrentUser, kSettingsKey, "Last", type,
                           ValueData(in_, type));
  }

  void AddFiles() {
    const int count = in_.ConsumeIntegralInRange(0, 4);
    for (int i = 0; i < count && in_.remaining_bytes() > 0; ++i) {
      const std::string path = in_.ConsumeBool() ? std::string(in_.PickValueInArray(kFilePaths))
                                                 : SeamText(Units(in_, 3));
      switch (in_.ConsumeIntegralInRange(0, 3)) {
        case 0:
          sim_.files.AddDirectory(path);
          break;
        case 1:
          sim_.files.AddUnconvertibleFile(path);
          break;
        default:
          sim_.files.AddFile(path, platform::Date{in_.ConsumeIntegralInRange(1980, 2107),
                                                  in_.ConsumeIntegralInRange(1, 12),
                                                  in_.ConsumeIntegralInRange(1, 31)});
      }
    }
  }

  void AddProcesses() {
    std::vector<std::string> names;
    const int count = in_.ConsumeIntegralInRange(0, 4);
    for (int i = 0; i < count && in_.remaining_bytes() > 0; ++i) {
      names.push_back(Name(in_, false) + (in_.ConsumeBool() ? ".exe" : ".EXE"));
    }
    sim_.processes.SetProcesses(std::move(names));
  }

  FuzzedDataProvider& in_;
  const bool bulk_;
  sim::SimPlatform& sim_;
  std::vector<std::string> commands_;  // stored UninstallString texts, for the last command
};

}  // namespace

std::string SeamText(std::u16string_view units) {
  return text::Utf16ToWtf8(units);
}

bool HasThousandsOfEntries(const std::uint8_t* data, std::size_t size) {
  std::uint32_t hash = 2166136261u;  // FNV-1a
  for (std::size_t i = 0; i < size; ++i) hash = (hash ^ data[i]) * 16777619u;
  return hash % kOneInBulk == 0;
}

UserScript BuildWorld(const std::uint8_t* data, std::size_t size, sim::SimPlatform& sim) {
  FuzzedDataProvider in(data, size);
  return WorldBuilder(in, HasThousandsOfEntries(data, size), sim).Build();
}

}  // namespace fuzz
