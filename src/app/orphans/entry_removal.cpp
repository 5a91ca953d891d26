#include "app/orphans/entry_removal.h"

#include <new>

#include "app/copies/copy_file_name.h"
#include "app/copies/key_copy.h"
#include "app/copies/reg_file.h"
#include "app/copies/reg_file_reader.h"
#include "app/entry/entry_key.h"
#include "app/orphans/machine_removal.h"
#include "app/orphans/set_aside.h"
#include "app/texts/texts.h"
#include "platform/registry.h"

namespace app {
namespace {

using platform::RegResult;

class Remover {
 public:
  Remover(const ProgramEntry& program, const RemovalSystem& system, std::string copy_path,
          std::optional<std::uint64_t> asked)
      : program_(program),
        system_(system),
        fixed_copy_path_(std::move(copy_path)),
        asked_(asked),
        key_(KeyPlaceOf(program)),
        full_path_(
            EntryKeyPath(program.view, system.registry.HasSeparate64BitView(), program.key_name)) {}

  // Set aside, copy, verify, delete; a failure after the setting aside puts the key back.
  Removal Run() {
    if (program_.key_name.empty()) return Failed(RemovalOutcome::kNotRead, {});
    platform::UniqueRegKey entry(system_.registry);
    const RegResult opened = system_.registry.OpenKeyItself(
        key_.root, key_.path, platform::kKeyAllAccess | key_.view_access, entry.put());
    if (opened != platform::kRegOk) {
      return Failed(RemovalOutcome::kNotRead, Words(static_cast<std::uint32_t>(opened), key_.path));
    }
    const std::string set_aside = SetAsideName(program_.key_name);
    if (const RegResult renamed = system_.registry.RenameKey(entry.get(), set_aside);
        renamed != platform::kRegOk) {
      return Failed(RemovalOutcome::kNotRemoved,
                    Words(static_cast<std::uint32_t>(renamed), key_.path));
    }
    if (!ReadBefore(entry.get(), {}, key_.view_access) || !AsAsked() || !WriteCopy()) {
      return PutBack(entry.get(), set_aside);
    }
    // Without the note, a run that ends during the delete leaves the key to be renamed back by
    // the next start: less done, nothing lost. A per-machine key set aside stays listed under
    // its own display name, for a later removal to take.
    if (per_user_) WriteRemovalNote(system_.registry, set_aside, result_.copy_path);
    const RegResult deleted = DeleteKeyItself(system_.registry, entry.get());
    if (deleted != platform::kRegOk) {
      result_.reason = Words(static_cast<std::uint32_t>(deleted), key_.path);
      PutBack(entry.get(), set_aside);
      return result_.outcome == RemovalOutcome::kLeftAside ? result_ : Check();
    }
    if (per_user_) DeleteRemovalNote(system_.registry, set_aside);
    return CheckGone();
  }

 private:
  // Renames the key back under its own name; when that is taken, says where it stays.
  Removal PutBack(platform::RegKey entry, const std::string& set_aside) {
    if (system_.registry.RenameKey(entry, program_.key_name) == platform::kRegOk) {
      if (per_user_) DeleteRemovalNote(system_.registry, set_aside);
      return result_;
    }
    result_.outcome = RemovalOutcome::kLeftAside;
    result_.key_path =
        EntryKeyPath(program_.view, system_.registry.HasSeparate64BitView(), set_aside);
    if (!copied_) result_.copy_path.clear();
    return result_;
  }

  // The set-aside key must be gone; the entry's own name may hold a key written meanwhile.
  // The set-aside key was deleted through its own handle, so it is gone; a new key under the
  // entry's own name may have been written meanwhile.
  Removal CheckGone() {
    platform::UniqueRegKey fresh(system_.registry);
    const RegResult own = system_.registry.OpenKeyItself(
        key_.root, key_.path, platform::kKeyRead | key_.view_access, fresh.put());
    result_.outcome = own == platform::kRegNotFound ? RemovalOutcome::kRemoved
                      : own == platform::kRegOk     ? RemovalOutcome::kRewritten
                                                    : RemovalOutcome::kNotKnown;
    result_.reason.clear();
    return result_;
  }

  // What the user said yes to is what goes.
  bool AsAsked() {
    if (!asked_ || KeyDigest(before_) == *asked_) return true;
    Failed(RemovalOutcome::kChanged, {});
    return false;
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
    if (!fixed_copy_path_.empty()) {
      result_.copy_path = fixed_copy_path_;
      const platform::FileError error = system_.files.WriteNewFile(result_.copy_path, *bytes);
      written_ = error == platform::kFileOk;
      if (!written_) return NotCopiedAs(error);
      return ReadBack(*bytes);
    }
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
    return written_ || NotCopiedAs(error);
  }

  // A file that failed to be made was never ours to delete; one half written is.
  bool NotCopiedAs(platform::FileError error) {
    if (error != platform::kFileErrorExists) system_.files.RemoveFile(result_.copy_path);
    return NotCopied(Words(error, result_.copy_path));
  }

  // A copy that differs from what was written, or that the strict reader of copies does not
  // give back as the key it was read from, is deleted again.
  bool ReadBack(const std::vector<std::uint8_t>& bytes) {
    std::vector<std::uint8_t> read_back;
    const auto error = system_.files.ReadWholeFile(result_.copy_path, bytes.size(), read_back);
    if (error == platform::kFileOk && read_back == bytes && ReadsBackAsTheKey(read_back)) {
      return true;
    }
    system_.files.RemoveFile(result_.copy_path);
    return NotCopied(error != platform::kFileOk ? Words(error, result_.copy_path)
                                                : std::string(kCopyDiffersReason));
  }

  bool ReadsBackAsTheKey(const std::vector<std::uint8_t>& file) const {
    const RegFileRead read = ReadRegFile(file);
    return read.ok() && read.path == full_path_ && read.key == before_;
  }

  // The entry's own key read again, itself: a link left in its place is no removal.
  Removal Check() {
    CopiedKey after;
    const RegResult read = ReadEntryCopy(system_.registry, program_.view, program_.key_name, after);
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
  const std::string fixed_copy_path_;  // empty: a new copy in the user's folder
  const std::optional<std::uint64_t> asked_;
  const bool per_user_ = program_.view == EntryView::kUser;
  const EntryKeyPlace key_;
  const std::string full_path_;  // as a .reg file names it
  CopiedKey before_;
  bool written_ = false;  // the copy's file was made, and is ours to delete
  bool copied_ = false;   // and read back as written
  Removal result_;
};

}  // namespace

platform::RegResult ReadEntryCopy(platform::RawRegistry& registry, EntryView view,
                                  const std::string& key_name, CopiedKey& entry) {
  const EntryKeyPlace place = KeyPlaceOf(view, key_name);
  const RegResult read =
      ReadKeyCopy(registry, place.root, place.path, platform::kKeyRead | place.view_access, entry);
  entry.name = key_name;
  return read;
}

Removal RemoveEntry(const ProgramEntry& program, const RemovalSystem& system,
                    std::optional<std::uint64_t> asked) {
  if (program.view != EntryView::kUser) return RemoveThroughElevatedStep(program, system, asked);
  return RemoveEntryHere(program, system, {}, asked);
}

Removal RemoveEntryHere(const ProgramEntry& program, const RemovalSystem& system,
                        const std::string& copy_path, std::optional<std::uint64_t> asked) {
  return Remover(program, system, copy_path, asked).Run();
}

}  // namespace app
