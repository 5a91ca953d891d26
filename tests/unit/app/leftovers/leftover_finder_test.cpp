// The finder over a machine where Widget was uninstalled and Gadget, of the same publisher,
// stays: what Widget left is found, each item once, and nothing of Gadget's, the publisher's
// shared folders or the user's own documents.

#include "app/leftovers/leftover_finder.h"

#include <gtest/gtest.h>

#include "app/harness.h"
#include "app/leftovers/shortcut_bytes.h"

namespace {

using testing_support::Entry, testing_support::kLm32;

const std::string kWidget = "C:\\Program Files (x86)\\Acme\\Widget";
const std::string kGadget = "C:\\Program Files (x86)\\Acme\\Gadget";
const std::string kRoaming = "C:\\Users\\user\\AppData\\Roaming";
const std::string kLocal = "C:\\Users\\user\\AppData\\Local";
const std::string kStartMenu = kRoaming + "\\Microsoft\\Windows\\Start Menu\\Programs\\Acme";

std::string Escaped(const std::string& text) {
  std::string out;
  for (const char c : text) out += c == '\\' ? std::string("\\\\") : std::string(1, c);
  return out;
}

std::string Registry() {
  const std::string gone = "\"\\\"" + Escaped(kWidget) + "\\\\widget.exe\\\"\"";
  const std::string run = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
  return Entry(kLm32 + "Gadget", {"\"DisplayName\"=\"Gadget\"", "\"Publisher\"=\"Acme\"",
                                  "\"InstallLocation\"=\"" + Escaped(kGadget) + "\"",
                                  "\"UninstallString\"=\"" + Escaped(kGadget) + "\\\\u.exe\""}) +
         Entry("HKEY_CURRENT_USER\\" + run, {"\"Widget\"=" + gone}) +
         Entry("HKEY_CURRENT_USER\\Software\\Acme\\Widget", {"\"Seen\"=\"1\""}) +
         Entry("HKEY_CURRENT_USER\\Software\\Acme\\Gadget", {"\"Seen\"=\"1\""}) +
         Entry("HKEY_CURRENT_USER\\Software\\Classes\\.acmeWidget\\shell\\open\\command",
               {"@=" + gone});
}

struct Machine {
  sim::SimPlatform sim;
  platform::Platform bound = sim.Bind();
  Machine() {
    sim.registry.LoadRegText(std::string(testing_support::kRegHeader) + Registry());
    sim.launcher.SetEnvironmentVariable("ProgramFiles(x86)", "C:\\Program Files (x86)");
    sim.launcher.SetEnvironmentVariable("APPDATA", kRoaming);
    sim.files.AddFile(kGadget + "\\u.exe", {2021, 1, 1});
    for (const std::string& file : std::vector<std::string>{
             kWidget + "\\logs\\Widget.log", kGadget + "\\gadget.exe",
             kRoaming + "\\Acme\\Widget\\a.ini", kLocal + "\\Acme\\Widget\\Cache\\c.bin",
             kRoaming + "\\Acme\\Gadget\\g.ini",
             "C:\\Users\\user\\Documents\\Widget files\\mine.acmeWidget"}) {
      sim.file_store.CreateFolders(file.substr(0, file.find_last_of('\\')));
      sim.file_store.WriteNewFile(file, {'1', '2', '3'});
    }
    using namespace shortcut_bytes;
    sim.file_store.CreateFolders(kStartMenu);
    sim.file_store.WriteNewFile(
        kStartMenu + "\\Widget.lnk",
        Lnk(kInfo | kWide, {LinkInfo(u"C:\\Program Files (x86)\\Acme\\Widget", u"\\widget.exe")}));
    sim.file_store.WriteNewFile(
        kStartMenu + "\\Gadget.lnk",
        Lnk(kInfo | kWide, {LinkInfo(u"C:\\Program Files (x86)\\Acme\\Gadget", u"\\gadget.exe")}));
  }
};

app::EvidenceRecord WidgetRecord(const std::string& entry_id) {
  return {.entry_id = entry_id,
          .name = "Widget 1.0",
          .publisher = "Acme Inc.",
          .version = "1.0",
          .install_location = kWidget,
          .uninstaller_folder = kWidget};
}

std::vector<std::string> Found(const std::vector<app::LeftoverItem>& items) {
  std::vector<std::string> found;
  for (const auto& item : items) {
    found.push_back((item.certain ? "certain " : "possible ") + item.place +
                    (item.value_name.empty() ? "" : " : " + item.value_name));
  }
  return found;
}

TEST(LeftoverFinder, FindsWhatTheEvidenceTiesToTheProgramAndNothingElse) {
  Machine machine;
  const auto items = app::FindLeftovers(machine.bound, WidgetRecord("HKCU/Widget"),
                                        app::ReadListedEvidence(machine.bound));
  EXPECT_EQ(Found(items), (std::vector<std::string>{
                              "certain Software\\Microsoft\\Windows\\CurrentVersion\\Run : Widget",
                              "certain Software\\Classes\\.acmeWidget",
                              "certain " + kStartMenu + "\\Widget.lnk",
                              "certain " + kWidget,
                              "possible " + kRoaming + "\\Acme\\Widget",
                              "possible " + kLocal + "\\Acme\\Widget",
                              "possible Software\\Acme\\Widget",
                          }));
  ASSERT_GE(items.size(), 4u);
  EXPECT_EQ(items[3].size, 3u) << "the folder's files, counted";
}

TEST(LeftoverFinder, AnEntryThatNamedNoLocalFolderOffersOnlyReferences) {
  Machine machine;
  for (const char* location : {"", "Acme\\Widget", "\\\\server\\share\\Widget"}) {
    app::EvidenceRecord record = WidgetRecord("HKCU/Widget");
    record.install_location = location;
    const auto items =
        app::FindLeftovers(machine.bound, record, app::ReadListedEvidence(machine.bound));
    EXPECT_EQ(items.size(), 3u) << location;
    for (const auto& item : items) EXPECT_TRUE(item.certain) << location << ": " << item.place;
  }
}

TEST(LeftoverFinder, APerMachineRecordIsTrustedOnlyForGoneReferences) {
  Machine machine;
  for (const auto& item : app::FindLeftovers(machine.bound, WidgetRecord("HKLM32/Widget"),
                                             app::ReadListedEvidence(machine.bound))) {
    EXPECT_EQ(item.certain,
              item.kind != app::LeftoverKind::kFolder && item.kind != app::LeftoverKind::kKey)
        << item.place;
  }
}

TEST(LeftoverFinder, ARecordThatNamesSharedOrSystemFoldersOffersNoneOfThem) {
  Machine machine;
  machine.sim.file_store.PutReparsePoint(kLocal + "\\Acme");
  for (const std::string& location :
       {std::string("C:\\"), std::string("C:\\Windows"), std::string("C:\\Program Files (x86)"),
        std::string("C:\\Users\\user"), std::string("C:\\Users\\user\\Downloads"),
        std::string("C:\\Program Files (x86)\\Acme"), kGadget + "\\..\\Gadget",
        std::string("C:\\PROGRA~2\\Acme\\Gadget")}) {
    app::EvidenceRecord record = WidgetRecord("HKCU/Widget");
    record.install_location = record.uninstaller_folder = location;
    for (const auto& item :
         app::FindLeftovers(machine.bound, record, app::ReadListedEvidence(machine.bound))) {
      if (item.kind != app::LeftoverKind::kFolder) continue;
      // Only the folder named exactly as the program, and not the one reached through a link.
      EXPECT_EQ(item.place, kRoaming + "\\Acme\\Widget") << location;
    }
  }
}

}  // namespace
