// The catalogue: the uninstall registry read into the program and recent lists, and the two
// program submenus made from them.

#include <algorithm>
#include <cstdio>
#include <exception>
#include <memory>

#include "app/form1.h"
#include "app/form2.h"
#include "app/texts.h"
#include "framework/application.h"
#include "platform/text.h"

namespace app {
namespace {

constexpr std::size_t kDateLength = 8;
constexpr std::string_view kExeSuffix = ".EXE";
// Commands of these system programs name no program's own file.
constexpr std::string_view kMsiExec = "MSIEXEC.EXE";
constexpr std::string_view kRunDll = "RUNDLL32.EXE";

// "5/1/2023" or "01.05.23" would sort among real dates as if it were one.
bool IsDate(std::string_view value) {
  return value.size() == kDateLength &&
         std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// FindFirstFile takes "*" and "?" as wildcards: such a path would date the entry by whichever
// file happens to match.
bool NamesOneFile(std::string_view path) {
  return !path.empty() && path.find_first_of("*?") == std::string_view::npos;
}

std::string SubkeyPath(const std::string& subkey) {
  return std::string(kUninstallKey) + "\\" + subkey;
}

// The file an upper-cased uninstall command starts: up to and including its first ".EXE",
// without a leading quote.
std::string CommandFile(const std::string& command) {
  const std::size_t at = text::Pos(kExeSuffix, command);
  std::string path = command.substr(0, at == 0 ? 3 : at + 3);
  if (!path.empty() && path.front() == '"') path.erase(0, 1);
  return path;
}

std::string FormatDate(const platform::Date& date) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%04d%02d%02d", date.year % 10000, date.month % 100,
                date.day % 100);
  return buffer;
}

std::string PromptText(const std::string& display_name) {
  return "You tried to uninstall \"" + display_name +
         "\", but it still exists.\r\rWould you like to uninstall it using more powerful "
         "uninstaller?";
}

std::string CommandOf(platform::TRegistry& registry) {
  if (registry.HasValue("UninstallString")) return registry.ReadText("UninstallString");
  if (registry.HasValue("QuietUninstallString")) return registry.ReadText("QuietUninstallString");
  return {};
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
  for (std::size_t i = 0; i < ListBox1.Count(); ++i) {
    pacer.Step();
    const ProgramEntry program = ListBox1[i].data;
    if (State.Activating && !last.empty() && text::EqualsIgnoringAsciiCase(last, program.command)) {
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
    OpenWebPage(kToolsPage);
    try {
      CloseMainForm();
    } catch (const std::exception&) {
      // The program still ends with the auto-close.
    }
  }
  // Whatever the answer, a dismissed menu must end the program again.
  State.AutoCloseArmed = true;
}

void TForm1::ScanCatalogue() {
  // Each key is read once. The 64-bit view of the machine's key is another key only under
  // WOW64; on 32-bit Windows the flag is ignored and would read the same key again. The user's
  // key is shared by both views everywhere.
  ScanUninstallKey(false, true);
  if (Application().Platform().registry.HasSeparate64BitView()) ScanUninstallKey(true, true);
  ScanUninstallKey(false, false);
}

void TForm1::ScanUninstallKey(bool view64, bool machine) {
  const std::uint32_t access =
      view64 ? platform::kKeyRead | platform::kKeyWow64_64Key : platform::kKeyRead;
  platform::TRegistry registry(Application().Platform().registry, access);
  std::vector<std::string> names;
  registry.SelectRoot(machine ? platform::kHkeyLocalMachine : platform::kHkeyCurrentUser);
  registry.OpenPath(std::string(kUninstallKey), false);
  registry.ListSubkeyNames(names);
  registry.ClosePath();
  for (const std::string& name : names) {
    // One unreadable entry costs that entry alone, not the rest of the key.
    try {
      ScanSubkey(registry, name);
    } catch (const std::exception&) {
    }
    registry.ClosePath();
  }
}

void TForm1::ScanSubkey(platform::TRegistry& registry, const std::string& subkey) {
  if (!registry.OpenPath(SubkeyPath(subkey), false)) return;
  if (!registry.HasValue("DisplayName")) return;
  if (registry.HasValue("NoRemove") && registry.ReadFlag("NoRemove") && !ShowNoRemove()) return;
  if (HideMicrosoft()) {
    const std::string upper = text::UpperAscii(registry.ReadText("DisplayName"));
    if (text::Pos("WINDOWS", upper) != 0 || text::Pos("MICROSOFT", upper) != 0) return;
  }
  ProgramEntry program{registry.ReadText("DisplayName"), CommandOf(registry)};
  ListBox1.Add(program.name + std::string(kEntrySeparator) + program.command, program);
  if (const auto date = InstallDate(registry)) ListBox2.Add(*date + " " + program.name, program);
}

std::optional<std::string> TForm1::InstallDate(platform::TRegistry& registry) {
  if (registry.HasValue("InstallDate")) {
    std::string date = registry.ReadText("InstallDate");
    if (!IsDate(date)) return std::nullopt;
    return date;
  }
  const std::string file = CommandFile(text::UpperAscii(registry.ReadText("UninstallString")));
  if (!file.empty() && file != kMsiExec && file != kRunDll) {
    if (auto date = FileDate(file)) return date;
  }
  const std::string icon{text::Before(registry.ReadText("DisplayIcon"), ",")};
  return FileDate(icon);
}

std::optional<std::string> TForm1::FileDate(const std::string& path) {
  if (!NamesOneFile(path)) return std::nullopt;
  const auto date = Application().Platform().files.LastWriteDate(path);
  if (!date) return std::nullopt;
  return FormatDate(*date);
}

}  // namespace app
