#pragma once

// The hidden main form: the wiring between the menu and the program's rules. It builds the
// menu, steps the popup cycle, and shows every box; a choice it hands to its feature as an
// action (choices.h), whose work runs off the GUI thread and whose verdict it then follows. It
// owns the catalogue and the running programs as last read, the popup menu and the auto-close
// timer.

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/catalogue/catalogue.h"
#include "app/catalogue/catalogue_reading.h"
#include "app/entry/program_entry.h"
#include "app/icons/menu_icons.h"
#include "app/menu/action.h"
#include "app/menu/list_typing.h"
#include "app/menu/program_state.h"
#include "app/paths/registered_path.h"
#include "framework/form.h"
#include "framework/jobs.h"
#include "framework/menu.h"
#include "framework/take_or_wait.h"
#include "framework/timer.h"

namespace app {

class OptionsDialog;
class ProgressForm;

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

// A record of an uninstall whose program is gone, in the "Left behind" submenu.
class LeftBehindMenuItem : public framework::TMenuItem {
 public:
  explicit LeftBehindMenuItem(KeptRecord record);
  const KeptRecord Record;
};

class MainForm : public framework::TForm {
 public:
  // startup: the catalogue being read since the start, taken by the first build; without one,
  // that build reads it then.
  MainForm(framework::TApplication& app, ProgramState& state,
           std::unique_ptr<CatalogueReading> startup = nullptr);
  ~MainForm() override;

  // The options dialog, made when it is first wanted: the menu comes up without it, and
  // without the libraries its controls load.
  OptionsDialog& Options();

  // Reads the catalogue again with the options as they stand, and fills both program submenus.
  void RebuildProgramMenus();
  // The same, off the GUI thread: the menu comes back once the list is read again.
  void RebuildAfterOptions();
  // Reads the running programs again, and fills "Kill Process".
  void RebuildProcessMenu();

  // Runs an action: the cycle waits in its running state for the reply, then follows the
  // verdict.
  void RunAction(ActionWork work);
  // Does what a verdict says: its box, then its next action or the end.
  void Follow(Verdict verdict);
  // The review, modal, then the removal of what it checked.
  void Review(LeftoverReview review);
  // Every box the program shows: replies that come meanwhile wait until it is closed.
  int ShowBox(const Box& box, platform::WindowId owner = platform::kNoWindow);

  // For the menu's commands. A window shown from the menu holds the auto-close while it is up;
  // the menu then pops up again at the cursor.
  void ShowThenMenuAgain(const std::function<void()>& show);
  void ReShowMenu();
  // Opens a page of the maker's site, then ends the program.
  void OpenWebPageAndEnd(std::string_view path);
  // Ends the program, once every start under way has replied.
  void End();

  const Catalogue& CurrentCatalogue() const { return catalogue_; }
  // The program uninstalled last, still listed, as the start-up build found it: the question
  // about it follows the build.
  const std::optional<std::string>& StillInstalled() const { return still_installed_; }
  const std::vector<std::string>& RunningProgramNames() const { return running_programs_; }

  framework::TPopupMenu& Menu() { return menu_; }
  MenuIcons& Icons() { return icons_; }
  // The three submenus that the program fills.
  framework::TMenuItem& AllProgramsMenu() const { return *all_programs_; }
  framework::TMenuItem& RecentProgramsMenu() const { return *recent_programs_; }
  framework::TMenuItem& KillProcessMenu() const { return *kill_process_; }
  framework::TMenuItem& LeftBehindMenu() const { return *left_behind_; }

 protected:
  void Activate() override;

 private:
  void BuildMenu();
  void FillAllPrograms(framework::TMenuItem& menu);
  void AddProgramItem(framework::TMenuItem& submenu, const char* name, const ProgramEntry& program);
  // The popup cycle: an event told to its rules, and their answer done. An event raised while
  // an answer is being done waits for it to be done.
  void Step(CycleEvent event);
  void DoStep(CycleEvent event);
  void BuildAtStart();
  void AskAboutStillInstalled();
  void OnActionEnded(Verdict verdict, bool stepped);
  // The action's work started; stepped: the cycle waits for its reply (not so for the tools
  // page as the program ends).
  void StartAction(ActionWork work, bool stepped);
  void CloseOnceStartsReplied();
  // The catalogue with the options as they stand, sorted: the one read since the start, the
  // first time there is one.
  Catalogue ReadCatalogue();
  // Both program submenus filled from the catalogue, when they first open.
  void FillProgramMenus(Catalogue catalogue);
  void OnRebuilt();
  void FinishSetAside();
  void PopupAtCursor();
  void OnMenuClosed();
  void OnAutoCloseTick();
  // Choices.
  void OnProgramChosen(framework::TMenuItem& sender);
  void OnProcessChosen(framework::TMenuItem& sender);
  void OnLeftBehindChosen(framework::TMenuItem& sender);
  void RebuildLeftBehindMenu();
  void OnProgressDue();
  // What typing selects among in a submenu; nothing for the fixed ones.
  std::optional<ListKind> TypingKindOf(const framework::TMenuItem& submenu) const;
  // Icons: looked for as the menu appears, shown as they arrive.
  void OnMenuLoopEntered();
  void OnIconsArrived();

  ProgramState& state_;
  OptionsDialog* options_dialog_ = nullptr;
  Catalogue catalogue_;
  // The reading under way: the one started with the program, taken by the first build, or the
  // one the options dialog's OK started, whose end fills the menus again.
  std::unique_ptr<CatalogueReading> reading_;
  std::vector<std::string> running_programs_;
  // The program uninstalled last, still listed: the start-up build found it.
  std::optional<std::string> still_installed_;
  // The popup cycle's events raised while one was being answered.
  std::deque<CycleEvent> raised_;
  bool stepping_ = false;
  bool close_asked_ = false;
  // The run's one answer to which drives are remote: the scans' and the icons' workers share it.
  std::shared_ptr<RemoteDrives> drives_;
  // Work handed back to the GUI thread: the icons' searches. Before them, which cancel their
  // jobs as they go.
  framework::TJobs jobs_;
  framework::TJobs::Job set_aside_job_;
  // The chosen actions' work. Each runs to its reply: the program never ends while a start is
  // under way, so a consent prompt is never left without its program.
  framework::TJobs actions_;
  // Before the menu: its items' bitmaps are deleted after the menus that show them.
  MenuIcons icons_;
  framework::TPopupMenu menu_;
  ListTyping typing_;
  framework::TTimer auto_close_timer_;
  // Work that takes longer than a moment after a choice is said to be under way.
  framework::TTimer progress_timer_;
  ProgressForm* progress_form_ = nullptr;
  std::string progress_text_;
  framework::TMenuItem* all_programs_ = nullptr;
  framework::TMenuItem* recent_programs_ = nullptr;
  framework::TMenuItem* kill_process_ = nullptr;
  framework::TMenuItem* left_behind_ = nullptr;
  // The records whose program is gone, looked for while the catalogue is read.
  std::unique_ptr<framework::TTakeOrWait<std::vector<KeptRecord>>> left_behind_reading_;
};

}  // namespace app
