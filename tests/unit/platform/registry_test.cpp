// TRegistry over the in-memory registry: path resolution, views, failures and messages.

#include "platform/registry.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/sim/sim_registry.h"

namespace {

using platform::ERegistryException;
using platform::kHkeyCurrentUser;
using platform::kHkeyLocalMachine;
using platform::TRegistry;

// The store, counting the value reads that reach it.
class CountingRegistry final : public platform::RawRegistry {
 public:
  explicit CountingRegistry(platform::RawRegistry& store) : store_(store) {}
  int reads = 0;

  platform::RegResult OpenKey(platform::RegKey base, const std::string& path, std::uint32_t access,
                              platform::RegKey* opened) override {
    return store_.OpenKey(base, path, access, opened);
  }
  platform::RegResult CreateKey(platform::RegKey base, const std::string& path,
                                std::uint32_t access, platform::RegKey* opened) override {
    return store_.CreateKey(base, path, access, opened);
  }
  platform::RegResult ReadValue(platform::RegKey key, const std::string& name, std::uint32_t& type,
                                std::vector<std::uint8_t>& data) override {
    ++reads;
    return store_.ReadValue(key, name, type, data);
  }
  platform::RegResult ReadStoredValue(platform::RegKey key, const std::string& name,
                                      std::size_t limit, std::uint32_t& type,
                                      std::vector<std::uint8_t>& data) override {
    ++reads;
    return store_.ReadStoredValue(key, name, limit, type, data);
  }
  platform::RegResult EnumValueName(platform::RegKey key, std::uint32_t index,
                                    std::string& name) override {
    return store_.EnumValueName(key, index, name);
  }
  platform::RegResult DeleteTree(platform::RegKey key, const std::string& subkey) override {
    return store_.DeleteTree(key, subkey);
  }
  platform::RegResult OpenKeyItself(platform::RegKey base, const std::string& path,
                                    std::uint32_t access, platform::RegKey* opened) override {
    return store_.OpenKeyItself(base, path, access, opened);
  }
  platform::RegResult RenameKey(platform::RegKey key, const std::string& name) override {
    return store_.RenameKey(key, name);
  }
  platform::RegResult DeleteOpenKey(platform::RegKey key) override {
    return store_.DeleteOpenKey(key);
  }
  platform::RegResult SetValue(platform::RegKey key, const std::string& name, std::uint32_t type,
                               const std::uint8_t* data, std::uint32_t size) override {
    return store_.SetValue(key, name, type, data, size);
  }
  platform::RegResult DeleteValue(platform::RegKey key, const std::string& name) override {
    return store_.DeleteValue(key, name);
  }
  platform::RegResult QueryInfoKey(platform::RegKey key, std::uint32_t& subkeys) override {
    return store_.QueryInfoKey(key, subkeys);
  }
  platform::RegResult EnumKey(platform::RegKey key, std::uint32_t index,
                              std::string& name) override {
    return store_.EnumKey(key, index, name);
  }
  platform::RegResult CloseKey(platform::RegKey key) override { return store_.CloseKey(key); }
  bool HasSeparate64BitView() const override { return store_.HasSeparate64BitView(); }

 private:
  platform::RawRegistry& store_;
};

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
      ASSERT_TRUE(reg.OpenPath("K", platform::IfMissing::kFail));
    }
    ASSERT_TRUE(reg.OpenPath(c.path, platform::IfMissing::kFail)) << c.path;
    EXPECT_EQ(reg.ReadText("Where"), c.where) << c.path;
  }
  EXPECT_EQ(raw.OpenHandleCount(), 0u);
}

TEST_F(RegistryTest, AFailedOpenKeepsTheOpenKey) {
  TRegistry reg(raw);
  ASSERT_TRUE(reg.OpenPath("V", platform::IfMissing::kFail));
  EXPECT_FALSE(reg.OpenPath("Missing", platform::IfMissing::kFail));
  EXPECT_EQ(reg.ReadText("Text"), "hello");
  reg.ClosePath();
  EXPECT_EQ(raw.OpenHandleCount(), 0u);
}

TEST_F(RegistryTest, ReadsAndTheirFailures) {
  TRegistry reg(raw);
  ASSERT_TRUE(reg.OpenPath("V", platform::IfMissing::kFail));
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

// While its key is open, a value is read from the store once, whatever is asked of it; what was
// read is forgotten when the object writes or removes a value, or opens or closes a key.
TEST_F(RegistryTest, EachValueIsReadOnceWhileItsKeyIsOpen) {
  const auto message_of = [](const std::function<void()>& read) -> std::string {
    try {
      read();
    } catch (const ERegistryException& e) {
      return e.what();
    }
    return "";
  };
  const struct {
    std::string label;
    std::function<std::string(TRegistry&)> steps;  // what they read, in one text
    std::string read;
    int reads;
  } cases[] = {
      {"exists, then text twice",
       [](TRegistry& r) {
         return std::to_string(r.HasValue("Text")) + r.ReadText("Text") + r.ReadText("Text");
       },
       "1hellohello", 1},
      {"missing, then text and flag",
       [&](TRegistry& r) {
         return std::to_string(r.HasValue("NoRemove")) + r.ReadText("NoRemove") +
                message_of([&] { r.ReadFlag("NoRemove"); });
       },
       "0Failed to get data for 'NoRemove'", 1},
      {"a failed read is kept too",
       [&](TRegistry& r) {
         return message_of([&] { r.ReadText("Number"); }) +
                message_of([&] { r.ReadText("Number"); }) + std::to_string(r.ReadFlag("Number"));
       },
       "Invalid data type for 'Number'Invalid data type for 'Number'1", 1},
      {"two values", [](TRegistry& r) { return r.ReadText("Text") + r.ReadText("Expand"); },
       "hello%PATH%", 2},
      {"the store changes meanwhile",
       [&](TRegistry& r) {
         const std::string before = r.ReadText("Text");
         raw.SetText(kHkeyCurrentUser, "V", "Text", "changed");
         return before + r.ReadText("Text");
       },
       "hellohello", 1},
      {"reopened",
       [](TRegistry& r) {
         const std::string before = r.ReadText("Text");
         r.OpenPath("\\V", platform::IfMissing::kFail);
         return before + r.ReadText("Text");
       },
       "hellohello", 2},
      {"written",
       [](TRegistry& r) {
         const std::string before = r.ReadText("Text");
         r.WriteText("Text", "new");
         return before + r.ReadText("Text");
       },
       "hellonew", 2},
      {"removed",
       [](TRegistry& r) {
         const std::string before = std::to_string(r.HasValue("Text"));
         r.RemoveValue("Text");
         return before + std::to_string(r.HasValue("Text"));
       },
       "10", 2},
      {"closed",
       [](TRegistry& r) {
         const std::string before = std::to_string(r.HasValue("Text"));
         r.ClosePath();
         return before + std::to_string(r.HasValue("Text"));
       },
       "10", 1},
  };
  for (const auto& c : cases) {
    SetUp();
    CountingRegistry counting(raw);
    TRegistry reg(counting);
    ASSERT_TRUE(reg.OpenPath("V", platform::IfMissing::kFail));
    EXPECT_EQ(c.steps(reg), c.read) << c.label;
    EXPECT_EQ(counting.reads, c.reads) << c.label;
  }
}

// A key that another object holds open serves as the root of the paths opened below it.
TEST_F(RegistryTest, AnOpenKeyServesAsAnotherObjectsRoot) {
  TRegistry parent(raw);
  ASSERT_TRUE(parent.OpenPath("K", platform::IfMissing::kFail));
  EXPECT_EQ(parent.SubkeyCount(), 1u);
  std::string name;
  ASSERT_TRUE(parent.ReadSubkeyName(0, name));
  EXPECT_EQ(name, "A");
  EXPECT_FALSE(parent.ReadSubkeyName(1, name));
  {
    TRegistry child(raw);
    child.SelectParent(parent);
    ASSERT_TRUE(child.OpenPath(name + "\\B", platform::IfMissing::kFail));
    EXPECT_EQ(child.ReadText("Where"), "K\\A\\B");
  }
  // The child closed its own key and left the parent's open.
  EXPECT_EQ(raw.OpenHandleCount(), 1u);
  EXPECT_EQ(parent.SubkeyCount(), 1u);
}

TEST_F(RegistryTest, ShortNumbersAndWrongTypesAsFlags) {
  raw.SetValue(kHkeyCurrentUser, "V", "Short", platform::kRegDword, {1, 0});
  raw.SetValue(kHkeyCurrentUser, "V", "TextFlag", platform::kRegSz, {'1', 0});
  TRegistry reg(raw);
  ASSERT_TRUE(reg.OpenPath("V", platform::IfMissing::kFail));
  EXPECT_TRUE(reg.ReadFlag("Short"));
  EXPECT_THROW(reg.ReadFlag("TextFlag"), ERegistryException);
}

TEST_F(RegistryTest, WritesCreateTheKeyAndEmptyTextIsAValue) {
  TRegistry reg(raw);
  EXPECT_THROW(reg.WriteText("Last", "x"), ERegistryException);  // no key open
  ASSERT_TRUE(reg.OpenPath("Software\\Quillon\\Tapwise Uninstaller", platform::IfMissing::kCreate));
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
  EXPECT_FALSE(reg.OpenPath("Missing", platform::IfMissing::kFail));
  reg.ListSubkeyNames(names);
  EXPECT_TRUE(names.empty());
  ASSERT_TRUE(reg.OpenPath("\\K", platform::IfMissing::kFail));
  reg.ListSubkeyNames(names);
  EXPECT_EQ(names, std::vector<std::string>{"A"});
  ASSERT_TRUE(reg.OpenPath("A\\B", platform::IfMissing::kFail));
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
    ASSERT_TRUE(reg.OpenPath("SOFTWARE\\Z", platform::IfMissing::kFail));
    EXPECT_EQ(reg.ReadText("View"), c.view);
    // The program spells the same key "Software" too.
    ASSERT_TRUE(reg.OpenPath("\\Software\\Z", platform::IfMissing::kFail));
    EXPECT_EQ(reg.ReadText("View"), c.view);
  }
}

TEST_F(RegistryTest, SelectingAnotherRootClosesTheKey) {
  TRegistry reg(raw);
  ASSERT_TRUE(reg.OpenPath("V", platform::IfMissing::kFail));
  reg.SelectRoot(kHkeyCurrentUser);
  EXPECT_TRUE(reg.HasValue("Text"));
  reg.SelectRoot(kHkeyLocalMachine);
  EXPECT_FALSE(reg.HasValue("Text"));
  EXPECT_EQ(raw.OpenHandleCount(), 0u);
}

}  // namespace
