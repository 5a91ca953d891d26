// The catalogue: the uninstall registry read into the program and recent lists, and the two
// program submenus made from them.

#include <exception>
#include <memory>

#include "app/form1.h"
#include "app/form2.h"
#include "app/launch_plan.h"
#include "app/texts.h"
#include "framework/application.h"
#include "platform/text.h"

namespace app {
namespace {

std::string PromptText(const std::string& display_name) {
  return "You tried to uninstall \"" + display_name +
         "\", but it still exists.\r\rWould you like to uninstall it using more powerful "
         "uninstaller?";
}

}  // namespace

bool TForm1::HideMicrosoft() const {
  return Form2->CheckBox1.Checked();
}
bool TForm1::ShowNoRemove() const {
  return Form2->CheckBox2.Checked();
}

void TForm1::RebuildProgramMenus() {
  // The start-up build arms the auto-close. The build that the options dialog asks for leaves
  // the flag alone: a tick during its message pumping must not end the program under the
  // dialog.
  if (State.Activating) State.AutoCloseArmed = true;
  const std::string last = ReadLastCommand();
  // Sorting stays off while the passes add their lines and is switched on once they are all
  // in: the order is the one that inserting each at its sorted place gives, at n log n.
  ListBox1.Clear();
  ListBox1.SetSorted(false);
  ListBox2.Clear();
  ListBox2.SetSorted(false);
  All->Clear();
  Recent1->Clear();
  ScanCatalogue();
  ListBox1.SetSorted(true);
  ListBox2.SetSorted(true);

  framework::TMessagePacer pacer(Application());
  // One program listed in several views or roots is still one program: one question.
  bool asked = false;
  for (std::size_t i = 0; i < ListBox1.Count(); ++i) {
    pacer.Step();
    const ProgramEntry program = ListBox1[i].data;
    if (!asked && State.Activating && !last.empty() &&
        text::EqualsIgnoringAsciiCase(last, UninstallCommand(program))) {
      asked = true;
      StillPresentPrompt(program.name);
    }
    AddProgramItem(*All, "MyItem", program);
  }
  for (std::size_t n = ListBox2.Count(); n > 0 && Recent1->Count() < kRecentItems; --n) {
    AddProgramItem(*Recent1, "MyItem2", ListBox2[n - 1].data);
  }
}

void TForm1::AddProgramItem(framework::TMenuItem& submenu, const char* name,
                            const ProgramEntry& program) {
  framework::TMenuItem& item = submenu.Add(std::make_unique<TProgramMenuItem>(name, program));
  item.OnClick = [this](framework::TMenuItem& sender) { ProgramItemClick(sender); };
}

std::string TForm1::ReadLastCommand() {
  platform::TRegistry registry(Application().Platform().registry);
  try {
    registry.SelectRoot(platform::kHkeyCurrentUser);
    if (!registry.OpenPath(std::string(kSettingsKey), false)) return {};
    if (!registry.HasValue(std::string(kLastValue))) return {};
    std::string last = registry.ReadText(std::string(kLastValue));
    // A failed delete leaves the value for the next start; the prompt still comes now.
    registry.RemoveValue(std::string(kLastValue));
    return last;
  } catch (const std::exception&) {
    // An unreadable value is no command of any program, and stays stored.
    return {};
  }
}

void TForm1::StillPresentPrompt(const std::string& display_name) {
  State.AutoCloseArmed = false;
  Timer1.SetEnabled(false);
  const int answer = Windowing().ShowMessageBox(Application().Handle(), PromptText(display_name),
                                                std::string(kTitle),
                                                platform::kMbYesNo | platform::kMbIconInformation);
  if (answer == platform::kIdYes) {
    // The user is sent to the tools page; the activation ends the program instead of showing
    // the menu.
    ending_ = true;
    OpenWebPage(kToolsPage);
  }
  // Whatever the answer, a dismissed menu must end the program again.
  State.AutoCloseArmed = true;
}

ScanFilters TForm1::Filters() const {
  return ScanFilters{.hide_microsoft = HideMicrosoft(), .show_no_remove = ShowNoRemove()};
}

void TForm1::ScanCatalogue() {
  // Each key is read once. The 64-bit view of the machine's key is another key only under
  // WOW64; on 32-bit Windows the flag is ignored and would read the same key again. The user's
  // key is shared by both views everywhere.
  std::vector<ScanPass> passes{{.view64 = false, .machine = true}};
  if (Application().Platform().registry.HasSeparate64BitView()) {
    passes.push_back({.view64 = true, .machine = true});
  }
  passes.push_back({.view64 = false, .machine = false});
  AddScanned(ScanPasses(Application().Platform(), passes, Filters()));
}

void TForm1::ScanUninstallKey(bool view64, bool machine) {
  AddScanned(ScanPasses(Application().Platform(), {ScanPass{view64, machine}}, Filters()));
}

void TForm1::AddScanned(const std::vector<ScannedProgram>& found) {
  for (const ScannedProgram& scanned : found) {
    const ProgramEntry& program = scanned.program;
    ListBox1.Add(program.name + std::string(kEntrySeparator) + program.command, program);
    if (scanned.date) ListBox2.Add(*scanned.date + " " + program.name, program);
  }
}

}  // namespace app
