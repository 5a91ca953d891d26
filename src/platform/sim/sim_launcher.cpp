#include "platform/sim/sim_launcher.h"

#include "platform/sim/sim_windowing.h"

namespace sim {

void LaunchRecorder::Record(Launch::Kind kind, platform::ShellExecuteRequest request) {
  launches_.push_back(Launch{kind, clock_.Now(), std::move(request)});
}

void LaunchRecorder::Execute(platform::WindowId owner, const std::string& verb,
                             const std::string& file, const std::string& parameters,
                             const std::string& directory, int show) {
  platform::ShellExecuteRequest request;
  request.owner = owner;
  request.verb = verb;
  request.file = file;
  request.parameters = parameters;
  request.directory = directory;
  request.show = show;
  Record(Launch::Kind::kExecute, std::move(request));
}

void LaunchRecorder::ExecuteEx(const platform::ShellExecuteRequest& request) {
  Record(Launch::Kind::kExecuteEx, request);
}

void LaunchRecorder::StartCommandLine(const std::string& program, const std::string& command_line,
                                      int show) {
  platform::ShellExecuteRequest request;
  request.file = program;
  request.parameters = command_line;
  request.show = show;
  Record(Launch::Kind::kCommandLine, std::move(request));
}

}  // namespace sim
