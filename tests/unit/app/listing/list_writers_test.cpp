// The two lists a script reads: JSON that stays ASCII and keeps every unit, CSV that a
// spreadsheet opens without running a cell.

#include <gtest/gtest.h>

#include <string>

#include "app/listing/list_csv.h"
#include "app/listing/list_json.h"

namespace {

using app::DateSource;
using app::EntryView;
using app::ListedProgram;

ListedProgram Named(const std::string& name) {
  ListedProgram program;
  program.id = "HKCU/x";
  program.name = name;
  program.view = EntryView::kUser;
  return program;
}

ListedProgram Full() {
  ListedProgram program = Named("Tool");
  program.id = "HKLM64/{A}";
  program.version = "1.2";
  program.publisher = "";
  program.installed = app::ListedDate{2023, 5, 1, DateSource::kFileDate};
  program.view = EntryView::kMachine64;
  program.size_kb = 4294967295u;
  program.quiet = true;
  return program;
}

TEST(ListJson, WritesEveryFieldInOrderAndNullForWhatIsAbsent) {
  EXPECT_EQ(app::ListJson({}), "[]\n");
  EXPECT_EQ(app::ListJson({Full(), Named("x")}),
            "[\n"
            "  {\"id\":\"HKLM64/{A}\",\"name\":\"Tool\",\"version\":\"1.2\",\"publisher\":\"\","
            "\"installed\":\"2023-05-01\",\"installed_from\":\"file\",\"scope\":\"machine\","
            "\"view\":64,\"size_kb\":4294967295,\"quiet\":true,\"orphaned\":false},\n"
            "  {\"id\":\"HKCU/x\",\"name\":\"x\",\"version\":null,\"publisher\":null,"
            "\"installed\":null,\"installed_from\":null,\"scope\":\"user\",\"view\":null,"
            "\"size_kb\":null,\"quiet\":false,\"orphaned\":false}\n"
            "]\n");
}

TEST(ListJson, EscapesAllButPrintableAsciiAsUtf16Units) {
  const struct {
    const char* name;
    const char* written;
  } cases[] = {
      {"say \"hi\" C:\\x/y", R"("say \"hi\" C:\\x/y")"},
      {"a\nb\x01\x7F", R"("a\u000ab\u0001\u007f")"},
      {"Caf\xC3\xA9", R"("Caf\u00e9")"},
      {"\xF0\x9F\x98\x80", R"("\ud83d\ude00")"},
      {"\xED\xA0\x80x", R"("\ud800x")"},
      {"x\xED\xBF\xBF", R"("x\udfff")"},
      {"\xFF", R"("\ufffd")"},
  };
  for (const auto& c : cases) {
    const std::string json = app::ListJson({Named(c.name)});
    EXPECT_NE(json.find(std::string("\"name\":") + c.written + ","), std::string::npos) << json;
  }
}

TEST(ListCsv, WritesAHeaderAndARowPerProgramWithCrLf) {
  EXPECT_EQ(app::ListCsv({Full(), Named("x")}),
            "id,name,version,publisher,installed,installed_from,scope,view,size_kb,quiet,"
            "orphaned\r\n"
            "HKLM64/{A},Tool,1.2,,2023-05-01,file,machine,64,4294967295,true,false\r\n"
            "HKCU/x,x,,,,,user,,,false,false\r\n");
}

TEST(ListCsv, QuotesWhatWouldSplitACellAndKeepsFormulasText) {
  const struct {
    const char* name;
    const char* cell;
  } cases[] = {
      {"a b", "a b"},
      {"x=1", "x=1"},
      {"a,b", "\"a,b\""},
      {"say \"hi\"", "\"say \"\"hi\"\"\""},
      {"two\r\nlines", "\"two\r\nlines\""},
      {"two\nlines", "\"two\nlines\""},
      {"=SUM(A1)", "\"'=SUM(A1)\""},
      {"+1", "\"'+1\""},
      {"-1", "\"'-1\""},
      {"@x", "\"'@x\""},
      {"\tx", "\"'\tx\""},
      {"\rx", "\"'\rx\""},
      {"=\"a\",b", "\"'=\"\"a\"\",b\""},
      {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},
      {"\xED\xA0\x80x\xED\xBF\xBF", "\xEF\xBF\xBDx\xEF\xBF\xBD"},
  };
  for (const auto& c : cases) {
    const std::string row = std::string("HKCU/x,") + c.cell + ",,,,,user,,,false,false\r\n";
    const std::string csv = app::ListCsv({Named(c.name)});
    EXPECT_EQ(csv.substr(csv.find("\r\n") + 2), row) << c.name;
  }
}

}  // namespace
