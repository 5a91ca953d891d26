#include "platform/sim/sim_registry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using platform::kHkeyCurrentUser;
using platform::kHkeyLocalMachine;
using platform::RegKey;

constexpr std::uint32_t kRead = platform::kKeyRead;
constexpr std::uint32_t kRead64 = platform::kKeyRead | platform::kKeyWow64_64Key;
constexpr std::uint32_t kRead32 = platform::kKeyRead | platform::kKeyWow64_32Key;

// The text of value "Where" in the key at path, or a note of why there is none.
std::string WhereAt(sim::Registry& reg, RegKey base, const std::string& path,
                    std::uint32_t access) {
  RegKey key = platform::kNoKey;
  if (reg.OpenKey(base, path, access, &key) != platform::kRegOk) return "<no key>";
  std::uint32_t type = 0;
  std::vector<std::uint8_t> data;
  const auto result = reg.ReadValue(key, "Where", type, data);
  reg.CloseKey(key);
  return result == platform::kRegOk ? std::string(data.begin(), data.end() - 1) : "<no value>";
}

// What reading a value answers: kRegOk, kRegNotFound or why the key is not there.
long ReadResult(sim::Registry& reg, RegKey key, const std::string& name) {
  std::uint32_t type = 0;
  std::vector<std::uint8_t> data;
  return reg.ReadValue(key, name, type, data);
}

class SimRegistry : public ::testing::Test {
 protected:
  void SetUp() override {
    reg.SetText(kHkeyLocalMachine, "SOFTWARE\\Wow6432Node\\Vendor", "Where", "32");
    reg.SetText(kHkeyLocalMachine, "SOFTWARE\\Vendor", "Where", "64");
    reg.SetText(kHkeyCurrentUser, "Software\\Vendor", "Where", "user");
  }
  sim::Registry reg;
};

TEST_F(SimRegistry, ViewsRedirectMachineSoftwareOnly) {
  struct Case {
    RegKey root;
    const char* path;
    std::uint32_t access;
    const char* where;
  };
  const Case cases[] = {
      {kHkeyLocalMachine, "SOFTWARE\\Vendor", kRead, "32"},
      {kHkeyLocalMachine, "software\\VENDOR", kRead, "32"},
      {kHkeyLocalMachine, "Software\\Vendor", kRead64, "64"},
      {kHkeyLocalMachine, "SOFTWARE\\Vendor", kRead32, "32"},
      {kHkeyLocalMachine, "SOFTWARE\\Vendor", platform::kKeyAllAccess, "32"},
      // A path that already names the 32-bit node is not redirected a second time.
      {kHkeyLocalMachine, "SOFTWARE\\Wow6432Node\\Vendor", kRead, "32"},
      {kHkeyLocalMachine, "SOFTWARE\\Wow6432Node\\Vendor", kRead64, "32"},
      {kHkeyCurrentUser, "Software\\Vendor", kRead, "user"},
      {kHkeyCurrentUser, "SOFTWARE\\Vendor", kRead64, "user"},
      {kHkeyCurrentUser, "Software\\Wow6432Node\\Vendor", kRead, "<no key>"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WhereAt(reg, c.root, c.path, c.access), c.where)
        << c.path << " access 0x" << std::hex << c.access;
  }
  EXPECT_EQ(reg.OpenHandleCount(), 0u);
}

TEST_F(SimRegistry, HandlesRememberThePhysicalKey) {
  RegKey software = platform::kNoKey;
  ASSERT_EQ(reg.OpenKey(kHkeyLocalMachine, "SOFTWARE", kRead64, &software), platform::kRegOk);
  EXPECT_EQ(WhereAt(reg, software, "Vendor", kRead), "64");

  RegKey redirected = platform::kNoKey;
  ASSERT_EQ(reg.OpenKey(kHkeyLocalMachine, "SOFTWARE", kRead, &redirected), platform::kRegOk);
  EXPECT_EQ(WhereAt(reg, redirected, "Vendor", kRead64), "32");

  // A handle to the machine root itself still redirects the paths opened from it.
  RegKey machine = platform::kNoKey;
  ASSERT_EQ(reg.OpenKey(kHkeyLocalMachine, "", kRead, &machine), platform::kRegOk);
  EXPECT_NE(machine, kHkeyLocalMachine);
  EXPECT_EQ(WhereAt(reg, machine, "SOFTWARE\\Vendor", kRead), "32");
  EXPECT_EQ(WhereAt(reg, machine, "SOFTWARE\\Vendor", kRead64), "64");

  for (RegKey key : {software, redirected, machine}) EXPECT_EQ(reg.CloseKey(key), 0);
  EXPECT_EQ(reg.OpenHandleCount(), 0u);
}

TEST_F(SimRegistry, CreateKeyMakesParentsInTheViewAsked) {
  RegKey key = platform::kNoKey;
  ASSERT_EQ(reg.CreateKey(kHkeyLocalMachine, "Software\\New\\Deep", platform::kKeyAllAccess, &key),
            platform::kRegOk);
  reg.CloseKey(key);
  ASSERT_EQ(
      reg.CreateKey(kHkeyCurrentUser, "Software\\Quillon\\App", platform::kKeyAllAccess, &key),
      platform::kRegOk);
  const std::uint8_t text[] = {'x', 0};
  EXPECT_EQ(reg.SetValue(key, "Last", platform::kRegSz, text, sizeof(text)), platform::kRegOk);
  reg.CloseKey(key);

  EXPECT_TRUE(reg.KeyExists(kHkeyLocalMachine, "SOFTWARE\\Wow6432Node\\New\\Deep"));
  EXPECT_FALSE(reg.KeyExists(kHkeyLocalMachine, "SOFTWARE\\New"));
  const auto last = reg.Value(kHkeyCurrentUser, "SOFTWARE\\QUILLON\\app", "last");
  ASSERT_TRUE(last.has_value());
  EXPECT_EQ(last->first, platform::kRegSz);
  EXPECT_EQ(last->second, (std::vector<std::uint8_t>{'x', 0}));
  // Names keep the case they were first written with.
  EXPECT_EQ(reg.SubkeyNames(kHkeyCurrentUser, ""), (std::vector<std::string>{"Software"}));
}

TEST_F(SimRegistry, ReadValueGivesTheTypeAndAllTheData) {
  const std::vector<std::uint8_t> large(5000, 0x5A);
  reg.SetText(kHkeyCurrentUser, "K", "Name", "abc");
  reg.SetText(kHkeyCurrentUser, "K", "", "default", platform::kRegExpandSz);
  reg.SetValue(kHkeyCurrentUser, "K", "Large", platform::kRegBinary, large);
  reg.SetValue(kHkeyCurrentUser, "K", "Empty", platform::kRegDword, {});
  RegKey key = platform::kNoKey;
  ASSERT_EQ(reg.OpenKey(kHkeyCurrentUser, "K", kRead, &key), platform::kRegOk);

  const struct {
    const char* name;
    long result;
    std::uint32_t type;
    std::vector<std::uint8_t> data;
  } cases[] = {
      {"Name", platform::kRegOk, platform::kRegSz, {'a', 'b', 'c', 0}},
      {"NAME", platform::kRegOk, platform::kRegSz, {'a', 'b', 'c', 0}},
      {"", platform::kRegOk, platform::kRegExpandSz, {'d', 'e', 'f', 'a', 'u', 'l', 't', 0}},
      {"Large", platform::kRegOk, platform::kRegBinary, large},
      {"Empty", platform::kRegOk, platform::kRegDword, {}},
      // A missing value leaves what the caller had.
      {"Other", platform::kRegNotFound, 0xDEAD, {0xEE}},
  };
  for (const auto& c : cases) {
    std::uint32_t type = 0xDEAD;
    std::vector<std::uint8_t> data{0xEE};
    EXPECT_EQ(reg.ReadValue(key, c.name, type, data), c.result) << c.name;
    EXPECT_EQ(type, c.type) << c.name;
    EXPECT_EQ(data, c.data) << c.name;
  }
  reg.CloseKey(key);
}

TEST_F(SimRegistry, SubkeysEnumerateInCaselessNameOrder) {
  for (const char* name : {"gamma", "FooBar", "beta", "Foo_is1", "Alpha", "ALPHA"}) {
    reg.CreatePhysicalKey(kHkeyCurrentUser, std::string("List\\") + name);
  }
  RegKey key = platform::kNoKey;
  ASSERT_EQ(reg.OpenKey(kHkeyCurrentUser, "list", kRead, &key), platform::kRegOk);
  std::uint32_t count = 0;
  ASSERT_EQ(reg.QueryInfoKey(key, count), platform::kRegOk);
  std::vector<std::string> names;
  for (std::uint32_t i = 0; i < count; ++i) {
    std::string name;
    ASSERT_EQ(reg.EnumKey(key, i, name), platform::kRegOk);
    names.push_back(name);
  }
  // Folded to lower case, "_" sorts before letters, as in Wine.
  EXPECT_EQ(names, (std::vector<std::string>{"Alpha", "beta", "Foo_is1", "FooBar", "gamma"}));
  std::string name;
  EXPECT_EQ(reg.EnumKey(key, count, name), platform::kRegNoMoreItems);
  reg.CloseKey(key);
}

TEST_F(SimRegistry, BadHandlesAndMissingThingsGiveWin32Codes) {
  constexpr RegKey kBogus = 0x4242;
  RegKey key = platform::kNoKey;
  std::uint32_t count = 0;
  std::string name;
  EXPECT_EQ(reg.OpenKey(kBogus, "X", kRead, &key), platform::kRegInvalidHandle);
  EXPECT_EQ(reg.CreateKey(kBogus, "X", kRead, &key), platform::kRegInvalidHandle);
  EXPECT_EQ(ReadResult(reg, kBogus, "X"), platform::kRegInvalidHandle);
  EXPECT_EQ(reg.DeleteValue(kBogus, "X"), platform::kRegInvalidHandle);
  EXPECT_EQ(reg.QueryInfoKey(kBogus, count), platform::kRegInvalidHandle);
  EXPECT_EQ(reg.EnumKey(kBogus, 0, name), platform::kRegInvalidHandle);
  EXPECT_EQ(reg.CloseKey(kBogus), platform::kRegInvalidHandle);
  EXPECT_EQ(reg.CloseKey(kHkeyLocalMachine), platform::kRegOk);

  EXPECT_EQ(reg.OpenKey(kHkeyCurrentUser, "Software\\Missing", kRead, &key),
            platform::kRegNotFound);
  EXPECT_EQ(key, platform::kNoKey);
  ASSERT_EQ(reg.OpenKey(kHkeyCurrentUser, "Software\\Vendor", kRead, &key), platform::kRegOk);
  EXPECT_EQ(reg.DeleteValue(key, "Missing"), platform::kRegNotFound);
  EXPECT_EQ(reg.DeleteValue(key, "WHERE"), platform::kRegOk);
  EXPECT_EQ(ReadResult(reg, key, "Where"), platform::kRegNotFound);
  EXPECT_EQ(reg.CloseKey(key), platform::kRegOk);
  EXPECT_EQ(reg.CloseKey(key), platform::kRegInvalidHandle);
}

TEST_F(SimRegistry, DeletedAndDeniedKeys) {
  RegKey key = platform::kNoKey;
  ASSERT_EQ(reg.OpenKey(kHkeyCurrentUser, "Software\\Vendor", kRead, &key), platform::kRegOk);
  EXPECT_TRUE(reg.DeletePhysicalKey(kHkeyCurrentUser, "Software\\Vendor"));
  EXPECT_EQ(ReadResult(reg, key, "Where"), sim::kRegKeyDeleted);
  EXPECT_EQ(reg.CloseKey(key), platform::kRegOk);

  reg.DenyAccess(kHkeyLocalMachine, "SOFTWARE\\Vendor");
  EXPECT_EQ(reg.OpenKey(kHkeyLocalMachine, "SOFTWARE\\Vendor", kRead64, &key),
            platform::kRegAccessDenied);
  EXPECT_EQ(reg.OpenKey(kHkeyLocalMachine, "SOFTWARE\\Vendor", kRead, &key), platform::kRegOk);
  reg.CloseKey(key);
  EXPECT_EQ(reg.OpenHandleCount(), 0u);
}

// As on Windows: a handle is its key, wherever a rename takes it; a link leads to its target
// unless it is opened itself, and then goes alone.
TEST_F(SimRegistry, HandlesFollowARenameAndLinksLeadElsewhereUnlessOpenedThemselves) {
  RegKey vendor = platform::kNoKey;
  ASSERT_EQ(reg.OpenKeyItself(kHkeyCurrentUser, "Software\\Vendor", kRead, &vendor),
            platform::kRegOk);
  ASSERT_EQ(reg.RenameKey(vendor, "Moved"), platform::kRegOk);
  EXPECT_EQ(ReadResult(reg, vendor, "Where"), platform::kRegOk);
  EXPECT_EQ(WhereAt(reg, kHkeyCurrentUser, "Software\\Moved", kRead), "user");
  reg.CreatePhysicalKey(kHkeyCurrentUser, "Software\\Taken");
  EXPECT_EQ(reg.RenameKey(vendor, "taken"), platform::kRegAccessDenied);
  reg.SetLink(kHkeyCurrentUser, "Software\\Link", kHkeyCurrentUser, "Software\\Moved");
  EXPECT_EQ(WhereAt(reg, kHkeyCurrentUser, "Software\\Link", kRead), "user");
  RegKey link = platform::kNoKey;
  ASSERT_EQ(reg.OpenKeyItself(kHkeyCurrentUser, "Software\\Link", kRead, &link), platform::kRegOk);
  EXPECT_EQ(ReadResult(reg, link, "Where"), platform::kRegNotFound);
  EXPECT_EQ(reg.DeleteOpenKey(link), platform::kRegOk);
  EXPECT_FALSE(reg.KeyExists(kHkeyCurrentUser, "Software\\Link"));
  EXPECT_EQ(reg.DeleteOpenKey(vendor), platform::kRegOk);
  EXPECT_EQ(ReadResult(reg, vendor, "Where"), sim::kRegKeyDeleted);
  reg.CloseKey(vendor);
  reg.CloseKey(link);
  EXPECT_EQ(reg.OpenHandleCount(), 0u);
}

TEST_F(SimRegistry, HandlesAreFreshAndCounted) {
  RegKey first = platform::kNoKey;
  RegKey second = platform::kNoKey;
  ASSERT_EQ(reg.OpenKey(kHkeyCurrentUser, "Software", kRead, &first), platform::kRegOk);
  ASSERT_EQ(reg.OpenKey(kHkeyCurrentUser, "Software", kRead, &second), platform::kRegOk);
  EXPECT_NE(first, second);
  for (RegKey key : {first, second}) {
    EXPECT_NE(key, platform::kNoKey);
    EXPECT_NE(key, kHkeyCurrentUser);
    EXPECT_NE(key, kHkeyLocalMachine);
  }
  EXPECT_EQ(reg.OpenHandleCount(), 2u);
  reg.CloseKey(first);
  EXPECT_EQ(reg.OpenHandleCount(), 1u);
  reg.CloseKey(second);
  EXPECT_EQ(reg.OpenHandleCount(), 0u);
}

}  // namespace

// The store keeps text as the registry does, UTF-16LE, and the seam gives it as UTF-8 by the
// same rule as the real one: a trailing odd byte dropped, a terminator added on writing.
TEST_F(SimRegistry, TextIsStoredAsUtf16AndGivenAsUtf8) {
  using Bytes = std::vector<std::uint8_t>;
  const struct {
    const char* label;
    std::uint32_t type;
    Bytes stored;
    Bytes seam;  // what ReadValue gives
  } cases[] = {
      {"terminated", platform::kRegSz, {'a', 0, 0, 0}, {'a', 0}},
      {"odd byte dropped", platform::kRegExpandSz, {'a', 0, 'b'}, {'a'}},
      {"no terminator", platform::kRegSz, {0xE9, 0}, {0xC3, 0xA9}},
      {"multi", platform::kRegMultiSz, {'a', 0, 0, 0, 0, 0}, {'a', 0, 0}},
      {"binary untouched", platform::kRegBinary, {'a', 0, 'b'}, {'a', 0, 'b'}},
  };
  for (const auto& c : cases) {
    reg.SetRawValue(kHkeyCurrentUser, "Raw", "V", c.type, c.stored);
    RegKey key = platform::kNoKey;
    ASSERT_EQ(reg.OpenKey(kHkeyCurrentUser, "Raw", kRead, &key), platform::kRegOk);
    std::uint32_t type = 0;
    Bytes seam;
    Bytes stored;
    EXPECT_EQ(reg.ReadValue(key, "V", type, seam), platform::kRegOk) << c.label;
    EXPECT_EQ(seam, c.seam) << c.label;
    EXPECT_EQ(reg.ReadStoredValue(key, "V", SIZE_MAX, type, stored), platform::kRegOk) << c.label;
    EXPECT_EQ(stored, c.stored) << c.label;
    EXPECT_EQ(type, c.type) << c.label;
    reg.CloseKey(key);
  }
  RegKey key = platform::kNoKey;
  ASSERT_EQ(reg.CreateKey(kHkeyCurrentUser, "Raw", platform::kKeyAllAccess, &key),
            platform::kRegOk);
  const std::uint8_t text[] = {'x'};
  ASSERT_EQ(reg.SetValue(key, "W", platform::kRegSz, text, sizeof text), platform::kRegOk);
  reg.CloseKey(key);
  EXPECT_EQ(reg.RawValue(kHkeyCurrentUser, "Raw", "W")->second, (Bytes{'x', 0, 0, 0}));
  EXPECT_EQ(reg.Value(kHkeyCurrentUser, "Raw", "W")->second, (Bytes{'x', 0}));
}

TEST_F(SimRegistry, ValueNamesEnumerateInCaselessNameOrder) {
  reg.SetText(kHkeyCurrentUser, "E", "b", "1");
  reg.SetText(kHkeyCurrentUser, "E", "", "default");
  reg.SetText(kHkeyCurrentUser, "E", "A", "2");
  RegKey key = platform::kNoKey;
  ASSERT_EQ(reg.OpenKey(kHkeyCurrentUser, "E", kRead, &key), platform::kRegOk);
  std::vector<std::string> names;
  std::string name;
  std::uint32_t index = 0;
  while (reg.EnumValueName(key, index++, name) == platform::kRegOk) names.push_back(name);
  EXPECT_EQ(names, (std::vector<std::string>{"", "A", "b"}));
  EXPECT_EQ(reg.EnumValueName(key, 3, name), platform::kRegNoMoreItems);
  reg.CloseKey(key);
}

// RegDeleteTree deletes what it can: a key kept from deletion stays, with the keys above it.
TEST_F(SimRegistry, DeleteTreeTakesWhatItCan) {
  const struct {
    const char* label;
    const char* kept;  // under "U\App", or nullptr
    long result;
    std::vector<std::string> left;  // subkeys of "U" afterwards
    std::vector<std::string> left_in_app;
  } cases[] = {
      {"everything", nullptr, platform::kRegOk, {"Other"}, {}},
      {"the key itself kept", "", platform::kRegAccessDenied, {"App", "Other"}, {"Sub", "Tail"}},
      {"one subkey kept", "Sub", platform::kRegAccessDenied, {"App", "Other"}, {"Sub"}},
  };
  for (const auto& c : cases) {
    sim::Registry store;
    store.SetText(kHkeyCurrentUser, "U\\App", "V", "1");
    store.SetText(kHkeyCurrentUser, "U\\App\\Sub\\Deep", "V", "1");
    store.SetText(kHkeyCurrentUser, "U\\App\\Tail", "V", "1");
    store.SetText(kHkeyCurrentUser, "U\\Other", "V", "1");
    if (c.kept != nullptr) {
      store.KeepFromDeletion(kHkeyCurrentUser, std::string("U\\App\\") + c.kept);
    }
    RegKey key = platform::kNoKey;
    ASSERT_EQ(store.OpenKey(kHkeyCurrentUser, "U", platform::kKeyAllAccess, &key),
              platform::kRegOk);
    EXPECT_EQ(store.DeleteTree(key, "App"), c.result) << c.label;
    EXPECT_EQ(store.DeleteTree(key, "Missing"), platform::kRegNotFound) << c.label;
    EXPECT_EQ(store.DeleteTree(key, ""), sim::kRegInvalidParameter) << c.label;
    store.CloseKey(key);
    EXPECT_EQ(store.SubkeyNames(kHkeyCurrentUser, "U"), c.left) << c.label;
    EXPECT_EQ(store.SubkeyNames(kHkeyCurrentUser, "U\\App"), c.left_in_app) << c.label;
    // The key left behind keeps its own values only when it was kept whole.
    const bool values_kept = c.kept != nullptr && std::string(c.kept).empty();
    EXPECT_EQ(store.Value(kHkeyCurrentUser, "U\\App", "V").has_value(), values_kept) << c.label;
    EXPECT_TRUE(store.Value(kHkeyCurrentUser, "U\\Other", "V").has_value()) << c.label;
  }
}
