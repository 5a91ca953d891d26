#pragma once

// Files in memory, with folders, a clock that stands still unless moved, and the faults a test
// needs: a folder that cannot be made or written in, and a file that reads back changed.

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_store.h"

namespace sim {

inline constexpr std::string_view kLocalAppData = "C:\\Users\\user\\AppData\\Local";
inline constexpr std::string_view kProgramData = "C:\\ProgramData";
// Where the substitute says the program itself is, installed for everyone.
inline constexpr std::string_view kOwnProgramFolder = "C:\\Program Files\\Tapwise Uninstaller";
inline constexpr std::string_view kOwnProgramFile =
    "C:\\Program Files\\Tapwise Uninstaller\\TapwiseUninstaller.exe";
// What the substitute says of a folder whose security no test set: the administrators own it,
// and users may read it.
inline constexpr std::string_view kDefaultSecurity =
    "O:BAD:PAI(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)";

// The folders the substitute names as the system's known ones, "|" between them.
inline constexpr std::string_view kKnownFolders =
    "C:\\Users\\user\\Desktop|C:\\Users\\user\\Documents|C:\\Users\\user\\Downloads|"
    "C:\\Users\\user\\AppData\\Roaming|C:\\Users\\user\\AppData\\Local|C:\\Users\\user|"
    "C:\\Users\\Public|C:\\Users\\Public\\Desktop|C:\\Users|C:\\ProgramData|"
    "C:\\Program Files|C:\\Program Files (x86)|C:\\Program Files\\Common Files|"
    "C:\\Program Files (x86)\\Common Files|C:\\Windows|"
    "C:\\Users\\user\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu|"
    "C:\\ProgramData\\Microsoft\\Windows\\Start Menu|C:\\Users\\user\\AppData\\Local\\Temp";

class FileStore final : public platform::FileStore {
 public:
  std::string LocalAppDataFolder() override { return local_app_data_; }
  platform::FileError CreateFolders(const std::string& path) override;
  platform::FileError WriteNewFile(const std::string& path,
                                   const std::vector<std::uint8_t>& bytes) override;
  platform::FileError ReadWholeFile(const std::string& path, std::size_t limit,
                                    std::vector<std::uint8_t>& bytes) override;
  platform::FileError RemoveFile(const std::string& path) override;
  platform::FileError RemoveEmptyFolder(const std::string& path) override;
  platform::FileError MoveReplacing(const std::string& from, const std::string& to) override;
  platform::LocalTime Now() override { return now_; }
  std::string ProgramDataFolder() override { return program_data_; }
  platform::PathKind KindOf(const std::string& path) override;
  std::string SecurityText(const std::string& path) override;
  platform::FileError CreateSecuredFolder(const std::string& path,
                                          const std::string& security) override;
  platform::FileError ListFolder(const std::string& path, std::size_t limit,
                                 std::vector<platform::FolderItem>& items) override;
  std::vector<std::string> KnownFolders() override { return known_folders_; }
  ShortcutPlaces ShortcutFolders() override {
    return {{"C:\\Users\\user\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu",
             "C:\\ProgramData\\Microsoft\\Windows\\Start Menu"},
            {"C:\\Users\\user\\Desktop", "C:\\Users\\Public\\Desktop"}};
  }
  std::optional<std::string> LongPath(const std::string& path) override;
  platform::FileError MoveItem(const std::string& from, const std::string& to) override;
  platform::FileError CopyFileBytes(const std::string& from, const std::string& to) override;
  platform::FileError HashFile(const std::string& path, std::string& hash) override;
  platform::FileError DeleteItem(const std::string& path) override;
  platform::FileError HasAlternateStreams(const std::string& path, bool& has) override;
  platform::FileError AppendFlushed(const std::string& path, std::string_view bytes) override;

  // The ways an item is taken away, for a test to make one fail.
  enum class Operation : std::uint8_t { kMove, kCopy, kHash, kDelete, kAppend, kWrite };
  // From the nth call on (the first is 1), the operation fails with the error; a crash
  // instead throws Crashed, as if the program had ended there.
  void FailFrom(Operation operation, std::size_t nth, platform::FileError error) {
    failures_[operation] = {calls_[operation] + nth, error, false};
  }
  void CrashAt(Operation operation, std::size_t nth) {
    failures_[operation] = {calls_[operation] + nth, 0, true};
  }
  struct Crashed {};
  // A file with a named stream besides its data.
  void PutAlternateStream(const std::string& path) { streams_.insert(Key(path)); }
  // A file as someone else changed it, bypassing every rule.
  void ChangeFile(const std::string& path, std::vector<std::uint8_t> bytes);

  void SetKnownFolders(std::vector<std::string> folders) { known_folders_ = std::move(folders); }
  // A short 8.3 path that the long one answers to.
  void SetShortPath(const std::string& short_path, std::string long_path) {
    short_paths_[Key(short_path)] = std::move(long_path);
  }

  void SetLocalAppData(std::string folder) { local_app_data_ = std::move(folder); }
  void SetNow(platform::LocalTime now) { now_ = now; }
  // Making this folder, or a file in it, fails with access denied.
  void DenyWrites(const std::string& folder) { denied_.insert(Key(folder)); }
  // A folder as someone else left it: with that security, or as a reparse point.
  void PutFolder(const std::string& path, std::string security);
  // What any path, there or not, reports as its security from now on.
  void SetSecurity(const std::string& path, std::string security) {
    security_[Key(path)] = std::move(security);
  }
  void PutReparsePoint(const std::string& path) { reparse_points_.insert(Key(path)); }
  // Security given to a folder is reported as this instead, as by a system that keeps none.
  void IgnoreGivenSecurity(std::string reported) { reported_security_ = std::move(reported); }
  // Every file written from now on reads back with its last byte changed.
  void CorruptReads(bool corrupt) { corrupt_reads_ = corrupt; }

  // The files as written, by path as given.
  const std::map<std::string, std::vector<std::uint8_t>>& Files() const { return files_; }
  bool FolderExists(const std::string& path) const { return folders_.count(Key(path)) != 0; }

 private:
  static std::string Key(const std::string& path);
  static std::string Parent(const std::string& path);
  static std::vector<std::string> DefaultKnownFolders();
  static bool SameDrive(const std::string& a, const std::string& b);
  // The error for this call of the operation, counting it; throws Crashed for a crash.
  platform::FileError Injected(Operation operation);
  // kFileErrorStoppedOnLink when a folder above the path is a reparse point.
  platform::FileError ThroughLink(const std::string& path) const;
  std::map<std::string, std::vector<std::uint8_t>>::iterator FindFile(const std::string& path);
  void Rename(const std::string& from, const std::string& to);

  struct Failure {
    std::size_t from_call = 0;
    platform::FileError error = 0;
    bool crash = false;
  };
  std::map<Operation, std::size_t> calls_;
  std::map<Operation, Failure> failures_;
  std::set<std::string> streams_;

  std::string local_app_data_ = std::string(kLocalAppData);
  platform::LocalTime now_{2026, 12, 7, 21, 30, 5};
  std::string program_data_ = std::string(kProgramData);
  std::set<std::string> folders_{Key(std::string(kProgramData))};
  std::set<std::string> reparse_points_;
  std::map<std::string, std::string> spelled_;  // each folder as it was made, by Key(path)
  std::map<std::string, std::string> short_paths_;
  std::vector<std::string> known_folders_ = DefaultKnownFolders();
  // By Key(path), where a test or a make set it; the program's own file and folder are there.
  std::map<std::string, std::string> security_{
      {Key(std::string(kOwnProgramFolder)), std::string(kDefaultSecurity)},
      {Key(std::string(kOwnProgramFile)), std::string(kDefaultSecurity)}};
  std::optional<std::string> reported_security_;
  std::set<std::string> denied_;
  std::map<std::string, std::vector<std::uint8_t>> files_;
  bool corrupt_reads_ = false;
};

}  // namespace sim
