// Command lines as processes are started from them. Any text splits without fault. Then the
// input (after its first byte), cut at NUL bytes, is a list of arguments, and splitting must give
// them back exactly from
// - the command line the launcher hands to the operating system (joinCommandLine), and the
//   launcher's own "-pview PROGRAM ARGS..." read back from the split;
// - a line quoted here by the Windows rules in the other ways they allow: the first byte chooses,
//   per argument, "" or \" for a quote inside a quoted run and whether a plain argument is quoted
//   anyway, and whether arguments are separated by a tab and a blank.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "platform/Process.h"
#include "tools/trovstart/LauncherCommandLine.h"

namespace {

using fuzzing::check;

// One argument as a command line may write it. `doubled` writes a quote inside the quoted run as
// ""; otherwise as \"; backslashes before a quote are doubled either way.
std::string quote(const std::string& arg, bool doubled, bool always) {
  if (!always && !arg.empty() && arg.find_first_of(" \t\"") == std::string::npos) return arg;
  std::string out = "\"";
  std::size_t backslashes = 0;
  for (char c : arg) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    if (c == '"') {
      out.append(2 * backslashes, '\\');
      out += doubled ? "\"\"" : "\\\"";
    } else {
      out.append(backslashes, '\\');
      out += c;
    }
    backslashes = 0;
  }
  out.append(2 * backslashes, '\\');
  out += '"';
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 1 << 14) return 0;
  const std::string text(reinterpret_cast<const char*>(data), size);
  for (const std::string& arg : platform::splitCommandLine(text))
    check(arg.find('\0') == std::string::npos || text.find('\0') != std::string::npos,
          "an argument holds a byte the line did not");

  if (size == 0) return 0;
  const std::uint8_t style = data[0];
  std::vector<std::string> args;
  std::string current;
  for (std::size_t i = 1; i < size; ++i) {
    if (data[i] == 0) {
      args.push_back(current);
      current.clear();
    } else {
      current += static_cast<char>(data[i]);
    }
  }
  args.push_back(current);

  check(platform::splitCommandLine(joinCommandLine(args)) == args,
        "the launcher's command line splits into other arguments");
  std::vector<std::string> launcher = {"-pview"}, program;
  launcher.insert(launcher.end(), args.begin(), args.end());
  std::string error;
  const bool read = parseLauncherArguments(platform::splitCommandLine(joinCommandLine(launcher)), program, error);
  check(read == !args[0].empty() && (!read || program == args),
        "the launcher reads another program and arguments");

  std::string line;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const unsigned bits = (style >> (i % 4 * 2)) & 3;
    if (i > 0) line += (style & 0x80) && i % 2 ? "\t " : " ";
    line += quote(args[i], bits & 1, bits & 2);
  }
  const std::vector<std::string> back = platform::splitCommandLine(line);
  check(back == args, "quoting the arguments and splitting the line changes them");
  return 0;
}
