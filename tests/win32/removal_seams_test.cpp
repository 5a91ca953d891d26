// What removing an orphaned entry asks of the real platform: a key read exactly as stored, its
// value names, a subtree deleted; the program's own files. Its elevated start is start_test's.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/registry.h"
#include "platform/win32/file_dates.h"
#include "platform/win32/file_store.h"
#include "platform/win32/registry.h"
#include "platform/win32/utf.h"
#include "test_support.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

class RemovalSeamsTest : public ::testing::Test {
 protected:
  void TearDown() override {
    win32_test::UniqueKey software;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_ALL_ACCESS, software.put()) ==
        ERROR_SUCCESS) {
      ::RegDeleteTreeW(software.get(), scratch_.c_str());
    }
  }

  platform::UniqueRegKey Scratch() {
    platform::UniqueRegKey key(raw_);
    EXPECT_EQ(raw_.CreateKey(platform::kHkeyCurrentUser, win32::WideToUtf8(path_),
                             platform::kKeyAllAccess, key.put()),
              platform::kRegOk);
    return key;
  }

  // A guard after the data: RegSetValueExW would count a text's missing terminator when the
  // character after the data is zero (registry_test.cpp).
  void SetRaw(HKEY key, const wchar_t* name, DWORD type, const Bytes& data) {
    Bytes guarded = data;
    guarded.insert(guarded.end(), {'?', '?', '?'});
    ASSERT_EQ(::RegSetValueExW(key, name, 0, type, guarded.data(), static_cast<DWORD>(data.size())),
              ERROR_SUCCESS);
  }

  win32::Registry raw_;
  const std::wstring scratch_ = win32_test::UniqueName(L"TapwiseRemoval");
  const std::wstring path_ = L"Software\\" + scratch_;
};

// Whatever is stored comes back byte for byte: odd counts, text without its terminator.
TEST_F(RemovalSeamsTest, StoredValuesComeBackExactlyWithTheirNames) {
  const platform::UniqueRegKey key = Scratch();
  const HKEY hkey = reinterpret_cast<HKEY>(key.get());
  const struct {
    const wchar_t* name;
    DWORD type;
    Bytes data;
  } cases[] = {
      {L"", REG_SZ, {'d', 0, 0, 0}},
      {L"Odd", REG_SZ, {'a', 0, 'b'}},
      {L"NoTerminator", REG_EXPAND_SZ, {'%', 0, 'A', 0}},
      {L"Multi", REG_MULTI_SZ, {'a', 0, 0, 0, 0, 0}},
      {L"Short", REG_DWORD, {1, 2, 3}},
      {L"\u0418\u043C\u044F \"q\"", REG_BINARY, {0xFF}},
      {L"Big", REG_BINARY, Bytes(win32::Registry::kFirstReadSize + 3, 0x5A)},
  };
  for (const auto& c : cases) SetRaw(hkey, c.name, c.type, c.data);
  std::vector<std::string> names;
  std::string name;
  for (std::uint32_t index = 0; raw_.EnumValueName(key.get(), index, name) == ERROR_SUCCESS;
       ++index) {
    names.push_back(name);
  }
  EXPECT_EQ(names.size(), std::size(cases));
  for (const auto& c : cases) {
    const std::string utf8 = win32::WideToUtf8(c.name);
    SCOPED_TRACE(utf8);
    EXPECT_NE(std::find(names.begin(), names.end(), utf8), names.end());
    std::uint32_t type = 0;
    Bytes data;
    ASSERT_EQ(raw_.ReadStoredValue(key.get(), utf8, SIZE_MAX, type, data), platform::kRegOk);
    EXPECT_EQ(type, c.type);
    EXPECT_EQ(data, c.data);
  }
}

TEST_F(RemovalSeamsTest, DeleteTreeTakesTheNamedSubkeyWithEverythingUnderIt) {
  const platform::UniqueRegKey key = Scratch();
  platform::UniqueRegKey deep(raw_);
  ASSERT_EQ(raw_.CreateKey(key.get(), "Entry\\Sub\\Deeper", platform::kKeyAllAccess, deep.put()),
            platform::kRegOk);
  platform::UniqueRegKey sibling(raw_);
  ASSERT_EQ(raw_.CreateKey(key.get(), "Sibling", platform::kKeyAllAccess, sibling.put()),
            platform::kRegOk);
  EXPECT_EQ(raw_.DeleteTree(key.get(), "Entry"), platform::kRegOk);
  EXPECT_EQ(raw_.DeleteTree(key.get(), "Entry"), platform::kRegNotFound);
  EXPECT_NE(raw_.DeleteTree(key.get(), ""), platform::kRegOk) << "never the key itself";
  std::uint32_t subkeys = 0;
  ASSERT_EQ(raw_.QueryInfoKey(key.get(), subkeys), platform::kRegOk);
  EXPECT_EQ(subkeys, 1u);
}

// A handle follows its key through a rename; a taken name refuses it; a key goes by its handle.
TEST_F(RemovalSeamsTest, RenameFollowsTheHandleAndDeleteTakesTheOpenKeyAlone) {
  const platform::UniqueRegKey key = Scratch();
  platform::UniqueRegKey entry(raw_);
  ASSERT_EQ(raw_.CreateKey(key.get(), "Entry\\Sub", platform::kKeyAllAccess, entry.put()),
            platform::kRegOk);
  ASSERT_EQ(raw_.OpenKeyItself(key.get(), "Entry", platform::kKeyAllAccess, entry.put()),
            platform::kRegOk);
  platform::UniqueRegKey taken(raw_);
  ASSERT_EQ(raw_.CreateKey(key.get(), "Taken", platform::kKeyAllAccess, taken.put()),
            platform::kRegOk);
  EXPECT_EQ(raw_.RenameKey(entry.get(), "Taken"), platform::kRegAccessDenied);
  ASSERT_EQ(raw_.RenameKey(entry.get(), "Aside"), platform::kRegOk);
  EXPECT_EQ(raw_.SetValue(entry.get(), "V", platform::kRegBinary, Bytes(9).data(), 9),
            platform::kRegOk);
  std::uint32_t type = 0;
  Bytes data;
  EXPECT_EQ(raw_.ReadStoredValue(entry.get(), "V", 8, type, data), platform::kRegMoreData);
  EXPECT_NE(raw_.DeleteOpenKey(entry.get()), platform::kRegOk) << "a subkey is left";
  platform::UniqueRegKey sub(raw_);
  ASSERT_EQ(raw_.OpenKeyItself(entry.get(), "Sub", platform::kKeyAllAccess, sub.put()),
            platform::kRegOk);
  EXPECT_EQ(raw_.DeleteOpenKey(sub.get()), platform::kRegOk);
  EXPECT_EQ(raw_.DeleteOpenKey(entry.get()), platform::kRegOk);
  platform::UniqueRegKey gone(raw_);
  EXPECT_EQ(raw_.OpenKey(key.get(), "Aside", platform::kKeyRead, gone.put()),
            platform::kRegNotFound);
}

// Only a volume that answers can say a file is not there.
TEST(FileDates, NotFoundOnlyFromAVolumeThatAnswers) {
  win32::FileDates files;
  EXPECT_TRUE(platform::IsSurelyMissing(files.FindFile("C:\\no such folder\\u.exe")));
  const std::uint32_t share = files.FindFile("\\\\nohost\\share\\uninst.exe");
  EXPECT_NE(share, platform::kFileFound);
  EXPECT_FALSE(platform::IsSurelyMissing(share)) << share;
}

TEST(FileStore, FoldersNewFilesAndReadingBack) {
  const win32_test::ScratchDir dir;
  win32::FileStore files;
  EXPECT_FALSE(files.LocalAppDataFolder().empty());
  // Only a drive's folder is taken: a drive-relative one would lie wherever the current folder is.
  wchar_t saved[MAX_PATH];
  const DWORD saved_length = ::GetEnvironmentVariableW(L"LOCALAPPDATA", saved, MAX_PATH);
  ASSERT_TRUE(saved_length > 0 && saved_length < MAX_PATH);
  for (const wchar_t* relative : {L"C:foo", L"\\Users\\u", L"AppData"}) {
    ::SetEnvironmentVariableW(L"LOCALAPPDATA", relative);
    EXPECT_EQ(files.LocalAppDataFolder(), "");
  }
  ::SetEnvironmentVariableW(L"LOCALAPPDATA", saved);
  const std::string folder = win32::WideToUtf8(dir.path().wstring()) + "\\a b\\\u00e9\\c";
  ASSERT_EQ(files.CreateFolders(folder), platform::kFileOk);
  EXPECT_EQ(files.CreateFolders(folder + "\\"), platform::kFileOk) << "already there";
  const std::string file = folder + "\\copy 2026-01-02 03-04-05.reg";
  const Bytes bytes = {0xFF, 0xFE, 'A', 0};
  ASSERT_EQ(files.WriteNewFile(file, bytes), platform::kFileOk);
  EXPECT_EQ(files.WriteNewFile(file, {1}), platform::kFileErrorExists);
  Bytes read;
  ASSERT_EQ(files.ReadWholeFile(file, bytes.size(), read), platform::kFileOk);
  EXPECT_EQ(read, bytes);
  EXPECT_EQ(files.ReadWholeFile(file, bytes.size() - 1, read), platform::kFileErrorTooLarge);
  // A file where a folder should be: the folder cannot be made.
  EXPECT_NE(files.CreateFolders(file + "\\x"), platform::kFileOk);
  EXPECT_EQ(files.RemoveFile(file), platform::kFileOk);
  EXPECT_NE(files.ReadWholeFile(file, 10, read), platform::kFileOk);
  const platform::LocalTime now = files.Now();
  EXPECT_GE(now.year, 2020);
}

}  // namespace
