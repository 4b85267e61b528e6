#include "tools/trovstart/LauncherCommandLine.h"

std::string quoteCommandLineArgument(const std::string& argument) {
  if (!argument.empty() && argument.find_first_of(" \t\"") == std::string::npos) return argument;
  std::string out = "\"";
  std::size_t backslashes = 0;
  for (char c : argument) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    if (c == '"') {
      // 2n+1 backslashes before a quote give n backslashes and a literal quote.
      out.append(backslashes * 2 + 1, '\\');
    } else {
      out.append(backslashes, '\\');
    }
    backslashes = 0;
    out += c;
  }
  // Backslashes before the closing quote are doubled, so the quote still closes.
  out.append(backslashes * 2, '\\');
  out += '"';
  return out;
}

std::string joinCommandLine(const std::vector<std::string>& arguments) {
  std::string out;
  for (const std::string& argument : arguments) {
    if (!out.empty()) out += ' ';
    out += quoteCommandLineArgument(argument);
  }
  return out;
}

bool parseLauncherArguments(const std::vector<std::string>& arguments, std::vector<std::string>& program,
                            std::string& error) {
  program.clear();
  if (arguments.empty() || arguments[0] != "-pview") {
    error = "expected -pview PROGRAM [ARGUMENTS...]";
    return false;
  }
  if (arguments.size() < 2 || arguments[1].empty()) {
    error = "-pview needs the program to run";
    return false;
  }
  program.assign(arguments.begin() + 1, arguments.end());
  return true;
}
