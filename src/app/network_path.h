#pragma once

// Paths whose lookup could reach another machine. The catalogue dates entries by their files
// before the menu comes up: an unreachable server would hold the start up for the network's
// time-out, and a reachable one would be sent the user's credentials.
//
// A local folder that is a symbolic link to a share leads there all the same; it is not looked
// for. Making one takes administrator rights or developer mode, whoever has those can send this
// program's user anywhere by other means, and finding one would cost a look at every folder of
// every path, for every entry.

#include <array>
#include <optional>
#include <string_view>

#include "platform/file_dates.h"

namespace app {

// Which drives are remote, each asked of the system once.
class RemoteDrives {
 public:
  explicit RemoteDrives(platform::FileDates& files) : files_(files) {}

  // letter: "A" to "Z" in either case; any other character asks about the current folder's.
  bool IsRemote(char letter);

 private:
  static constexpr std::size_t kLetters = 26;
  platform::FileDates& files_;
  std::array<std::optional<bool>, kLetters + 1> remote_{};  // the last: the current folder's
};

// A server's or a device's path ("\\server\...", "//server/...", "\\?\UNC\...", "\\.\..."),
// or a path on a remote drive. A path that names no drive lies on the current folder's.
bool IsNetworkPath(std::string_view path, RemoteDrives& drives);

}  // namespace app
