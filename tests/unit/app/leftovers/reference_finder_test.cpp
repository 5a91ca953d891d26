// References to a removed program's files that the registry still holds: offered only when the
// file is gone and lay in the program's own folders, and a file type only when it holds nothing
// of another program's.

#include "app/leftovers/reference_finder.h"

#include <gtest/gtest.h>

#include "app/harness.h"

namespace {

using testing_support::Entry;

const std::string kCuSoftware = "HKEY_CURRENT_USER\\Software\\";
const std::string kLm32Software = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\";
const std::string kRun = "Microsoft\\Windows\\CurrentVersion\\Run";
const std::string kGone =
    "\"\\\"C:\\\\Program Files (x86)\\\\Acme\\\\Widget\\\\widget.exe\\\" %1\"";
const std::string kThere = "\"\\\"C:\\\\Program Files (x86)\\\\Acme\\\\Gadget\\\\gadget.exe\\\"\"";

std::string Registry() {
  return Entry(kCuSoftware + kRun, {"\"Widget\"=" + kGone, "\"Gadget\"=" + kThere}) +
         Entry(kLm32Software + kRun, {"\"Widget Tray\"=" + kGone}) +
         Entry(kCuSoftware + "Classes\\.acmeWidget\\shell\\open\\command", {"@=" + kGone}) +
         // A type that names another class, and a class that holds more than its commands.
         Entry(kCuSoftware + "Classes\\.txt", {"@=\"txtfile\""}) +
         Entry(kCuSoftware + "Classes\\.txt\\shell\\widget\\command", {"@=" + kGone}) +
         Entry(kCuSoftware + "Classes\\Shared.File\\shell\\open\\command", {"@=" + kGone}) +
         Entry(kCuSoftware + "Classes\\Shared.File\\shell\\edit\\command", {"@=" + kThere}) +
         Entry(kLm32Software + "Microsoft\\Windows\\CurrentVersion\\App Paths\\widget.exe",
               {"@=\"C:\\\\Program Files (x86)\\\\Acme\\\\Widget\\\\widget.exe\""});
}

TEST(ReferenceFinder, OffersOnlyReferencesToGoneFilesInTheProgramsFolders) {
  sim::SimPlatform sim;
  sim.registry.LoadRegText(std::string(testing_support::kRegHeader) + Registry());
  sim.files.AddFile("C:\\Program Files (x86)\\Acme\\Gadget\\gadget.exe", {2021, 1, 1});
  platform::Platform bound = sim.Bind();
  const app::PathSystem paths = app::PathSystemOf(bound);
  const auto items =
      app::FindReferences({sim.registry, paths}, {"C:\\Program Files (x86)\\Acme\\Widget"});
  std::vector<std::string> found;
  for (const auto& item : items) {
    EXPECT_TRUE(item.certain);
    found.push_back(item.place + (item.value_name.empty() ? "" : " : " + item.value_name));
  }
  const std::string run = "Software\\" + kRun;
  EXPECT_EQ(found, (std::vector<std::string>{
                       run + " : Widget",
                       "Software\\Classes\\.acmeWidget",
                       "Software\\Classes\\.txt\\shell\\widget\\command",
                       "Software\\Classes\\Shared.File\\shell\\open\\command",
                       run + " : Widget Tray",
                       "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\widget.exe",
                   }));
  EXPECT_TRUE(
      app::FindReferences({sim.registry, paths}, {"C:\\Program Files (x86)\\Acme"}).size() ==
      items.size())
      << "a folder above the program's holds its files too";
  EXPECT_TRUE(app::FindReferences({sim.registry, paths}, {"C:\\Other"}).empty());
}

}  // namespace
