#include "app/command_line/arguments.h"

namespace app {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

}  // namespace

std::vector<std::string> SplitArguments(std::string_view command_line) {
  std::vector<std::string> arguments;
  const std::size_t size = command_line.size();
  std::size_t at = 0;
  while (true) {
    while (at < size && IsBlank(command_line[at])) ++at;
    if (at == size) return arguments;
    std::string argument;
    bool quoted = false;
    while (at < size) {
      const char c = command_line[at];
      if (c == '\\') {
        std::size_t backslashes = 0;
        for (; at < size && command_line[at] == '\\'; ++at) ++backslashes;
        const bool before_quote = at < size && command_line[at] == '"';
        // Before a quote, each pair of backslashes is one, and an odd one makes it literal.
        argument.append(before_quote ? backslashes / 2 : backslashes, '\\');
        if (before_quote && backslashes % 2 == 1) {
          argument += '"';
          ++at;
        }
        continue;
      }
      if (c == '"') {
        // "" inside quotes is a quote, and the quoting goes on.
        const bool doubled = quoted && at + 1 < size && command_line[at + 1] == '"';
        if (doubled) argument += '"';
        quoted = doubled || !quoted;
        at += doubled ? 2 : 1;
        continue;
      }
      if (!quoted && IsBlank(c)) break;
      argument += c;
      ++at;
    }
    arguments.push_back(std::move(argument));
  }
}

std::string QuotedArgument(std::string_view argument) {
  const bool plain =
      !argument.empty() && argument.find_first_of(" \t\n\v\"") == std::string_view::npos;
  if (plain) return std::string(argument);
  std::string quoted = "\"";
  std::size_t backslashes = 0;
  for (const char c : argument) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    // Backslashes before a quote are doubled, and the quote gets one of its own.
    quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
    backslashes = 0;
    quoted += c;
  }
  // So are those before the closing quote.
  quoted.append(backslashes * 2, '\\');
  return quoted + "\"";
}

std::string JoinedArguments(const std::vector<std::string>& arguments) {
  std::string joined;
  for (const std::string& argument : arguments) {
    if (!joined.empty()) joined += ' ';
    joined += QuotedArgument(argument);
  }
  return joined;
}

}  // namespace app
