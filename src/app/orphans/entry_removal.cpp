#include "app/orphans/entry_removal.h"

#include "app/copies/copy_file_name.h"
#include "app/copies/key_copy.h"
#include "app/copies/reg_file.h"
#include "app/entry/entry_key.h"
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

RegResult ReadEntry(platform::RawRegistry& registry, const EntryKeyPlace& key, CopiedKey& copy) {
  return ReadKeyCopy(registry, key.root, key.path, platform::kKeyRead | key.view_access, copy);
}

class Remover {
 public:
  Remover(const ProgramEntry& program, const RemovalSystem& system)
      : program_(program), system_(system), key_(KeyPlaceOf(program)) {}

  Removal Run() {
    const bool per_machine = program_.view != EntryView::kUser;
    if (program_.key_name.empty()) return Failed(RemovalOutcome::kNotRead, {});
    if (per_machine && !IsSafeForRegExe(program_.key_name)) {
      return Failed(RemovalOutcome::kNameRefused, {});
    }
    if (const RegResult read = ReadEntry(system_.registry, key_, before_);
        read != platform::kRegOk) {
      return Failed(RemovalOutcome::kNotRead, Words(static_cast<std::uint32_t>(read), key_.path));
    }
    if (!WriteCopy()) return result_;
    result_.reason = per_machine ? DeletePerMachine() : DeletePerUser();
    if (result_.outcome == RemovalOutcome::kNotKnown) return result_;
    return Check();
  }

 private:
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

  // Writes the copy and reads it back; a copy that differs is deleted again.
  bool WriteCopy() {
    const auto bytes = RegFileBytes(
        before_,
        EntryKeyPath(program_.view, system_.registry.HasSeparate64BitView(), program_.key_name));
    if (!bytes) return NotCopied(std::string(kUnwritableNameReason));
    const std::string folder = CopyFolder(system_.files.LocalAppDataFolder());
    if (folder.empty()) return NotCopied({});
    result_.copy_path = CopyFilePath(folder, program_.name, system_.files.Now());
    if (result_.copy_path.empty()) return NotCopied({});
    if (const auto error = system_.files.CreateFolders(folder); error != platform::kFileOk) {
      return NotCopied(Words(error, folder));
    }
    if (const auto error = system_.files.WriteNewFile(result_.copy_path, *bytes);
        error != platform::kFileOk) {
      // CREATE_NEW: a file that failed to be made was never ours to delete; one half written is.
      if (error != platform::kFileErrorExists) system_.files.RemoveFile(result_.copy_path);
      return NotCopied(Words(error, result_.copy_path));
    }
    std::vector<std::uint8_t> read_back;
    const auto error = system_.files.ReadWholeFile(result_.copy_path, bytes->size(), read_back);
    if (error != platform::kFileOk || read_back != *bytes) {
      system_.files.RemoveFile(result_.copy_path);
      return NotCopied(error != platform::kFileOk ? Words(error, result_.copy_path)
                                                  : std::string(kCopyDiffersReason));
    }
    return true;
  }

  // RegDeleteTree on the Uninstall key, which is one key in both views, naming the entry.
  std::string DeletePerUser() {
    const EntryKeyPlace place = UninstallKeyPlace(EntryView::kUser);
    platform::UniqueRegKey uninstall(system_.registry);
    RegResult result =
        system_.registry.OpenKey(place.root, place.path, platform::kKeyAllAccess, uninstall.put());
    if (result == platform::kRegOk) {
      result = system_.registry.DeleteTree(uninstall.get(), program_.key_name);
    }
    return result == platform::kRegOk ? std::string{}
                                      : Words(static_cast<std::uint32_t>(result), key_.path);
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

  Removal Check() {
    CopiedKey after;
    const RegResult read = ReadEntry(system_.registry, key_, after);
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
  CopiedKey before_;
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
