#include "app/icons/menu_icons.h"

namespace app {
namespace {

// The fields of a request text: the same text, the same icon.
constexpr char kField = '\x1f';

}  // namespace

MenuIcons::MenuIcons(platform::Platform& platform, std::shared_ptr<RemoteDrives> drives,
                     framework::TJobs& jobs)
    : drives_(std::move(drives)),
      seams_{platform.icons, platform.registry, platform.processes, PathSystemOf(platform),
             *drives_},
      images_(platform.windowing),
      jobs_(jobs) {}

framework::ImageKey MenuIcons::ForProgram(const ProgramEntry& program) {
  const int size = images_.Size();
  // The entry's key stands for its "DisplayIcon", which the job reads there when the scan did
  // not: one key in one view holds one value. The view also decides which system folders its
  // paths resolve in.
  const std::string request = std::string("program") + kField + std::to_string(size) + kField +
                              std::to_string(static_cast<int>(program.view)) + kField +
                              program.key_name + kField + program.product_code + kField +
                              (program.windows_installer ? "1" : "0") + kField + program.command;
  return Request(request, [seams = seams_, drives = drives_, read = read_, program, size] {
    return FindProgramIconFile(seams, *read, program, size);
  });
}

framework::ImageKey MenuIcons::ForProcess(const std::string& exe_name) {
  const int size = images_.Size();
  const std::string request =
      std::string("process") + kField + std::to_string(size) + kField + exe_name;
  return Request(request, [seams = seams_, drives = drives_, read = read_, exe_name, size] {
    return FindProcessIconFile(seams, *read, exe_name, size);
  });
}

framework::ImageKey MenuIcons::Request(const std::string& request, IconJobs::Find find) {
  bool is_new = false;
  const framework::ImageKey key = images_.Intern(request, is_new);
  if (is_new) jobs_.Start(key, std::move(find));
  return key;
}

std::vector<framework::ImageKey> MenuIcons::TakeArrived() {
  std::vector<framework::ImageKey> keys;
  for (IconResult& result : jobs_.TakeResults()) {
    const auto resolved =
        images_.Resolve(result.key, result.found.file_key, std::move(result.found.icon));
    keys.insert(keys.end(), resolved.begin(), resolved.end());
  }
  return keys;
}

}  // namespace app
