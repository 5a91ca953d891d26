// Taking items away whole on the real platform: moves and deletes that change only what they
// may, bytes copied, hashed and appended as they are, and no link ever followed.

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include <tuple>

#include "platform/sha256.h"
#include "platform/win32/file_store.h"
#include "platform/win32/lookup.h"
#include "platform/win32/utf.h"
#include "test_support.h"

namespace {

using platform::FileError;
using platform::kFileOk;
constexpr const char* kOtherVolume = "Z:\\dev\\shm\\tapwise-moved";
enum class Op { kMove, kCopy, kDelete, kAppend, kHash, kStreams };

bool IsLink(const std::filesystem::path& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// A host program under Wine, given host paths: Wine runs it without a process to wait for, so
// the caller waits for what it does.
void RunOnHost(std::wstring command, std::initializer_list<std::filesystem::path> paths) {
  using UnixName = char*(__cdecl*)(LPCWSTR);  // a Wine export, not WINAPI
  const auto unix_name =
      win32::LookUp<UnixName>(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name");
  for (const std::filesystem::path& path : paths) {
    char* name = unix_name != nullptr ? unix_name(path.c_str()) : nullptr;
    if (name == nullptr) return;
    command += L" " + win32::Utf8ToWide(name);
    ::HeapFree(::GetProcessHeap(), 0, name);
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION started{};
  if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &started)) {
    return;
  }
  const win32::UniqueKernelHandle process(started.hProcess), thread(started.hThread);
}

class ItemMovesTest : public ::testing::Test {
 protected:
  std::filesystem::path Path(const std::string& name) const { return dir_.path() / name; }
  std::string At(const std::string& name) const { return win32::WideToUtf8(Path(name).wstring()); }
  // Files, and folders where a name ends in a backslash, named in one line.
  void Put(const std::string& names, const std::string& bytes = "x") const {
    std::istringstream list(names);
    for (std::string name; list >> name;) {
      std::filesystem::create_directories(Path(name).parent_path());
      if (!name.ends_with('\\')) std::ofstream(Path(name), std::ios::binary) << bytes;
    }
  }
  bool Exists(const std::string& name) const { return std::filesystem::exists(Path(name)); }
  std::string Read(const std::string& name) const { return win32_test::ReadFile(Path(name)); }
  FileError Run(Op op, const std::string& from, const std::string& to = "") {
    std::string hash;
    bool has = false;
    switch (op) {
      case Op::kMove:
        return files_.MoveItem(At(from), At(to));
      case Op::kCopy:
        return files_.CopyFileBytes(At(from), At(to));
      case Op::kDelete:
        return files_.DeleteItem(At(from));
      case Op::kAppend:
        return files_.AppendFlushed(At(from), "more");
      case Op::kHash:
        return files_.HashFile(At(from), hash);
      case Op::kStreams:
        return files_.HasAlternateStreams(At(from), has);
    }
    return ERROR_INVALID_FUNCTION;
  }

  // A link to a folder: the system's own where it makes one (Wine 8's CreateSymbolicLinkW says
  // it did and makes nothing), else under Wine the host's, which Wine opens as its target.
  enum class Link { kNone, kSystem, kHost };
  Link MakeFolderLink(const std::string& link, const std::string& target) {
    const DWORD flags = SYMBOLIC_LINK_FLAG_DIRECTORY | SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE;
    if (::CreateSymbolicLinkW(Path(link).c_str(), Path(target).c_str(), flags) &&
        IsLink(Path(link))) {
      return Link::kSystem;
    }
    RunOnHost(L"Z:\\bin\\ln -s", {Path(target), Path(link)});
    if (!win32_test::WaitFor([&] { return IsLink(Path(link)); }, kHostWait)) return Link::kNone;
    host_link_ = link;
    return Link::kHost;
  }
  // Wine takes the host's link away only through the host.
  void TearDown() override {
    if (host_link_.empty()) return;
    RunOnHost(L"Z:\\bin\\rm", {Path(host_link_)});
    win32_test::WaitFor([&] { return !IsLink(Path(host_link_)); }, kHostWait);
  }

  static constexpr auto kHostWait = std::chrono::milliseconds(3000);
  win32_test::ScratchDir dir_;
  win32::FileStore files_;
  std::string host_link_;
};

TEST_F(ItemMovesTest, MovesAndDeletesChangeOnlyWhatTheyMay) {
  // The tree before, the call, its result, and what is there afterwards and what is not.
  const std::tuple<const char*, Op, const char*, const char*, FileError, const char*, const char*>
      cases[] = {
          {"a", Op::kMove, "a", "b", kFileOk, "b", "a"},
          {"d\\x d\\e\\y", Op::kMove, "d", "m", kFileOk, "m\\x m\\e\\y", "d"},
          {"a b", Op::kMove, "a", "b", platform::kFileErrorAlreadyExists, "a b", ""},
          {"", Op::kMove, "a", "b", platform::kFileErrorNotFound, "", "b"},
          // Wine's Z:\dev\shm is a tmpfs of the host's: another volume, as a rename sees it.
          {"a", Op::kMove, "a", kOtherVolume, platform::kFileErrorNotSameDevice, "a", kOtherVolume},
          {"a", Op::kDelete, "a", "", kFileOk, "", "a"},
          {"d\\", Op::kDelete, "d", "", kFileOk, "", "d"},
          {"d\\x", Op::kDelete, "d", "", platform::kFileErrorNotEmpty, "d\\x", ""},
          {"a b", Op::kCopy, "a", "b", platform::kFileErrorExists, "a b", ""},
          {"d\\x", Op::kCopy, "d", "c", platform::kFileErrorAccessDenied, "d\\x", "c"},
          {"", Op::kAppend, "a", "", platform::kFileErrorNotFound, "", "a"},
      };
  for (const auto& [tree, op, from, to, expected, present, absent] : cases) {
    SCOPED_TRACE(std::string(tree) + " / " + from + " / " + to);
    std::filesystem::remove_all(dir_.path());
    std::filesystem::create_directories(dir_.path());
    Put(tree);
    EXPECT_EQ(Run(op, from, to), expected);
    std::istringstream present_names(present), absent_names(absent);
    for (std::string name; present_names >> name;) EXPECT_TRUE(Exists(name)) << name;
    for (std::string name; absent_names >> name;) EXPECT_FALSE(Exists(name)) << name;
  }
}

TEST_F(ItemMovesTest, BytesAreCopiedHashedAndAppendedAsTheyAre) {
  Put("abc", "abc");
  std::string hash;
  ASSERT_EQ(files_.HashFile(At("abc"), hash), kFileOk);
  EXPECT_EQ(hash, "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  // More than one piece of reading, and not a whole number of them.
  const std::string big = std::string(200'000, 'q') + "end";
  Put("big", big);
  ASSERT_EQ(files_.CopyFileBytes(At("big"), At("copy")), kFileOk);
  EXPECT_TRUE(Read("copy") == big);  // not printed: it is long
  ASSERT_EQ(files_.HashFile(At("copy"), hash), kFileOk);
  EXPECT_EQ(hash, platform::Sha256Hex(big));
  ASSERT_EQ(files_.AppendFlushed(At("abc"), "def"), kFileOk);
  EXPECT_EQ(Read("abc"), "abcdef");
  bool has = true;
  EXPECT_EQ(files_.HasAlternateStreams(At("abc"), has), kFileOk);
  EXPECT_FALSE(has);
  EXPECT_EQ(files_.HasAlternateStreams(At("none"), has), platform::kFileErrorNotFound);
}

TEST_F(ItemMovesTest, NoLinkIsFollowedOnTheWayOrAtTheEnd) {
  Put("target\\x", "keep");
  Put("a", "a");
  const Link link = MakeFolderLink("link", "target");
  if (link == Link::kNone) GTEST_SKIP() << "no folder link can be made here";
  const std::tuple<Op, const char*, const char*> through_link[] = {
      {Op::kMove, "link\\x", "moved"}, {Op::kMove, "a", "link\\moved"},
      {Op::kCopy, "link\\x", "copy"},  {Op::kCopy, "a", "link\\copy"},
      {Op::kHash, "link\\x", ""},      {Op::kDelete, "link\\x", ""},
      {Op::kStreams, "link\\x", ""},   {Op::kAppend, "link\\x", ""},
  };
  for (const auto& [op, from, to] : through_link) {
    EXPECT_EQ(Run(op, from, to), platform::kFileErrorStoppedOnLink) << from << " " << to;
  }
  EXPECT_EQ(Read("target\\x"), "keep");
  for (const char* made : {"moved", "copy", "target\\moved", "target\\copy"}) {
    EXPECT_FALSE(Exists(made)) << made;
  }
  EXPECT_TRUE(Exists("a"));
  // The link itself moves as a link; a host link, which Wine opens as its target, is refused.
  const FileError moved = Run(Op::kMove, "link", "link2");
  EXPECT_EQ(moved, link == Link::kSystem ? kFileOk : platform::kFileErrorStoppedOnLink);
  EXPECT_EQ(moved == kFileOk, IsLink(Path("link2")));
  EXPECT_EQ(Read("target\\x"), "keep");
}

}  // namespace
