#include "app/menu/menu_commands.h"

#include "app/menu/main_form.h"
#include "app/menu/options_dialog.h"
#include "app/texts/texts.h"
#include "framework/application.h"

namespace app {
namespace {

void ShowOptions(MainForm& form) {
  form.ShowThenMenuAgain([&form] {
    form.Options().ShowModal();
    form.Application().ProcessMessages();
  });
}

void CheckForUpdates(MainForm& form) {
  form.OpenWebPageAndEnd(kUpdatePage);
}

void VisitWebSite(MainForm& form) {
  form.OpenWebPageAndEnd(kHomePage);
}

void SendMessage(MainForm& form) {
  form.OpenWebPageAndEnd(kSupportPage);
}

void ShowAbout(MainForm& form) {
  form.ShowThenMenuAgain([&form] {
    form.ShowBox(Box{AboutText(), platform::kMbIconInformation, AboutCaption()}, form.Handle());
  });
}

void Exit(MainForm& form) {
  form.End();
}

constexpr MenuRow kMenuRows[] = {
    {"AllPrograms", kAllProgramsCaption, "", false, nullptr, Slot::kAllPrograms},
    {"RecentPrograms", kRecentProgramsCaption, "", true, nullptr, Slot::kRecentPrograms},
    {"SeparatorBeforeKill", kSeparatorCaption, ""},
    {"KillProcess", kKillProcessCaption, "", false, nullptr, Slot::kKillProcess},
    // Shown only when an uninstall's record is kept whose program is gone.
    {"LeftBehind", kLeftBehindCaption, "", false, nullptr, Slot::kLeftBehind},
    {"SeparatorBeforeProduct", kSeparatorCaption, ""},
    {"Product", kTitle, ""},
    {"Options", kOptionsItemCaption, "Product", false, ShowOptions},
    {"SeparatorBeforeWeb", kSeparatorCaption, "Product"},
    {"CheckForUpdates", kCheckForUpdatesCaption, "Product", false, CheckForUpdates},
    {"VisitWebSite", kVisitWebSiteCaption, "Product", false, VisitWebSite},
    {"SendMessage", kSendMessageCaption, "Product", false, SendMessage},
    {"SeparatorBeforeAbout", kSeparatorCaption, "Product"},
    {"About", kAboutItemCaption, "Product", false, ShowAbout},
    {"Exit", kExitCaption, "", false, Exit},
};

}  // namespace

std::span<const MenuRow> MenuRows() {
  return kMenuRows;
}

}  // namespace app
