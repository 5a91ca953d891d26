#include "app/script/script_list.h"

#include <algorithm>
#include <memory>
#include <span>
#include <system_error>

#include "app/catalogue/catalogue.h"
#include "app/catalogue/catalogue_reading.h"
#include "app/launch/orphaned_entry.h"
#include "app/listing/entry_id.h"
#include "app/listing/list_csv.h"
#include "app/listing/list_json.h"
#include "app/paths/remembered_files.h"
#include "app/quiet/quiet_command.h"
#include "app/script/script_exit.h"
#include "app/script/script_output.h"
#include "framework/application.h"
#include "framework/take_or_wait.h"

namespace app {
namespace {

// Programs a job tells about: enough that a job's start costs nothing beside its work, few
// enough that eight threads share even a short list.
constexpr std::size_t kProgramsPerSlice = 64;

DateSource SourceOf(DateFrom from) {
  return from == DateFrom::kFileDate ? DateSource::kFileDate : DateSource::kInstallDateValue;
}

// Whether Shift would uninstall it without its own questions: a quiet command that starts.
bool IsQuiet(const ScannedProgram& scanned, const PathSystem& paths, bool elevated) {
  if (!scanned.details) return false;
  const ProgramEntry quiet = WithQuietFacts(scanned.program, scanned.details->quiet);
  return PlanQuietUninstall(quiet, paths, elevated).has_value();
}

// What the list is told once, for every program.
struct ListFacts {
  explicit ListFacts(platform::Platform& platform)
      : files(platform.files),
        paths{platform.launcher, files, platform.registry.HasSeparate64BitView()},
        elevated(platform.launcher.Elevated()),
        known(KnownInstallerProducts(platform.launcher)) {}

  mutable RememberedFiles files;  // each uninstaller looked for once, however many entries name it
  PathSystem paths;
  bool elevated = false;
  std::optional<KnownProducts> known;  // Windows Installer's products, asked for at once
};

ListedProgram Listed(const ScannedProgram& scanned, const ListFacts& facts) {
  const PathSystem& paths = facts.paths;
  const bool elevated = facts.elevated;
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
  listed.orphaned = IsOrphaned(paths, program, facts.known ? &*facts.known : nullptr);
  return listed;
}

// What is listed of the programs at those positions, in their order.
std::vector<ListedProgram> ListedAt(const std::vector<ScannedProgram>& scanned,
                                    std::span<const std::size_t> positions,
                                    const ListFacts& facts) {
  std::vector<ListedProgram> listed;
  listed.reserve(positions.size());
  for (const std::size_t i : positions) listed.push_back(Listed(scanned[i], facts));
  return listed;
}

Options ListOptions(bool all) {
  Options options;
  options.show_system_components = all;
  options.list_details = true;
  return options;
}

// The entries read by the catalogue's jobs, as the menu's start reads them; then what is
// listed of them told by jobs too, a slice each: an orphan is found by looking for its
// uninstaller's file and asking Windows Installer about its product, round trips that several
// threads overlap.
std::vector<ListedProgram> ListOnJobs(framework::TJobs& jobs, platform::Platform& platform,
                                      const Options& options) {
  using Slice = framework::TTakeOrWait<std::vector<ListedProgram>>;
  // Asking Windows Installer loads its library first: that overlaps the reading.
  framework::TTakeOrWait<std::shared_ptr<const ListFacts>> asked(
      jobs, [&platform](std::stop_token) { return std::make_shared<const ListFacts>(platform); });
  auto drives = std::make_shared<RemoteDrives>(platform.files);
  auto scanned = std::make_shared<const std::vector<ScannedProgram>>(
      CatalogueReading(jobs, platform, drives, options).TakeScanned());
  const std::vector<std::size_t> order = AllProgramsOrder(*scanned, platform.order);
  const std::shared_ptr<const ListFacts> facts = asked.Take();
  std::vector<std::unique_ptr<Slice>> slices;
  for (std::size_t first = 0; first < order.size(); first += kProgramsPerSlice) {
    const std::size_t last = std::min(order.size(), first + kProgramsPerSlice);
    std::vector<std::size_t> positions(order.begin() + first, order.begin() + last);
    slices.push_back(std::make_unique<Slice>(
        jobs, [scanned, positions = std::move(positions), facts](std::stop_token) {
          return ListedAt(*scanned, positions, *facts);
        }));
  }
  // This thread tells what no worker has begun, before it waits for any.
  for (const auto& slice : slices) slice->MakeUnlessBegun();
  std::vector<ListedProgram> listed;
  listed.reserve(order.size());
  for (const auto& slice : slices) {
    for (ListedProgram& program : slice->Take()) listed.push_back(std::move(program));
  }
  return listed;
}

}  // namespace

std::vector<ListedProgram> ListedPrograms(platform::Platform& platform, bool all) {
  const Options options = ListOptions(all);
  try {
    // Only its jobs: an application that is never initialised makes no window.
    framework::TApplication application(platform);
    return ListOnJobs(application.Jobs(), platform, options);
  } catch (const std::system_error&) {
    // No thread to be had: everything here.
  }
  RemoteDrives drives(platform.files);
  const std::vector<ScannedProgram> scanned =
      ScanPasses(ScanSeams(platform, drives), UninstallPasses(platform.registry), options);
  const ListFacts facts(platform);
  return ListedAt(scanned, AllProgramsOrder(scanned, platform.order), facts);
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
