#include "app/orphans/entry_removal.h"

#include <new>

#include "app/copies/copy_file_name.h"
#include "app/copies/key_copy.h"
#include "app/copies/reg_file.h"
#include "app/entry/entry_key.h"
#include "app/orphans/set_aside.h"
#include "app/texts/texts.h"
#include "platform/registry.h"

namespace app {
namespace {

// How long reg.exe may take to delete a per-machine entry once it has the rights.
constexpr std::uint32_t kRegDeleteWaitMs = 30000;

using platform::RegResult;

constexpr std::string_view kRegProgram = "reg.exe";
constexpr std::string_view kRegDeletePrefix = "delete \"HKLM\\";
constexpr std::string_view kRegDeleteSuffix = "\" /f";
constexpr std::string_view kReg64 = " /reg:64";
constexpr std::string_view kReg32 = " /reg:32";

// Copies of one name made in the same second are numbered; past this many, something is amiss.
constexpr int kMaxCopyNumber = 100;

class Remover {
 public:
  Remover(const ProgramEntry& program, const RemovalSystem& system)
      : program_(program),
        system_(system),
        key_(KeyPlaceOf(program)),
        full_path_(
            EntryKeyPath(program.view, system.registry.HasSeparate64BitView(), program.key_name)) {}

  Removal Run() {
    if (program_.key_name.empty()) return Failed(RemovalOutcome::kNotRead, {});
    if (program_.view == EntryView::kUser) return RunPerUser();
    if (!IsSafeForRegExe(program_.key_name)) return Failed(RemovalOutcome::kNameRefused, {});
    if (!ReadBefore(key_.root, key_.path, key_.view_access)) return result_;
    if (!WriteCopy()) return result_;
    result_.reason = DeletePerMachine();
    if (result_.outcome == RemovalOutcome::kNotKnown) return result_;
    return Check();
  }

 private:
  // Set aside, copy, verify, delete; a failure after the setting aside puts the key back.
  Removal RunPerUser() {
    platform::UniqueRegKey entry(system_.registry);
    const RegResult opened =
        system_.registry.OpenKeyItself(key_.root, key_.path, platform::kKeyAllAccess, entry.put());
    if (opened != platform::kRegOk) {
      return Failed(RemovalOutcome::kNotRead, Words(static_cast<std::uint32_t>(opened), key_.path));
    }
    const std::string set_aside = SetAsideName(program_.key_name);
    if (const RegResult renamed = system_.registry.RenameKey(entry.get(), set_aside);
        renamed != platform::kRegOk) {
      return Failed(RemovalOutcome::kNotRemoved,
                    Words(static_cast<std::uint32_t>(renamed), key_.path));
    }
    if (!ReadBefore(entry.get(), {}, 0) || !WriteCopy()) return PutBack(entry.get(), set_aside);
    // Without the note, a run that ends during the delete leaves the key to be renamed back by
    // the next start: less done, nothing lost.
    WriteRemovalNote(system_.registry, set_aside, result_.copy_path);
    const RegResult deleted = DeleteKeyItself(system_.registry, entry.get());
    if (deleted != platform::kRegOk) {
      result_.reason = Words(static_cast<std::uint32_t>(deleted), key_.path);
      PutBack(entry.get(), set_aside);
      return result_.outcome == RemovalOutcome::kLeftAside ? result_ : Check();
    }
    DeleteRemovalNote(system_.registry, set_aside);
    return CheckPerUser(set_aside);
  }

  // Renames the key back under its own name; when that is taken, says where it stays.
  Removal PutBack(platform::RegKey entry, const std::string& set_aside) {
    if (system_.registry.RenameKey(entry, program_.key_name) == platform::kRegOk) {
      DeleteRemovalNote(system_.registry, set_aside);
      return result_;
    }
    result_.outcome = RemovalOutcome::kLeftAside;
    result_.key_path = EntryKeyPath(EntryView::kUser, false, set_aside);
    if (!copied_) result_.copy_path.clear();
    return result_;
  }

  // The set-aside key must be gone; the entry's own name may hold a key written meanwhile.
  Removal CheckPerUser(const std::string& set_aside) {
    const EntryKeyPlace aside = KeyPlaceOf(EntryView::kUser, set_aside);
    platform::UniqueRegKey left(system_.registry);
    const RegResult gone =
        system_.registry.OpenKeyItself(aside.root, aside.path, platform::kKeyRead, left.put());
    if (gone != platform::kRegNotFound) {
      result_.outcome = RemovalOutcome::kNotKnown;
      return result_;
    }
    platform::UniqueRegKey fresh(system_.registry);
    const RegResult own =
        system_.registry.OpenKeyItself(key_.root, key_.path, platform::kKeyRead, fresh.put());
    result_.outcome = own == platform::kRegNotFound ? RemovalOutcome::kRemoved
                      : own == platform::kRegOk     ? RemovalOutcome::kRewritten
                                                    : RemovalOutcome::kNotKnown;
    result_.reason.clear();
    return result_;
  }

  // Reads the key as it is before anything is changed; a link or a key too large is refused.
  bool ReadBefore(platform::RegKey base, const std::string& path, std::uint32_t view_access) {
    std::string link;
    const RegResult read =
        ReadKeyCopy(system_.registry, base, path, platform::kKeyRead | view_access, before_, &link);
    before_.name = program_.key_name;
    if (read == platform::kRegOk) return true;
    if (read == kRegHoldsLink) {
      result_.key_path = full_path_ + link;
      Failed(RemovalOutcome::kHoldsLink, {});
    } else if (read == kRegCopyTooLarge) {
      Failed(RemovalOutcome::kTooLarge, {});
    } else {
      Failed(RemovalOutcome::kNotRead, Words(static_cast<std::uint32_t>(read), key_.path));
    }
    return false;
  }

  Removal Failed(RemovalOutcome outcome, std::string reason) {
    result_.outcome = outcome;
    result_.reason = std::move(reason);
    return result_;
  }

  // The system's words for an error, with the path it concerns in place of a "%1" in them.
  std::string Words(std::uint32_t error, const std::string& path) const {
    return system_.launcher.ErrorText(error, path);
  }

  bool NotCopied(std::string reason) {
    Failed(RemovalOutcome::kNotCopied, std::move(reason));
    return false;
  }

  // Writes the copy and reads it back.
  bool WriteCopy() {
    // Up to kMaxCopyBytes as .reg text takes several times that, twice over with the reading
    // back: a 32-bit process without the room refuses as for a larger entry.
    try {
      copied_ = WriteCopyText();
    } catch (const std::bad_alloc&) {
      if (written_) system_.files.RemoveFile(result_.copy_path);
      result_.copy_path.clear();
      Failed(RemovalOutcome::kTooLarge, {});
    }
    return copied_;
  }

  bool WriteCopyText() {
    const auto bytes = RegFileBytes(before_, full_path_);
    if (!bytes) return NotCopied(std::string(kUnwritableNameReason));
    const std::string folder = CopyFolder(system_.files.LocalAppDataFolder());
    if (folder.empty()) return NotCopied({});
    if (const auto error = system_.files.CreateFolders(folder); error != platform::kFileOk) {
      return NotCopied(Words(error, folder));
    }
    return WriteNewCopy(folder, *bytes) && ReadBack(*bytes);
  }

  // CREATE_NEW: a name taken by an earlier copy is left as it is, and the next number tried.
  bool WriteNewCopy(const std::string& folder, const std::vector<std::uint8_t>& bytes) {
    const platform::LocalTime now = system_.files.Now();
    platform::FileError error = platform::kFileErrorExists;
    for (int number = 1; error == platform::kFileErrorExists && number <= kMaxCopyNumber;
         ++number) {
      result_.copy_path = CopyFilePath(folder, program_.name, now, number);
      if (result_.copy_path.empty()) return NotCopied({});
      error = system_.files.WriteNewFile(result_.copy_path, bytes);
    }
    written_ = error == platform::kFileOk;
    if (written_) return true;
    // A file that failed to be made was never ours to delete; one half written is.
    if (error != platform::kFileErrorExists) system_.files.RemoveFile(result_.copy_path);
    return NotCopied(Words(error, result_.copy_path));
  }

  // A copy that differs from what was written is deleted again.
  bool ReadBack(const std::vector<std::uint8_t>& bytes) {
    std::vector<std::uint8_t> read_back;
    const auto error = system_.files.ReadWholeFile(result_.copy_path, bytes.size(), read_back);
    if (error == platform::kFileOk && read_back == bytes) return true;
    system_.files.RemoveFile(result_.copy_path);
    return NotCopied(error != platform::kFileOk ? Words(error, result_.copy_path)
                                                : std::string(kCopyDiffersReason));
  }

  // The system's reg.exe with administrator rights, in the entry's own view.
  std::string DeletePerMachine() {
    const std::string reg = platform::SystemProgram(system_.launcher, kRegProgram);
    if (reg.empty()) return {};
    platform::Started started = system_.launcher.Start(platform::StartSpec{
        .program = reg,
        .parameters = RegDeleteArguments(program_.view, program_.key_name),
        .show = platform::kSwHideWindow,
        .elevation = platform::Elevation::kAlways,
        .follow = platform::Follow::kProcess,
    });
    if (started.Error() == platform::kErrorCancelled) return std::string(kDeclinedReason);
    if (started.Error() != platform::kStartOk) return Words(started.Error(), reg);
    // Unless reg.exe was seen to end, the check after it cannot say it did not delete.
    if (started.Wait(kRegDeleteWaitMs).end != platform::RunEnd::kEnded) {
      result_.outcome = RemovalOutcome::kNotKnown;
    }
    return {};
  }

  // The entry's own key read again, itself: a link left in its place is no removal.
  Removal Check() {
    CopiedKey after;
    const RegResult read = ReadKeyCopy(system_.registry, key_.root, key_.path,
                                       platform::kKeyRead | key_.view_access, after);
    after.name = program_.key_name;
    if (read == platform::kRegNotFound) {
      result_.outcome = RemovalOutcome::kRemoved;
      result_.reason.clear();
    } else if (read != platform::kRegOk) {
      result_.outcome = RemovalOutcome::kNotKnown;
    } else if (after == before_) {
      result_.outcome = RemovalOutcome::kNotRemoved;
      system_.files.RemoveFile(result_.copy_path);
      result_.copy_path.clear();
    } else {
      result_.outcome = RemovalOutcome::kPartlyRemoved;
    }
    return result_;
  }

  const ProgramEntry& program_;
  const RemovalSystem& system_;
  const EntryKeyPlace key_;
  const std::string full_path_;  // as a .reg file names it
  CopiedKey before_;
  bool written_ = false;  // the copy's file was made, and is ours to delete
  bool copied_ = false;   // and read back as written
  Removal result_;
};

}  // namespace

std::string RegDeleteArguments(EntryView view, const std::string& key_name) {
  const std::string_view bits = view == EntryView::kMachine64 ? kReg64 : kReg32;
  return std::string(kRegDeletePrefix) + KeyPlaceOf(view, key_name).path +
         std::string(kRegDeleteSuffix) + std::string(bits);
}

bool IsSafeForRegExe(const std::string& key_name) {
  for (std::size_t i = 0; i < key_name.size(); ++i) {
    const auto byte = static_cast<unsigned char>(key_name[i]);
    if (byte == '"' || byte < 0x20 || byte == 0x7F) return false;
    // U+0080 to U+009F, the second set of control characters, in UTF-8.
    const bool c1 = byte == 0xC2 && i + 1 < key_name.size() &&
                    static_cast<unsigned char>(key_name[i + 1]) <= 0x9F;
    if (c1) return false;
  }
  return true;
}

Removal RemoveEntry(const ProgramEntry& program, const RemovalSystem& system) {
  return Remover(program, system).Run();
}

}  // namespace app
