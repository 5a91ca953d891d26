#pragma once

#include "platform/file_store.h"

namespace win32 {

// Files through the wide Win32 calls; the local application data folder as %LOCALAPPDATA% names it.
class FileStore : public platform::FileStore {
 public:
  std::string LocalAppDataFolder() override;
  platform::FileError CreateFolders(const std::string& path) override;
  platform::FileError WriteNewFile(const std::string& path,
                                   const std::vector<std::uint8_t>& bytes) override;
  platform::FileError ReadWholeFile(const std::string& path, std::size_t limit,
                                    std::vector<std::uint8_t>& bytes) override;
  platform::FileError RemoveFile(const std::string& path) override;
  platform::FileError RemoveEmptyFolder(const std::string& path) override;
  platform::FileError MoveReplacing(const std::string& from, const std::string& to) override;
  platform::LocalTime Now() override;
  // In file_security.cpp.
  std::string ProgramDataFolder() override;
  platform::PathKind KindOf(const std::string& path) override;
  std::string SecurityText(const std::string& path) override;
  platform::FileError CreateSecuredFolder(const std::string& path,
                                          const std::string& security) override;
  // In file_listing.cpp.
  platform::FileError ListFolder(const std::string& path, std::size_t limit,
                                 std::vector<platform::FolderItem>& items) override;
  std::vector<std::string> KnownFolders() override;
  ShortcutPlaces ShortcutFolders() override;
  std::optional<std::string> LongPath(const std::string& path) override;
  // In item_moves.cpp.
  platform::FileError MoveItem(const std::string& from, const std::string& to) override;
  platform::FileError CopyFileBytes(const std::string& from, const std::string& to) override;
  platform::FileError HashFile(const std::string& path, std::string& hash) override;
  platform::FileError DeleteItem(const std::string& path) override;
  platform::FileError HasAlternateStreams(const std::string& path, bool& has) override;
  platform::FileError AppendFlushed(const std::string& path, std::string_view bytes) override;
};

}  // namespace win32
