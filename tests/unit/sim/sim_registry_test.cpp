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
  if (reg.OpenKey(base, path, access, key) != platform::kRegOk) return "<no key>";
  char data[32] = {};
  std::uint32_t size = sizeof(data);
  const auto result =
      reg.QueryValue(key, "Where", nullptr, reinterpret_cast<std::uint8_t*>(data), &size);
  reg.CloseKey(key);
  return result == platform::kRegOk ? std::string(data) : "<no value>";
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
  ASSERT_EQ(reg.OpenKey(kHkeyLocalMachine, "SOFTWARE", kRead64, software), platform::kRegOk);
  EXPECT_EQ(WhereAt(reg, software, "Vendor", kRead), "64");

  RegKey redirected = platform::kNoKey;
  ASSERT_EQ(reg.OpenKey(kHkeyLocalMachine, "SOFTWARE", kRead, redirected), platform::kRegOk);
  EXPECT_EQ(WhereAt(reg, redirected, "Vendor", kRead64), "32");

  // A handle to the machine root itself still redirects the paths opened from it.
  RegKey machine = platform::kNoKey;
  ASSERT_EQ(reg.OpenKey(kHkeyLocalMachine, "", kRead, machine), platform::kRegOk);
  EXPECT_NE(machine, kHkeyLocalMachine);
  EXPECT_EQ(WhereAt(reg, machine, "SOFTWARE\\Vendor", kRead), "32");
  EXPECT_EQ(WhereAt(reg, machine, "SOFTWARE\\Vendor", kRead64), "64");

  for (RegKey key : {software, redirected, machine}) EXPECT_EQ(reg.CloseKey(key), 0);
  EXPECT_EQ(reg.OpenHandleCount(), 0u);
}

TEST_F(SimRegistry, CreateKeyMakesParentsInTheViewAsked) {
  RegKey key = platform::kNoKey;
  ASSERT_EQ(reg.CreateKey(kHkeyLocalMachine, "Software\\New\\Deep", platform::kKeyAllAccess, key),
            platform::kRegOk);
  reg.CloseKey(key);
  ASSERT_EQ(reg.CreateKey(kHkeyCurrentUser, "Software\\Quillon\\App", platform::kKeyAllAccess, key),
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

TEST_F(SimRegistry, QueryValueReportsSizesAsRegQueryValueExDoes) {
  reg.SetText(kHkeyCurrentUser, "K", "Name", "abc");
  reg.SetText(kHkeyCurrentUser, "K", "", "default");
  RegKey key = platform::kNoKey;
  ASSERT_EQ(reg.OpenKey(kHkeyCurrentUser, "K", kRead, key), platform::kRegOk);

  struct Case {
    const char* label;
    const char* name;
    bool with_buffer;
    std::uint32_t capacity;
    long result;
    std::uint32_t size_after;
  };
  const Case cases[] = {
      {"size only", "Name", false, 0, platform::kRegOk, 4},
      {"too small", "Name", true, 3, platform::kRegMoreData, 4},
      {"exact", "Name", true, 4, platform::kRegOk, 4},
      {"roomy", "Name", true, 64, platform::kRegOk, 4},
      {"empty buffer", "Name", true, 0, platform::kRegMoreData, 4},
      {"default value", "", true, 64, platform::kRegOk, 8},
      {"missing", "Other", true, 64, platform::kRegNotFound, 64},
  };
  for (const Case& c : cases) {
    std::uint8_t buffer[64];
    std::fill(std::begin(buffer), std::end(buffer), std::uint8_t{0xEE});
    std::uint32_t type = 0xDEAD;
    std::uint32_t size = c.capacity;
    EXPECT_EQ(reg.QueryValue(key, c.name, &type, c.with_buffer ? buffer : nullptr, &size), c.result)
        << c.label;
    EXPECT_EQ(size, c.size_after) << c.label;
    const std::uint32_t type_after = c.result == platform::kRegNotFound ? 0xDEAD : platform::kRegSz;
    EXPECT_EQ(type, type_after) << c.label;
    const bool filled = c.with_buffer && c.result == platform::kRegOk;
    const int expected = !filled ? 0xEE : (c.name[0] == 0 ? 'd' : 'a');
    EXPECT_EQ(buffer[0], expected) << c.label;
  }
  EXPECT_EQ(reg.QueryValue(key, "Name", nullptr, nullptr, nullptr), platform::kRegOk);
  EXPECT_EQ(reg.QueryValue(key, "Other", nullptr, nullptr, nullptr), platform::kRegNotFound);
  reg.CloseKey(key);
}

TEST_F(SimRegistry, SubkeysEnumerateInCaselessNameOrder) {
  for (const char* name : {"gamma", "FooBar", "beta", "Foo_is1", "Alpha", "ALPHA"}) {
    reg.CreatePhysicalKey(kHkeyCurrentUser, std::string("List\\") + name);
  }
  RegKey key = platform::kNoKey;
  ASSERT_EQ(reg.OpenKey(kHkeyCurrentUser, "list", kRead, key), platform::kRegOk);
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
  EXPECT_EQ(reg.OpenKey(kBogus, "X", kRead, key), platform::kRegInvalidHandle);
  EXPECT_EQ(reg.CreateKey(kBogus, "X", kRead, key), platform::kRegInvalidHandle);
  EXPECT_EQ(reg.QueryValue(kBogus, "X", nullptr, nullptr, nullptr), platform::kRegInvalidHandle);
  EXPECT_EQ(reg.DeleteValue(kBogus, "X"), platform::kRegInvalidHandle);
  EXPECT_EQ(reg.QueryInfoKey(kBogus, count), platform::kRegInvalidHandle);
  EXPECT_EQ(reg.EnumKey(kBogus, 0, name), platform::kRegInvalidHandle);
  EXPECT_EQ(reg.CloseKey(kBogus), platform::kRegInvalidHandle);
  EXPECT_EQ(reg.CloseKey(kHkeyLocalMachine), platform::kRegOk);

  EXPECT_EQ(reg.OpenKey(kHkeyCurrentUser, "Software\\Missing", kRead, key), platform::kRegNotFound);
  EXPECT_EQ(key, platform::kNoKey);
  ASSERT_EQ(reg.OpenKey(kHkeyCurrentUser, "Software\\Vendor", kRead, key), platform::kRegOk);
  EXPECT_EQ(reg.DeleteValue(key, "Missing"), platform::kRegNotFound);
  EXPECT_EQ(reg.DeleteValue(key, "WHERE"), platform::kRegOk);
  EXPECT_EQ(reg.QueryValue(key, "Where", nullptr, nullptr, nullptr), platform::kRegNotFound);
  EXPECT_EQ(reg.CloseKey(key), platform::kRegOk);
  EXPECT_EQ(reg.CloseKey(key), platform::kRegInvalidHandle);
}

TEST_F(SimRegistry, DeletedAndDeniedKeys) {
  RegKey key = platform::kNoKey;
  ASSERT_EQ(reg.OpenKey(kHkeyCurrentUser, "Software\\Vendor", kRead, key), platform::kRegOk);
  EXPECT_TRUE(reg.DeletePhysicalKey(kHkeyCurrentUser, "Software\\Vendor"));
  EXPECT_EQ(reg.QueryValue(key, "Where", nullptr, nullptr, nullptr), sim::kRegKeyDeleted);
  EXPECT_EQ(reg.CloseKey(key), platform::kRegOk);

  reg.DenyAccess(kHkeyLocalMachine, "SOFTWARE\\Vendor");
  EXPECT_EQ(reg.OpenKey(kHkeyLocalMachine, "SOFTWARE\\Vendor", kRead64, key),
            platform::kRegAccessDenied);
  EXPECT_EQ(reg.OpenKey(kHkeyLocalMachine, "SOFTWARE\\Vendor", kRead, key), platform::kRegOk);
  reg.CloseKey(key);
  EXPECT_EQ(reg.OpenHandleCount(), 0u);
}

TEST_F(SimRegistry, HandlesAreFreshAndCounted) {
  RegKey first = platform::kNoKey;
  RegKey second = platform::kNoKey;
  ASSERT_EQ(reg.OpenKey(kHkeyCurrentUser, "Software", kRead, first), platform::kRegOk);
  ASSERT_EQ(reg.OpenKey(kHkeyCurrentUser, "Software", kRead, second), platform::kRegOk);
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
