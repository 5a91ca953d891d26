// A registry item taken away: copied and verified first, then deleted alone; any step that
// fails leaves the registry as it was, and no copy that is not exact.

#include "app/leftovers/registry_item_removal.h"

#include <gtest/gtest.h>

#include "app/harness.h"

namespace {

using app::LeftoverKind;
constexpr platform::RegKey kCu = platform::kHkeyCurrentUser;
const std::string kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::string kWidget = "Software\\Acme\\Widget";
const std::string kCopy = std::string(sim::kLocalAppData) + "\\set\\0.reg";

struct Machine {
  sim::SimPlatform sim;
  platform::Platform bound = sim.Bind();
  Machine() {
    sim.registry.SetText(kCu, kRun, "Widget", "\"C:\\W\\w.exe\"");
    sim.registry.SetText(kCu, kRun, "Gadget", "\"C:\\G\\g.exe\"");
    sim.registry.SetText(kCu, kWidget + "\\Sub", "Seen", "1");
    sim.file_store.CreateFolders(std::string(sim::kLocalAppData) + "\\set");
  }
};

const app::LeftoverItem kRunItem{
    .kind = LeftoverKind::kRunValue, .root = kCu, .place = kRun, .value_name = "Widget"};
const app::LeftoverItem kKeyItem{.kind = LeftoverKind::kKey, .root = kCu, .place = kWidget};

TEST(RegistryItemRemoval, AValueGoesAloneAndAKeyWholeEachAfterItsExactCopy) {
  Machine machine;
  const auto value =
      app::RemoveRegistryItem(machine.bound, kRunItem, kCopy, [](app::ManifestStep) {});
  EXPECT_TRUE(value.removed) << value.reason;
  EXPECT_FALSE(machine.sim.registry.Value(kCu, kRun, "Widget"));
  EXPECT_TRUE(machine.sim.registry.Value(kCu, kRun, "Gadget")) << "the rest of its key stays";
  const auto key =
      app::RemoveRegistryItem(machine.bound, kKeyItem, kCopy + "2", [](app::ManifestStep) {});
  EXPECT_TRUE(key.removed) << key.reason;
  EXPECT_FALSE(machine.sim.registry.KeyExists(kCu, kWidget));
  EXPECT_TRUE(machine.sim.registry.KeyExists(kCu, "Software\\Acme"));
  EXPECT_EQ(machine.sim.file_store.Files().size(), 2u);
}

TEST(RegistryItemRemoval, AStepThatFailsLeavesTheRegistryAsItWas) {
  const struct {
    const char* label;
    void (*fault)(Machine&);
    bool copy_kept;
  } rows[] = {
      {"the copy reads back changed", [](Machine& m) { m.sim.file_store.CorruptReads(true); },
       false},
      {"the copy cannot be written",
       [](Machine& m) { m.sim.file_store.DenyWrites(std::string(sim::kLocalAppData) + "\\set"); },
       false},
      {"a link inside",
       [](Machine& m) { m.sim.registry.SetLink(kCu, kWidget + "\\Link", kCu, "Software\\Other"); },
       false},
      {"the delete is refused",
       [](Machine& m) { m.sim.registry.KeepFromDeletion(kCu, kWidget + "\\Sub"); }, true},
  };
  for (const auto& row : rows) {
    Machine machine;
    row.fault(machine);
    const auto removal =
        app::RemoveRegistryItem(machine.bound, kKeyItem, kCopy, [](app::ManifestStep) {});
    EXPECT_FALSE(removal.removed) << row.label;
    EXPECT_FALSE(removal.reason.empty()) << row.label;
    EXPECT_TRUE(machine.sim.registry.Value(kCu, kWidget + "\\Sub", "Seen")) << row.label;
    EXPECT_EQ(machine.sim.file_store.Files().count(kCopy), row.copy_kept ? 1u : 0u) << row.label;
  }
}

}  // namespace
