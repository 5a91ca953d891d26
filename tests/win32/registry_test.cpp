// TRegistry over the real registry, in a scratch key of its own under HKCU\Software and
// HKLM\SOFTWARE, removed again at the end.

#include "platform/win32/registry.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/registry.h"
#include "platform/win32/handles.h"
#include "platform/win32/utf.h"
#include "test_support.h"

namespace {

using platform::kHkeyCurrentUser;
using platform::kHkeyLocalMachine;
using platform::kKeyAllAccess;
using platform::kKeyWow64_64Key;
using platform::TRegistry;

constexpr REGSAM kView64 = KEY_WOW64_64KEY;
constexpr REGSAM kDefaultView = 0;

// Opens root\path in a view with the raw API; empty when it does not exist.
win32_test::UniqueKey OpenRaw(HKEY root, const std::wstring& path, REGSAM view) {
  win32_test::UniqueKey key;
  if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_ALL_ACCESS | view, key.put()) != ERROR_SUCCESS) {
    return {};
  }
  return key;
}

bool KeyExists(HKEY root, const std::wstring& path, REGSAM view = kDefaultView) {
  return static_cast<bool>(OpenRaw(root, path, view));
}

void DeleteTree(HKEY root, const std::wstring& parent, const std::wstring& name, REGSAM view) {
  const win32_test::UniqueKey key = OpenRaw(root, parent, view);
  if (key) ::RegDeleteTreeW(key.get(), name.c_str());
}

std::string Utf8(const std::wstring& wide) {
  return win32::WideToUtf8(wide);
}

// The path from the root, as TRegistry spells it.
std::string Absolute(const std::wstring& path) {
  std::string absolute = "\\";
  absolute += Utf8(path);
  return absolute;
}

class RegistryTest : public ::testing::Test {
 protected:
  void TearDown() override {
    DeleteTree(HKEY_CURRENT_USER, L"Software", scratch_, kDefaultView);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, user_path_));
  }

  // Writes a value with the raw wide API, bypassing the seam. RegSetValueExW counts a text's
  // terminator that the size leaves out when the character after the data is zero: a guard
  // after the data keeps the value exactly as given, and keeps that look inside the buffer.
  void SetRaw(const std::wstring& name, DWORD type, const void* data, DWORD size) {
    const win32_test::UniqueKey key = OpenRaw(HKEY_CURRENT_USER, user_path_, kDefaultView);
    ASSERT_TRUE(key);
    std::vector<BYTE> guarded(static_cast<const BYTE*>(data),
                              static_cast<const BYTE*>(data) + size);
    guarded.insert(guarded.end(), {'?', '?', '?'});
    ASSERT_EQ(::RegSetValueExW(key.get(), name.c_str(), 0, type, guarded.data(), size),
              ERROR_SUCCESS);
  }

  // Reads a value with the raw wide API: its type and bytes as stored.
  std::vector<BYTE> GetRaw(const std::wstring& name, DWORD& type) {
    const win32_test::UniqueKey key = OpenRaw(HKEY_CURRENT_USER, user_path_, kDefaultView);
    DWORD size = 0;
    if (!key || ::RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, nullptr, &size) !=
                    ERROR_SUCCESS) {
      return {};
    }
    std::vector<BYTE> bytes(size);
    ::RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, bytes.data(), &size);
    return bytes;
  }

  // A TRegistry with the scratch key open, created if need be.
  void OpenScratch(TRegistry& registry) {
    ASSERT_TRUE(registry.OpenPath(Absolute(user_path_), platform::IfMissing::kCreate));
  }

  win32::Registry raw_;
  const std::wstring scratch_ = win32_test::UniqueName(L"TapwiseTest");
  const std::wstring user_path_ = L"Software\\" + scratch_;
};

TEST_F(RegistryTest, OpensAbsoluteAgainstRootAndRelativeAgainstOpenKey) {
  TRegistry registry(raw_);
  OpenScratch(registry);
  ASSERT_TRUE(registry.OpenPath("A\\B", platform::IfMissing::kCreate));
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, user_path_ + L"\\A\\B"));
  ASSERT_TRUE(registry.OpenPath("C", platform::IfMissing::kCreate));
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, user_path_ + L"\\A\\B\\C"));
  // Absolute again, from deep inside: back to the scratch key.
  ASSERT_TRUE(registry.OpenPath(Absolute(user_path_ + L"\\A"), platform::IfMissing::kFail));
  std::vector<std::string> names;
  registry.ListSubkeyNames(names);
  EXPECT_EQ(names, std::vector<std::string>{"B"});
  // Opening without create fails on a missing key and keeps the open one.
  const platform::RegKey before = registry.OpenKey();
  EXPECT_FALSE(registry.OpenPath("Missing", platform::IfMissing::kFail));
  EXPECT_EQ(registry.OpenKey(), before);
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, user_path_ + L"\\A\\Missing"));
}

TEST_F(RegistryTest, TextRoundTripsAsUtf16InTheStore) {
  const std::vector<std::string> texts = {
      "",
      "plain",
      "Ärger über Öl",
      "日本語のテキスト",
      "emoji 😀 outside the BMP",
      "a lone \xED\xA0\x80 surrogate",
      "C:\\Program Files\\Foo\\unins000.exe /S",
      std::string(700, 'x'),  // larger than a first read
  };
  TRegistry registry(raw_);
  OpenScratch(registry);
  for (const std::string& text : texts) {
    SCOPED_TRACE(text.substr(0, 40));
    registry.WriteText("Value", text);
    EXPECT_EQ(registry.ReadText("Value"), text);
    DWORD type = REG_NONE;
    const std::vector<BYTE> stored = GetRaw(L"Value", type);
    std::wstring expected = win32::Utf8ToWide(text);
    expected.push_back(L'\0');
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    ASSERT_EQ(stored.size(), expected.size() * sizeof(wchar_t));
    EXPECT_TRUE(
        std::equal(stored.begin(), stored.end(), reinterpret_cast<const BYTE*>(expected.data())));
  }
}

// What ReadValue reports for data stored by other programs, whatever its size.
TEST_F(RegistryTest, ReadValueConvertsTextAndPassesOtherTypesThrough) {
  struct Case {
    const char* label;
    DWORD type;
    std::vector<BYTE> stored;
    std::string expected;
  };
  const auto wide_bytes = [](std::wstring_view text) {
    const auto* first = reinterpret_cast<const BYTE*>(text.data());
    return std::vector<BYTE>(first, first + text.size() * sizeof(wchar_t));
  };
  std::vector<BYTE> odd = wide_bytes(std::wstring_view(L"ab", 2));
  odd.push_back(0x41);
  constexpr std::size_t kFirst = win32::Registry::kFirstReadSize;
  const std::wstring fits(kFirst / sizeof(wchar_t), L'\u00e9');
  const std::wstring larger(kFirst / sizeof(wchar_t) + 1, L'x');
  // Many times the first read: one more call, with room for all of it.
  std::wstring far_larger(16 * kFirst, L'z');
  far_larger.front() = L'\u4e2d';
  const auto utf8 = [](const std::wstring& wide) { return win32::WideToUtf8(wide); };
  const std::vector<Case> cases = {
      {"expand keeps %VAR%", REG_EXPAND_SZ, wide_bytes({L"%SystemRoot%\\\u00e9\0", 15}),
       std::string("%SystemRoot%\\é\0", 16)},
      {"multi keeps every zero", REG_MULTI_SZ, wide_bytes({L"a\0b\u00e9\0\0", 6}),
       std::string("a\0bé\0\0", 7)},
      {"no terminator", REG_SZ, wide_bytes({L"abc", 3}), "abc"},
      {"a lone surrogate kept", REG_SZ,
       wide_bytes({L"a\xD800"
                   L"b\xDC00",
                   4}),
       "a\xED\xA0\x80"
       "b\xED\xB0\x80"},
      {"odd byte dropped", REG_SZ, odd, "ab"},
      {"empty text", REG_SZ, {}, ""},
      {"binary", REG_BINARY, {0x00, 0xFF, 0x10}, std::string("\0\xFF\x10", 3)},
      {"dword", REG_DWORD, {1, 2, 3, 4}, "\x01\x02\x03\x04"},
      {"text filling the first read", REG_SZ, wide_bytes(fits), utf8(fits)},
      {"text larger than the first read", REG_SZ, wide_bytes(larger), utf8(larger)},
      {"binary larger than the first read", REG_BINARY, std::vector<BYTE>(kFirst + 1, 0x7F),
       std::string(kFirst + 1, '\x7F')},
      {"text far larger than the first read", REG_SZ, wide_bytes(far_larger), utf8(far_larger)},
  };
  TRegistry registry(raw_);
  OpenScratch(registry);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    SetRaw(L"Value", c.type, c.stored.data(), static_cast<DWORD>(c.stored.size()));
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data{0xEE};
    ASSERT_EQ(raw_.ReadValue(registry.OpenKey(), "Value", type, data), platform::kRegOk);
    EXPECT_EQ(type, c.type);
    EXPECT_EQ(std::string(data.begin(), data.end()), c.expected);
  }
  std::uint32_t type = 0;
  std::vector<std::uint8_t> data;
  EXPECT_EQ(raw_.ReadValue(registry.OpenKey(), "Missing", type, data), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryTest, ReadFailuresNameTheValue) {
  TRegistry registry(raw_);
  OpenScratch(registry);
  const DWORD number = 1;
  SetRaw(L"Number", REG_DWORD, &number, sizeof(number));
  const auto message_of = [](auto&& read) -> std::string {
    try {
      read();
    } catch (const platform::ERegistryException& failure) {
      return failure.what();
    }
    return "nothing raised";
  };
  EXPECT_EQ(message_of([&] { registry.ReadText("Number"); }), "Invalid data type for 'Number'");
  EXPECT_EQ(message_of([&] { registry.ReadFlag("NoRemove"); }),
            "Failed to get data for 'NoRemove'");
  EXPECT_TRUE(registry.ReadFlag("Number"));
  EXPECT_EQ(registry.ReadText("Missing"), "");
}

TEST_F(RegistryTest, EmptyValueExistsUntilRemoved) {
  TRegistry registry(raw_);
  OpenScratch(registry);
  EXPECT_FALSE(registry.HasValue("Last"));
  registry.WriteText("Last", "");
  EXPECT_TRUE(registry.HasValue("Last"));
  EXPECT_EQ(registry.ReadText("Last"), "");
  EXPECT_TRUE(registry.RemoveValue("Last"));
  EXPECT_FALSE(registry.HasValue("Last"));
  EXPECT_FALSE(registry.RemoveValue("Last"));
}

TEST_F(RegistryTest, ListsSubkeysInTheStoreOrderWithUnicodeNames) {
  TRegistry registry(raw_);
  OpenScratch(registry);
  const std::vector<std::string> created = {"beta", "Alpha", "gamma", "Delta", "Ölfilter 名前"};
  for (const std::string& name : created) {
    TRegistry child(raw_);
    ASSERT_TRUE(child.OpenPath(Absolute(user_path_ + L"\\" + win32::Utf8ToWide(name)),
                               platform::IfMissing::kCreate));
  }
  std::vector<std::string> names;
  names.push_back("stale");
  registry.ListSubkeyNames(names);
  ASSERT_EQ(names.size(), created.size());
  EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + 4),
            (std::vector<std::string>{"Alpha", "beta", "Delta", "gamma"}));
  EXPECT_EQ(names.back(), "Ölfilter 名前");
}

// A 32-bit process has two views of HKLM\SOFTWARE: its default one is redirected to
// Wow6432Node, KEY_WOW64_64KEY reaches the real one.
class RegistryViewTest : public RegistryTest {
 protected:
  void TearDown() override {
    DeleteTree(HKEY_LOCAL_MACHINE, L"SOFTWARE", scratch_, kView64);
    DeleteTree(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Wow6432Node", scratch_, kView64);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, machine_path_, kView64));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, machine_path_, kDefaultView));
    RegistryTest::TearDown();
  }

  const std::wstring machine_path_ = L"SOFTWARE\\" + scratch_;
  const std::string machine_path_utf8_ = Absolute(machine_path_);
};

TEST_F(RegistryViewTest, EachViewSeesOnlyItsOwnKey) {
  {
    TRegistry view64(raw_, kKeyAllAccess | kKeyWow64_64Key);
    view64.SelectRoot(kHkeyLocalMachine);
    ASSERT_TRUE(view64.OpenPath(machine_path_utf8_, platform::IfMissing::kCreate));
    view64.WriteText("Only64", "64");
    TRegistry view32(raw_);
    view32.SelectRoot(kHkeyLocalMachine);
    ASSERT_TRUE(view32.OpenPath(machine_path_utf8_, platform::IfMissing::kCreate));
    view32.WriteText("Only32", "32");

    EXPECT_EQ(view64.ReadText("Only64"), "64");
    EXPECT_FALSE(view64.HasValue("Only32"));
    EXPECT_EQ(view32.ReadText("Only32"), "32");
    EXPECT_FALSE(view32.HasValue("Only64"));
  }
  TRegistry physical(raw_, kKeyAllAccess | kKeyWow64_64Key);
  physical.SelectRoot(kHkeyLocalMachine);
  ASSERT_TRUE(physical.OpenPath(Absolute(L"SOFTWARE\\Wow6432Node\\" + scratch_),
                                platform::IfMissing::kFail));
  EXPECT_EQ(physical.ReadText("Only32"), "32");
}

TEST_F(RegistryViewTest, The64BitViewIsAnotherKeyUnderWow64) {
  // The test prefixes play 64-bit Windows, where this 32-bit test runs under WOW64.
  EXPECT_TRUE(raw_.HasSeparate64BitView());
}

TEST_F(RegistryViewTest, CurrentUserIsTheSameInBothViews) {
  TRegistry view64(raw_, kKeyAllAccess | kKeyWow64_64Key);
  OpenScratch(view64);
  view64.WriteText("Shared", "yes");
  TRegistry view32(raw_);
  OpenScratch(view32);
  EXPECT_EQ(view32.ReadText("Shared"), "yes");
  EXPECT_EQ(view32.Root(), kHkeyCurrentUser);
}

}  // namespace
