#include "app/script/script_list.h"

#include <memory>
#include <system_error>

#include "app/catalogue/catalogue.h"
#include "app/catalogue/catalogue_reading.h"
#include "app/launch/orphaned_entry.h"
#include "app/listing/entry_id.h"
#include "app/listing/list_csv.h"
#include "app/listing/list_json.h"
#include "app/quiet/quiet_command.h"
#include "app/script/script_exit.h"
#include "app/script/script_output.h"
#include "framework/application.h"

namespace app {
namespace {

// Every entry the options let through, with its details, read by the workers as the menu's
// start reads them.
std::vector<ScannedProgram> ReadEntries(platform::Platform& platform, const Options& options) {
  auto drives = std::make_shared<RemoteDrives>(platform.files);
  try {
    // Only its jobs: an application that is never initialised makes no window.
    framework::TApplication application(platform);
    CatalogueReading reading(application.Jobs(), platform, drives, options);
    return reading.TakeScanned();
  } catch (const std::system_error&) {
    // No thread to be had: read here.
    return ScanPasses(ScanSeams(platform, *drives), UninstallPasses(platform.registry), options);
  }
}

DateSource SourceOf(DateFrom from) {
  return from == DateFrom::kFileDate ? DateSource::kFileDate : DateSource::kInstallDateValue;
}

// Whether Shift would uninstall it without its own questions: a quiet command that starts.
bool IsQuiet(const ScannedProgram& scanned, const PathSystem& paths, bool elevated) {
  if (!scanned.details) return false;
  const ProgramEntry quiet = WithQuietFacts(scanned.program, scanned.details->quiet);
  return PlanQuietUninstall(quiet, paths, elevated).has_value();
}

ListedProgram Listed(const ScannedProgram& scanned, const PathSystem& paths, bool elevated) {
  const ProgramEntry& program = scanned.program;
  ListedProgram listed;
  // A name no id can spell (a zero unit, which only the native API writes) leaves it empty.
  listed.id = EncodeEntryId(program.view, program.key_name).value_or("");
  listed.name = program.name;
  if (scanned.details) {
    listed.version = scanned.details->version;
    listed.publisher = scanned.details->publisher;
    listed.size_kb = scanned.details->size_kb;
  }
  if (scanned.date) listed.installed = ListedDateOf(*scanned.date, SourceOf(scanned.date_from));
  listed.view = program.view;
  listed.quiet = IsQuiet(scanned, paths, elevated);
  listed.orphaned = IsOrphaned(paths, program);
  return listed;
}

}  // namespace

std::vector<ListedProgram> ListedPrograms(platform::Platform& platform, bool all) {
  Options options;
  options.show_system_components = all;
  options.list_details = true;
  const std::vector<ScannedProgram> scanned = ReadEntries(platform, options);
  const PathSystem paths = PathSystemOf(platform);
  const bool elevated = platform.launcher.Elevated();
  std::vector<ListedProgram> listed;
  for (const std::size_t i : AllProgramsOrder(scanned, platform.order)) {
    listed.push_back(Listed(scanned[i], paths, elevated));
  }
  return listed;
}

int RunList(platform::Platform& platform, const ListRequest& request) {
  const std::vector<ListedProgram> programs = ListedPrograms(platform, request.all);
  const std::string list =
      request.format == ListFormat::kCsv ? ListCsv(programs) : ListJson(programs);
  const std::optional<std::string> failed = WriteList(platform, request.file, list);
  if (!failed) return static_cast<int>(ScriptExit::kDone);
  WriteErrorLine(platform.streams, *failed);
  return static_cast<int>(ScriptExit::kListNotWritten);
}

}  // namespace app
