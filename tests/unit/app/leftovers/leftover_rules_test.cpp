// The rules the leftovers finder rests on: the record read back exactly or not at all, one
// spelling for a folder, what is never offered, and the names compared whole.

#include <gtest/gtest.h>

#include "app/leftovers/evidence_record.h"
#include "app/leftovers/leftover_names.h"
#include "app/leftovers/leftover_paths.h"
#include "app/leftovers/never_offered.h"
#include "app/leftovers/record_keeping.h"
#include "app/leftovers/removal_check.h"

namespace {

app::EvidenceRecord Widget() {
  return app::EvidenceRecord{.entry_id = "HKLM32/Widget%20%u00E9",
                             .name = "Acme Widget 2.1",
                             .publisher = "Acme, Inc.",
                             .version = "2.1",
                             .install_location = "C:\\Program Files (x86)\\Acme\\Widget\\",
                             .uninstaller_folder = "C:\\Program Files (x86)\\Acme\\Widget",
                             .icon_folder = "line\nbreak \\x41 \x7f",
                             .time = {2026, 12, 8, 10, 59, 1}};
}

TEST(EvidenceRecord, ReadsBackExactlyOrNotAtAll) {
  const std::string text = app::RecordText(Widget());
  EXPECT_EQ(app::ReadRecordText(text), Widget());
  EXPECT_EQ(app::ReadRecordText(text + "later_fact=kept for a later version\n"), Widget());
  const std::string head = std::string(app::kRecordFirstLine) + "\n";
  const std::string rest = text.substr(head.size());
  for (const std::string& bad : {
           std::string("Tapwise uninstall record 2\n") + rest,  // another format
           text.substr(0, text.size() - 1),                     // cut short
           text + "name=twice\n", text + "no separator\n",
           head + "entry=HKLM32/a\nname=\\q\ntime=2026-12-08 10:59:01\n",    // unknown escape
           head + "entry=HKLM32/a\nname=\\x41\ntime=2026-12-08 10:59:01\n",  // not a control
           head + "entry=HKLM32/a\nname=\\x0\ntime=2026-12-08 10:59:01\n",   // escape cut short
           head + "entry=HKLM32/a\\x5C\ntime=2026-12-08 10:59:01\n",  // a path to another key
           head + "entry=HKLM32/a\ntime=2026-13-08 10:59:01\n",
           head + "entry=HKLM32/a\n",  // no time
       }) {
    EXPECT_FALSE(app::ReadRecordText(bad)) << bad;
  }
}

TEST(LeftoverPaths, OneSpellingOrNone) {
  const std::pair<const char*, const char*> cases[] = {
      {"c:/Program Files//Acme/./Widget/", "C:\\Program Files\\Acme\\Widget"},
      {"C:\\Acme\\Widget\\..\\..", "C:\\"},
      {"C:\\Acme\\Widget. . \\bin", "C:\\Acme\\Widget\\bin"},
      {"C:\\..", nullptr},
      {"C:\\PROGRA~1\\Acme", nullptr},
      {"\\\\server\\share\\Acme", nullptr},
      {"Acme\\Widget", nullptr},
      {"C:Acme", nullptr},
  };
  for (const auto& [path, normal] : cases) {
    const auto got = app::NormalPath(path);
    EXPECT_EQ(got.value_or("(none)"), normal ? normal : "(none)") << path;
  }
  EXPECT_TRUE(app::IsInside("C:\\Acme\\Widget", "c:\\acme"));
  EXPECT_FALSE(app::IsInside("C:\\AcmeWidget", "C:\\Acme"));
  EXPECT_TRUE(app::IsInside("C:\\Acme", "C:\\"));
}

TEST(NeverOffered, SystemSharedAndListedFolders) {
  const app::ProtectedFolders folders{
      .with_above = {"C:\\Program Files (x86)", "C:\\Users\\bob\\Downloads", "C:\\ProgramData"},
      .with_inside = {"C:\\Windows", "C:\\ProgramData\\Microsoft"},
      .profile_parents = {"C:\\Users"},
      .entry_folders = {"C:\\Program Files (x86)\\Acme\\Gadget"}};
  const std::pair<const char*, bool> cases[] = {
      {"C:\\", false},
      {"D:\\Windows.old\\x", false},
      {"C:\\Windows\\Acme", false},
      {"C:\\Program Files (x86)", false},
      {"C:\\Users\\bob\\Downloads", false},
      {"C:\\Users\\bob", false},
      {"C:\\Users\\Public", false},
      {"C:\\Users", false},
      {"C:\\ProgramData\\Microsoft\\Acme", false},
      {"C:\\Program Files (x86)\\Acme", false},  // holds Gadget, still listed
      {"C:\\Program Files (x86)\\Acme\\Gadget\\logs", false},
      {"C:\\Program Files (x86)\\Acme\\Widget", true},
      {"C:\\Users\\bob\\Downloads\\Widget", true},
      {"C:\\Users\\bob\\AppData\\Roaming\\Acme\\Widget", true},
      {"C:\\ProgramData\\Acme\\Widget", true},
  };
  for (const auto& [path, offered] : cases) {
    EXPECT_EQ(app::NeverOfferedFolder(folders, path).empty(), offered) << path;
  }
  const std::vector<std::string> entries = {
      "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Gadget"};
  EXPECT_FALSE(app::NeverOfferedKey("software\\classes\\", entries).empty());
  EXPECT_FALSE(app::NeverOfferedKey("Software\\Microsoft\\Windows", entries).empty());
  EXPECT_FALSE(app::NeverOfferedKey(entries[0] + "\\Sub", entries).empty());
  EXPECT_TRUE(app::NeverOfferedKey("Software\\Acme\\Widget", entries).empty());
}

TEST(LeftoverNames, WholeNamesFromThePublisherTheProductAndTheFolder) {
  const std::vector<std::string> roots = {"C:\\Program Files (x86)"};
  const auto names = app::LeftoverNames(
      {"Acme Widget 2.1", "Acme, Inc.", "C:\\Program Files (x86)\\AcmeSoft\\Widget"}, roots);
  for (const char* expected :
       {"AcmeSoft\\Widget", "Acme, Inc.\\Acme Widget 2.1", "Acme\\Widget", "Acme\\Acme Widget"}) {
    EXPECT_NE(std::find(names.begin(), names.end(), expected), names.end()) << expected;
  }
  for (const std::string& name : names) EXPECT_NE(name.find('\\'), std::string::npos) << name;
  EXPECT_TRUE(app::LeftoverNames({"Widget", "", "C:\\Program Files (x86)\\Widget"}, roots).empty())
      << "one name alone is never enough";
  EXPECT_EQ(app::WithoutShared({"Acme\\Widget", "Acme\\Gadget"}, {"acme\\WIDGET"}),
            std::vector<std::string>{"Acme\\Gadget"});
}

}  // namespace

TEST(RecordKeeping, ARecordIsKeptWhileItCanTellTheTruth) {
  using enum app::RecordFate;
  const platform::LocalTime kept_at{2026, 2, 27, 23, 59, 0};
  const std::vector<std::string> widget = {"Acme\\Widget"}, folder = {"C:\\Acme\\Widget"};
  const struct {
    const char* label;
    bool listed;
    platform::LocalTime now;
    std::vector<std::string> listed_names, listed_folders;
    app::RecordFate fate;
  } rows[] = {
      {"listed, the same day", true, {2026, 2, 27, 23, 59, 59}, {}, {}, kKeep},
      {"listed a day later: cancelled or failed", true, {2026, 2, 28, 0, 0, 1}, {}, {}, kRetire},
      {"gone, 29 days later", false, {2026, 3, 28, 12, 0, 0}, {}, {}, kKeep},
      {"gone, 30 days later", false, {2026, 3, 29, 0, 0, 0}, {}, {}, kRetire},
      {"gone, but its name is listed again: upgraded",
       false,
       kept_at,
       {"ACME\\widget"},
       {},
       kRetire},
      {"gone, but its folder is listed again", false, kept_at, {}, {"c:\\acme\\widget"}, kRetire},
      {"gone, another program listed",
       false,
       kept_at,
       {"Acme\\Gadget"},
       {"C:\\Acme\\Gadget"},
       kKeep},
  };
  app::EvidenceRecord record = Widget();
  record.time = kept_at;
  for (const auto& row : rows) {
    EXPECT_EQ(app::FateOf(record, row.listed, row.now, row.listed_names, row.listed_folders, widget,
                          folder),
              row.fate)
        << row.label;
  }
  EXPECT_EQ(app::DaysBetween({2023, 12, 31}, {2024, 3, 1}), 61) << "across a leap day";
}

TEST(RemovalCheck, OnlyWhatIsOfferedNowExactlyAsFoundMayGo) {
  using app::LeftoverKind;
  using enum app::ItemNow;
  const app::LeftoverItem folder{
      .kind = LeftoverKind::kFolder, .place = "C:\\A\\Widget", .size = 10};
  const app::LeftoverItem run{.kind = LeftoverKind::kRunValue,
                              .root = platform::kHkeyCurrentUser,
                              .place = "Software\\Run",
                              .value_name = "Widget"};
  app::LeftoverItem grown = folder;
  grown.size = 11;
  app::LeftoverItem other_value = run;
  other_value.value_name = "Gadget";
  app::LeftoverItem other_view = run;
  other_view.view_access = platform::kKeyWow64_64Key;
  EXPECT_EQ(app::CheckAgain(folder, {run, folder}), kAsFound);
  EXPECT_EQ(app::CheckAgain(folder, {grown}), kChanged);
  EXPECT_EQ(app::CheckAgain(run, {other_value, other_view}), kGone);
  EXPECT_EQ(app::CheckAgain(run, {}), kGone);
}
