// Test helper: takes the place of the system's taskkill.exe in a test prefix (Wine 8's own
// taskkill rejects /T and so ends nothing). It appends its command line to taskkill.log beside
// itself, then does what `taskkill /F /IM NAME /T` does: ends every process whose image name is
// NAME (letter case aside, as taskkill compares), and with /T every process those started.
//
// Exit codes as taskkill's: 0 when something was ended, 128 when no process has that name,
// 1 for a command line it does not understand.

#include <windows.h>
// after windows.h, which it needs
#include <tlhelp32.h>

#include <set>
#include <string>
#include <vector>

#include "command_line.h"
#include "platform/win32/handles.h"

namespace {

constexpr int kEnded = 0;
constexpr int kBadUsage = 1;
constexpr int kNotFound = 128;
constexpr UINT kTerminatedCode = 1;

struct Request {
  std::wstring image;
  bool tree = false;
};

bool SameText(const std::wstring& a, const std::wstring& b) {
  return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                              static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

// Accepts /F, /T and /IM NAME in any order and letter case.
bool ParseRequest(const std::vector<std::wstring>& arguments, Request& request) {
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    const std::wstring& argument = arguments[i];
    if (SameText(argument, L"/F")) continue;
    if (SameText(argument, L"/T")) {
      request.tree = true;
      continue;
    }
    if (!SameText(argument, L"/IM") || i + 1 == arguments.size()) return false;
    request.image = arguments[++i];
  }
  return !request.image.empty();
}

std::vector<PROCESSENTRY32W> ProcessTable() {
  const helpers::UniqueFileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return {};
  std::vector<PROCESSENTRY32W> table;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL read = Process32FirstW(snapshot.get(), &entry); read;
       read = Process32NextW(snapshot.get(), &entry)) {
    table.push_back(entry);
  }
  return table;
}

// The ids of the processes named by the request, and with /T their descendants; never this one.
std::set<DWORD> Targets(const std::vector<PROCESSENTRY32W>& table, const Request& request) {
  const DWORD self = GetCurrentProcessId();
  std::set<DWORD> targets;
  for (const PROCESSENTRY32W& entry : table) {
    if (entry.th32ProcessID != self && SameText(entry.szExeFile, request.image)) {
      targets.insert(entry.th32ProcessID);
    }
  }
  if (targets.empty() || !request.tree) return targets;
  for (bool grew = true; grew;) {
    grew = false;
    for (const PROCESSENTRY32W& entry : table) {
      if (entry.th32ProcessID == self || targets.count(entry.th32ProcessID) != 0) continue;
      if (targets.count(entry.th32ParentProcessID) == 0) continue;
      targets.insert(entry.th32ProcessID);
      grew = true;
    }
  }
  return targets;
}

void Terminate(DWORD process_id) {
  const win32::UniqueKernelHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, process_id));
  if (process) TerminateProcess(process.get(), kTerminatedCode);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  helpers::LogCommandLine(helpers::LogBesideModule());
  Request request;
  if (!ParseRequest(helpers::Arguments(), request)) return kBadUsage;
  const std::set<DWORD> targets = Targets(ProcessTable(), request);
  if (targets.empty()) return kNotFound;
  for (const DWORD process_id : targets) Terminate(process_id);
  return kEnded;
}
