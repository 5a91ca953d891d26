#include "app/menu/main_form.h"

#include <map>
#include <memory>

#include "app/launch/last_command.h"
#include "app/menu/menu_commands.h"
#include "app/menu/messages.h"
#include "app/menu/options_dialog.h"
#include "app/menu/progress_form.h"
#include "app/orphans/set_aside.h"
#include "app/processes/processes.h"
#include "app/texts/texts.h"
#include "framework/application.h"
#include "platform/text.h"

namespace app {
namespace {

// Closing the menu without a choice that ends the program ends it this long after.
constexpr std::uint32_t kAutoCloseMs = 3000;
// Longer than a moment: the progress window is shown only for work still running after it.
constexpr std::uint32_t kProgressDelayMs = 500;

// The main form lies wholly left of the screen for the moment it is shown at start; the edge is
// given when its window is created.
constexpr int kOffScreenLeft = -200;
constexpr int kClientWidth = 153;
constexpr int kClientHeight = 97;

// Component names of the generated items.
constexpr const char* kProgramItemName = "ProgramItem";
constexpr const char* kRecentItemName = "RecentItem";
constexpr const char* kProcessItemName = "ProcessItem";
constexpr const char* kInitialItemName = "InitialGroup";
constexpr const char* kLeftBehindItemName = "LeftBehindItem";

framework::FormSpec MainFormSpec() {
  framework::FormSpec desc;
  desc.caption = std::string(kMainFormCaption);
  desc.left = kOffScreenLeft;
  desc.client_width = kClientWidth;
  desc.client_height = kClientHeight;
  desc.ex_style = platform::kWsExDlgModalFrame;
  return desc;
}

}  // namespace

ProgramMenuItem::ProgramMenuItem(std::string name, ProgramEntry program)
    : TMenuItem(std::move(name), text::EscapeAccessKeys(program.name), CaptionKind::kText),
      Program(std::move(program)) {}

ProcessMenuItem::ProcessMenuItem(std::string process_name)
    : TMenuItem(kProcessItemName, text::EscapeAccessKeys(process_name), CaptionKind::kText),
      ProcessName(std::move(process_name)) {}

LeftBehindMenuItem::LeftBehindMenuItem(KeptRecord record)
    : TMenuItem(kLeftBehindItemName,
                LeftBehindRowCaption(text::EscapeAccessKeys(record.record.name)),
                CaptionKind::kText),
      Record(std::move(record)) {}

MainForm::MainForm(framework::TApplication& app, ProgramState& state,
                   std::unique_ptr<CatalogueReading> startup)
    : TForm(app, MainFormSpec()),
      state_(state),
      reading_(std::move(startup)),
      drives_(reading_ ? reading_->Drives() : std::make_shared<RemoteDrives>(app.Platform().files)),
      jobs_(app),
      actions_(app),
      icons_(app.Platform(), drives_, jobs_),
      menu_(app),
      typing_(app.Platform().order,
              [this](const framework::TMenuItem& submenu) { return TypingKindOf(submenu); }),
      auto_close_timer_(app, kAutoCloseMs),
      progress_timer_(app, kProgressDelayMs) {
  BuildMenu();
  platform::Platform& platform = app.Platform();
  left_behind_reading_ = std::make_unique<framework::TTakeOrWait<std::vector<KeptRecord>>>(
      jobs_, [&platform](std::stop_token) { return RecordsOfGoneEntries(platform); });
  menu_.SetImages(&icons_.Images());
  menu_.SetTyping(&typing_);
  auto_close_timer_.OnTimer = [this] { OnAutoCloseTick(); };
  progress_timer_.OnTimer = [this] { OnProgressDue(); };
  OnMessage(kCmMenuClosed, [this](platform::WParam, platform::LParam) { OnMenuClosed(); });
  OnMessage(kCmEnterMenuLoop, [this](platform::WParam, platform::LParam) { OnMenuLoopEntered(); });
  jobs_.AfterHandovers([this] { OnIconsArrived(); });
}

MainForm::~MainForm() = default;

OptionsDialog& MainForm::Options() {
  if (options_dialog_ == nullptr) {
    options_dialog_ = &Application().CreateForm<OptionsDialog>(*this, state_.options);
  }
  return *options_dialog_;
}

void MainForm::BuildMenu() {
  std::map<std::string_view, framework::TMenuItem*> by_name{{"", &menu_.Items()}};
  for (const MenuRow& row : MenuRows()) {
    framework::TMenuItem& item = by_name.at(row.parent)
                                     ->Add(std::make_unique<framework::TMenuItem>(
                                         std::string(row.name), std::string(row.caption)));
    by_name[row.name] = &item;
    item.Default = row.is_default;
    if (row.command != nullptr) {
      item.OnClick = [this, command = row.command](framework::TMenuItem&) { command(*this); };
    }
    if (row.slot == Slot::kAllPrograms) all_programs_ = &item;
    if (row.slot == Slot::kRecentPrograms) recent_programs_ = &item;
    if (row.slot == Slot::kKillProcess) kill_process_ = &item;
    if (row.slot == Slot::kLeftBehind) {
      left_behind_ = &item;
      item.Hidden = true;  // until the records are read
    }
  }
}

void MainForm::RebuildProgramMenus() {
  const std::string last = TakeLastCommand(Application().Platform().registry);
  Catalogue catalogue = ReadCatalogue();
  // Only the start-up build asks; the one the options dialog asks for does not.
  if (InStartupBuild(state_.cycle)) {
    if (catalogue.set_aside_found) FinishSetAside();
    // One program listed in several views or roots is still one program: one question.
    still_installed_ = app::StillInstalled(catalogue, last);
  }
  FillProgramMenus(std::move(catalogue));
}

void MainForm::RebuildAfterOptions() {
  Step(CycleEvent::kRebuildStarted);
  // Its jobs are the actions': a box or a window shown meanwhile holds their end.
  reading_ = std::make_unique<CatalogueReading>(actions_, Application().Platform(), drives_,
                                                state_.options, [this] { OnRebuilt(); });
}

void MainForm::OnRebuilt() {
  Catalogue catalogue = std::exchange(reading_, nullptr)->Take();
  SortCatalogue(catalogue, Application().Platform().order);
  FillProgramMenus(std::move(catalogue));
  Step(CycleEvent::kRebuilt);
}

void MainForm::FillProgramMenus(Catalogue catalogue) {
  all_programs_->Clear();
  recent_programs_->Clear();
  catalogue_ = std::move(catalogue);
  // The submenus are filled when they first open: the menu comes up with the fixed items alone.
  all_programs_->FillOnOpen(!catalogue_.programs.empty(),
                            [this](framework::TMenuItem& menu) { FillAllPrograms(menu); });
  recent_programs_->FillOnOpen(!catalogue_.dated.empty(), [this](framework::TMenuItem& menu) {
    for (const ProgramEntry& program : RecentPrograms(catalogue_)) {
      AddProgramItem(menu, kRecentItemName, program);
    }
  });
}

// A removal that an earlier run did not finish is finished, or undone, off the GUI thread.
void MainForm::FinishSetAside() {
  platform::Platform& platform = Application().Platform();
  set_aside_job_ = jobs_.Start<bool>(
      [&platform](std::stop_token) {
        FinishSetAsideEntries(platform.registry, platform.files);
        return true;
      },
      [](bool) {});
}

Catalogue MainForm::ReadCatalogue() {
  platform::Platform& platform = Application().Platform();
  // Without a reading under way, one now: the GUI thread reads what no worker has begun.
  if (!reading_) {
    reading_ =
        std::make_unique<CatalogueReading>(Application().Jobs(), platform, drives_, state_.options);
  }
  Catalogue read = std::exchange(reading_, nullptr)->Take();
  SortCatalogue(read, platform.order);
  return read;
}

void MainForm::FillAllPrograms(framework::TMenuItem& menu) {
  if (catalogue_.programs.size() <= kMostProgramsInOneMenu) {
    for (const CatalogueLine& line : catalogue_.programs) {
      AddProgramItem(menu, kProgramItemName, line.program);
    }
    return;
  }
  for (InitialGroup& group : GroupByInitial(catalogue_.programs)) {
    framework::TMenuItem& submenu = menu.Add(std::make_unique<framework::TMenuItem>(
        kInitialItemName, group.caption, framework::TMenuItem::CaptionKind::kText));
    submenu.FillOnOpen(true, [this, programs = std::move(group.programs)](framework::TMenuItem& m) {
      for (std::size_t i : programs)
        AddProgramItem(m, kProgramItemName, catalogue_.programs[i].program);
    });
  }
}

void MainForm::AddProgramItem(framework::TMenuItem& submenu, const char* name,
                              const ProgramEntry& program) {
  framework::TMenuItem& item = submenu.Add(std::make_unique<ProgramMenuItem>(name, program));
  item.Image = icons_.ForProgram(program);
  item.OnClick = [this](framework::TMenuItem& sender) { OnProgramChosen(sender); };
}

std::optional<ListKind> MainForm::TypingKindOf(const framework::TMenuItem& submenu) const {
  if (&submenu == all_programs_) {
    const bool grouped = submenu.Count() != 0 && submenu[0].Name == kInitialItemName;
    return grouped ? ListKind::kLetterGroups : ListKind::kNames;
  }
  const bool generated =
      &submenu == recent_programs_ || &submenu == kill_process_ || submenu.Name == kInitialItemName;
  if (generated) return ListKind::kNames;
  return std::nullopt;
}

void MainForm::RebuildProcessMenu() {
  running_programs_ =
      RunningPrograms(Application().Platform().processes, Application().Platform().order);
  kill_process_->FillOnOpen(!running_programs_.empty(), [this](framework::TMenuItem& menu) {
    for (const std::string& name : running_programs_) {
      framework::TMenuItem& item = menu.Add(std::make_unique<ProcessMenuItem>(name));
      item.Image = icons_.ForProcess(name);
      item.OnClick = [this](framework::TMenuItem& sender) { OnProcessChosen(sender); };
    }
  });
}

void MainForm::RebuildLeftBehindMenu() {
  if (!left_behind_reading_) return;
  std::vector<KeptRecord> records = std::exchange(left_behind_reading_, nullptr)->Take();
  const bool any = !records.empty();
  left_behind_->Hidden = !any;
  // Newest first: the uninstall just done is the likeliest to be reviewed.
  left_behind_->FillOnOpen(any, [this, records = std::move(records)](framework::TMenuItem& menu) {
    for (auto record = records.rbegin(); record != records.rend(); ++record) {
      framework::TMenuItem& item = menu.Add(std::make_unique<LeftBehindMenuItem>(*record));
      item.OnClick = [this](framework::TMenuItem& sender) { OnLeftBehindChosen(sender); };
    }
  });
}

void MainForm::OnMenuLoopEntered() {
  // The default submenu is the likeliest to open: its icons are looked for as the menu appears.
  for (const ProgramEntry& program : RecentPrograms(catalogue_)) icons_.ForProgram(program);
}

void MainForm::OnIconsArrived() {
  menu_.ImagesArrived(icons_.TakeArrived());
}

}  // namespace app
