#pragma once

// The hidden main form: it owns the catalogue, the process list, the popup menu and the
// auto-close timer, and handles every command of the menu.

#include <optional>
#include <string>
#include <vector>

#include "app/catalogue_scan.h"
#include "app/program_entry.h"
#include "app/program_state.h"
#include "framework/form.h"
#include "framework/menu.h"
#include "framework/sorted_list.h"
#include "framework/timer.h"
#include "platform/registry.h"

namespace app {

class TForm2;

// A generated "All Programs" or "Recent Programs" item keeps the program it was made from.
class TProgramMenuItem : public framework::TMenuItem {
 public:
  TProgramMenuItem(std::string name, ProgramEntry program);
  const ProgramEntry Program;
};

// A generated "Kill Process" item keeps the executable name it was made from.
class TProcessMenuItem : public framework::TMenuItem {
 public:
  explicit TProcessMenuItem(std::string process_name);
  const std::string ProcessName;
};

class TForm1 : public framework::TForm {
 public:
  TForm1(framework::TApplication& app, ProgramState& state);
  ~TForm1() override;

  // The options dialog is created after the main form; the scan reads its check boxes.
  void AttachOptions(TForm2& options) { Form2 = &options; }
  TForm2* Options() const { return Form2; }

  // Catalogue.
  void RebuildProgramMenus();
  void ScanUninstallKey(bool view64, bool machine);

  // Uninstall.
  void ProgramItemClick(framework::TMenuItem& sender);
  void LaunchUninstall(const ProgramEntry& program);

  // Processes.
  void RebuildProcessMenu();
  void RemoveDuplicateProcesses();
  void ProcessItemClick(framework::TMenuItem& sender);
  void RunElevated(const std::string& file, const std::string& parameters,
                   platform::WindowId owner);

  // Shell.
  void FormActivate();
  void CMMenuClosed();
  void Timer1Timer();
  void Exit1Click();
  void Options1Click();
  void About2Click();
  void SubscribeforUpdates1Click();
  void VistiWebPage1Click();
  void SendEmail1Click();
  void ReShowMenu();

  framework::TSortedList<ProgramEntry> ListBox1;  // program list: name <#> command
  framework::TSortedList<ProgramEntry> ListBox2;  // recent list: yyyymmdd name
  framework::TSortedList<> LBP;                   // process list
  framework::TPopupMenu PMenu1;
  framework::TTimer Timer1;

  framework::TMenuItem* All = nullptr;
  framework::TMenuItem* Recent1 = nullptr;
  framework::TMenuItem* Kill = nullptr;
  framework::TMenuItem* About1 = nullptr;
  framework::TMenuItem* Options1 = nullptr;
  framework::TMenuItem* SubscribeforUpdates1 = nullptr;
  framework::TMenuItem* VistiWebPage1 = nullptr;
  framework::TMenuItem* SendEmail1 = nullptr;
  framework::TMenuItem* About2 = nullptr;
  framework::TMenuItem* Exit1 = nullptr;

 protected:
  void Activate() override;

 private:
  void BuildMenuTree();
  void ActivationSteps();
  void PopupAtCursor();
  // Catalogue steps.
  std::string ReadLastCommand();
  void ScanCatalogue();
  ScanFilters Filters() const;
  // Appends what a scan found to the program list and, with a date, to the recent list.
  void AddScanned(const std::vector<ScannedProgram>& found);
  void StillPresentPrompt(const std::string& display_name);
  bool HideMicrosoft() const;
  bool ShowNoRemove() const;
  void AddProgramItem(framework::TMenuItem& submenu, const char* name, const ProgramEntry& program);
  // Uninstall.
  void RecordLastCommand(const std::string& command);
  // Processes.
  void ReadProcessTable();
  // Shell.
  void OpenWebPage(std::string_view path);
  // Requests the end of the program.
  void CloseMainForm() { Close(); }

  ProgramState& State;
  TForm2* Form2 = nullptr;
  bool activated_ = false;
  bool ending_ = false;  // the still-present prompt was answered "Yes"
};

}  // namespace app
