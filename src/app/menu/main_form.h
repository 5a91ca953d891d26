#pragma once

// The hidden main form: the wiring between the menu and the program's rules. It owns the
// catalogue and the running programs as last read, the popup menu and the auto-close timer.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/catalogue/catalogue.h"
#include "app/catalogue/startup_catalogue.h"
#include "app/entry/program_entry.h"
#include "app/icons/menu_icons.h"
#include "app/menu/list_typing.h"
#include "app/menu/program_state.h"
#include "app/paths/registered_path.h"
#include "framework/form.h"
#include "framework/jobs.h"
#include "framework/menu.h"
#include "framework/timer.h"

namespace app {

class OptionsDialog;

// A generated "All Programs" or "Recent Programs" item keeps the program it was made from.
class ProgramMenuItem : public framework::TMenuItem {
 public:
  ProgramMenuItem(std::string name, ProgramEntry program);
  const ProgramEntry Program;
};

// A generated "Kill Process" item keeps the executable name it was made from.
class ProcessMenuItem : public framework::TMenuItem {
 public:
  explicit ProcessMenuItem(std::string process_name);
  const std::string ProcessName;
};

class MainForm : public framework::TForm {
 public:
  // startup: the catalogue being read since the start, taken by the first build; without one,
  // that build reads it then.
  MainForm(framework::TApplication& app, ProgramState& state,
           std::unique_ptr<StartupCatalogue> startup = nullptr);
  ~MainForm() override;

  // The options dialog, made when it is first wanted: the menu comes up without it, and
  // without the libraries its controls load.
  OptionsDialog& Options();

  // Reads the catalogue again with the options as they stand, and fills both program submenus.
  void RebuildProgramMenus();
  // Reads the running programs again, and fills "Kill Process".
  void RebuildProcessMenu();

  // Starts the chosen program's uninstaller; a box says why when none can start.
  void LaunchUninstall(const ProgramEntry& program);

  // For the menu's commands. A window shown from the menu holds the auto-close while it is up;
  // the menu then pops up again at the cursor.
  void ShowThenMenuAgain(const std::function<void()>& show);
  void ReShowMenu();
  // Opens a page of the maker's site, then ends the program.
  void OpenWebPageAndEnd(std::string_view path);
  // Ends the program.
  void End();

  const Catalogue& CurrentCatalogue() const { return catalogue_; }
  const std::vector<std::string>& RunningProgramNames() const { return running_programs_; }

  framework::TPopupMenu& Menu() { return menu_; }
  MenuIcons& Icons() { return icons_; }
  // The three submenus that the program fills.
  framework::TMenuItem& AllProgramsMenu() const { return *all_programs_; }
  framework::TMenuItem& RecentProgramsMenu() const { return *recent_programs_; }
  framework::TMenuItem& KillProcessMenu() const { return *kill_process_; }

 protected:
  void Activate() override;

 private:
  void BuildMenu();
  void FillAllPrograms(framework::TMenuItem& menu);
  void AddProgramItem(framework::TMenuItem& submenu, const char* name, const ProgramEntry& program);
  // The popup cycle: an event told to its rules, and their answer done.
  void Step(CycleEvent event);
  void BuildAtStart();
  // The catalogue with the options as they stand, sorted: the one read since the start, the
  // first time there is one.
  Catalogue ReadCatalogue();
  void PopupAtCursor();
  void OnMenuClosed();
  void OnAutoCloseTick();
  // Choices.
  void OnProgramChosen(framework::TMenuItem& sender);
  void OnProcessChosen(framework::TMenuItem& sender);
  // With Shift: the uninstall without the program's own questions, where its installer
  // registered one; false when it did not, and the usual uninstaller is the choice.
  bool UninstallQuietly(const ProgramEntry& program);
  void AskAboutStillInstalled(const std::string& display_name);
  void ShowNotice(const std::string& text);
  void OpenWebPage(std::string_view path);
  // What typing selects among in a submenu; nothing for the fixed ones.
  std::optional<ListKind> TypingKindOf(const framework::TMenuItem& submenu) const;
  // Icons: looked for as the menu appears, shown as they arrive.
  void OnMenuLoopEntered();
  void OnIconsArrived();

  ProgramState& state_;
  OptionsDialog* options_dialog_ = nullptr;
  Catalogue catalogue_;
  std::unique_ptr<StartupCatalogue> startup_catalogue_;
  std::vector<std::string> running_programs_;
  // The run's one answer to which drives are remote: the scans' and the icons' workers share it.
  std::shared_ptr<RemoteDrives> drives_;
  // Work handed back to the GUI thread: the icons' searches. Before them, which cancel their
  // jobs as they go.
  framework::TJobs jobs_;
  // Before the menu: its items' bitmaps are deleted after the menus that show them.
  MenuIcons icons_;
  framework::TPopupMenu menu_;
  ListTyping typing_;
  framework::TTimer auto_close_timer_;
  framework::TMenuItem* all_programs_ = nullptr;
  framework::TMenuItem* recent_programs_ = nullptr;
  framework::TMenuItem* kill_process_ = nullptr;
};

}  // namespace app
