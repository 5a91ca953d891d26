// TRegistry over the in-memory registry: path resolution, views, failures and messages.

#include "platform/registry.h"

#include <gtest/gtest.h>

#include "platform/sim/sim_registry.h"

namespace {

using platform::ERegistryException;
using platform::kHkeyCurrentUser;
using platform::kHkeyLocalMachine;
using platform::TRegistry;

class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    raw.LoadRegText(
        "Windows Registry Editor Version 5.00\n\n"
        "[HKEY_CURRENT_USER\\K\\A\\B]\n\"Where\"=\"K\\\\A\\\\B\"\n\n"
        "[HKEY_CURRENT_USER\\A\\B]\n\"Where\"=\"A\\\\B\"\n\n"
        "[HKEY_CURRENT_USER\\V]\n\"Text\"=\"hello\"\n\"Number\"=dword:00000002\n"
        "\"Zero\"=dword:00000000\n\"Empty\"=hex:\n\"Blob\"=hex:01,02,03,04,05\n"
        "\"Expand\"=hex(2):25,00,50,00,41,00,54,00,48,00,25,00,00,00\n\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\Z]\n\"View\"=\"32\"\n\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Z]\n\"View\"=\"64\"\n\n");
  }
  sim::Registry raw;
};

TEST_F(RegistryTest, ResolvesPathsAgainstTheOpenKeyOrTheRoot) {
  const struct {
    bool open_k_first;
    std::string path;
    std::string where;
  } cases[] = {
      {true, "A\\B", "K\\A\\B"},
      {true, "\\A\\B", "A\\B"},
      {false, "A\\B", "A\\B"},
      {false, "\\A\\B", "A\\B"},
  };
  for (const auto& c : cases) {
    TRegistry reg(raw);
    if (c.open_k_first) {
      ASSERT_TRUE(reg.OpenPath("K", false));
    }
    ASSERT_TRUE(reg.OpenPath(c.path, false)) << c.path;
    EXPECT_EQ(reg.ReadText("Where"), c.where) << c.path;
  }
  EXPECT_EQ(raw.OpenHandleCount(), 0u);
}

TEST_F(RegistryTest, AFailedOpenKeepsTheOpenKey) {
  TRegistry reg(raw);
  ASSERT_TRUE(reg.OpenPath("V", false));
  EXPECT_FALSE(reg.OpenPath("Missing", false));
  EXPECT_EQ(reg.ReadText("Text"), "hello");
  reg.ClosePath();
  EXPECT_EQ(raw.OpenHandleCount(), 0u);
}

TEST_F(RegistryTest, ReadsAndTheirFailures) {
  TRegistry reg(raw);
  ASSERT_TRUE(reg.OpenPath("V", false));
  EXPECT_EQ(reg.ReadText("Missing"), "");
  EXPECT_EQ(reg.ReadText("Empty"), "");  // no data reads as empty, whatever the type
  EXPECT_EQ(reg.ReadText("Expand"), "%PATH%");
  EXPECT_TRUE(reg.ReadFlag("Number"));
  EXPECT_FALSE(reg.ReadFlag("Zero"));
  EXPECT_TRUE(reg.HasValue("Empty"));
  EXPECT_FALSE(reg.HasValue("Missing"));

  const struct {
    std::function<void()> read;
    std::string message;
  } failures[] = {
      {[&] { reg.ReadText("Number"); }, "Invalid data type for 'Number'"},
      {[&] { reg.ReadText("Blob"); }, "Invalid data type for 'Blob'"},
      {[&] { reg.ReadFlag("NoRemove"); }, "Failed to get data for 'NoRemove'"},
      {[&] { reg.ReadFlag("Text"); }, "Failed to get data for 'Text'"},  // longer than 4 bytes
      {[&] { reg.ReadFlag("Blob"); }, "Failed to get data for 'Blob'"},
  };
  for (const auto& f : failures) {
    try {
      f.read();
      ADD_FAILURE() << "no failure: " << f.message;
    } catch (const ERegistryException& e) {
      EXPECT_EQ(std::string(e.what()), f.message);
    }
  }
  // The object stays usable after a failure.
  EXPECT_EQ(reg.ReadText("Text"), "hello");
}

TEST_F(RegistryTest, ShortNumbersAndWrongTypesAsFlags) {
  raw.SetValue(kHkeyCurrentUser, "V", "Short", platform::kRegDword, {1, 0});
  raw.SetValue(kHkeyCurrentUser, "V", "TextFlag", platform::kRegSz, {'1', 0});
  TRegistry reg(raw);
  ASSERT_TRUE(reg.OpenPath("V", false));
  EXPECT_TRUE(reg.ReadFlag("Short"));
  EXPECT_THROW(reg.ReadFlag("TextFlag"), ERegistryException);
}

TEST_F(RegistryTest, WritesCreateTheKeyAndEmptyTextIsAValue) {
  TRegistry reg(raw);
  EXPECT_THROW(reg.WriteText("Last", "x"), ERegistryException);  // no key open
  ASSERT_TRUE(reg.OpenPath("Software\\Quillon\\Tapwise Uninstaller", true));
  reg.WriteText("Last", "");
  EXPECT_TRUE(reg.HasValue("Last"));
  EXPECT_EQ(reg.ReadText("Last"), "");
  const auto stored = raw.Value(kHkeyCurrentUser, "Software\\Quillon\\Tapwise Uninstaller", "Last");
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->first, platform::kRegSz);
  EXPECT_EQ(stored->second, std::vector<std::uint8_t>{0});
  EXPECT_TRUE(reg.RemoveValue("Last"));
  EXPECT_FALSE(reg.RemoveValue("Last"));
}

TEST_F(RegistryTest, ListsSubkeysOfTheOpenKeyOnly) {
  std::vector<std::string> names{"stale"};
  TRegistry reg(raw);
  EXPECT_FALSE(reg.OpenPath("Missing", false));
  reg.ListSubkeyNames(names);
  EXPECT_TRUE(names.empty());
  ASSERT_TRUE(reg.OpenPath("\\K", false));
  reg.ListSubkeyNames(names);
  EXPECT_EQ(names, std::vector<std::string>{"A"});
  ASSERT_TRUE(reg.OpenPath("A\\B", false));
  reg.ListSubkeyNames(names);
  EXPECT_TRUE(names.empty());
}

TEST_F(RegistryTest, EachViewOfTheMachineRootSeesItsOwnKey) {
  const struct {
    std::uint32_t access;
    std::string view;
  } cases[] = {{platform::kKeyRead, "32"}, {platform::kKeyRead | platform::kKeyWow64_64Key, "64"}};
  for (const auto& c : cases) {
    TRegistry reg(raw, c.access);
    reg.SelectRoot(kHkeyLocalMachine);
    ASSERT_TRUE(reg.OpenPath("SOFTWARE\\Z", false));
    EXPECT_EQ(reg.ReadText("View"), c.view);
    // The program spells the same key "Software" too.
    ASSERT_TRUE(reg.OpenPath("\\Software\\Z", false));
    EXPECT_EQ(reg.ReadText("View"), c.view);
  }
}

TEST_F(RegistryTest, SelectingAnotherRootClosesTheKey) {
  TRegistry reg(raw);
  ASSERT_TRUE(reg.OpenPath("V", false));
  reg.SelectRoot(kHkeyCurrentUser);
  EXPECT_TRUE(reg.HasValue("Text"));
  reg.SelectRoot(kHkeyLocalMachine);
  EXPECT_FALSE(reg.HasValue("Text"));
  EXPECT_EQ(raw.OpenHandleCount(), 0u);
}

}  // namespace
