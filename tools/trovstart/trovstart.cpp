// The launcher of the catalogue programs: "trovstart -pview PROGRAM ARGS..." runs PROGRAM with
// ARGS, waits until it has ended and exits with its exit code. It exits with 2 on a malformed
// command line and with 1 when the program cannot be started, saying why on standard error.
// PROGRAM is the file that the plug-in checked under that name: one named without a folder lies
// in the working folder (the process start searches no PATH).
#include <cstdio>
#include <string>
#include <vector>

#include "platform/Process.h"
#include "tools/trovstart/LauncherCommandLine.h"

int main(int argc, char** argv) {
  std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  std::vector<std::string> program;
  std::string error;
  if (!parseLauncherArguments(arguments, program, error)) {
    std::fprintf(stderr, "trovstart: %s\n", error.c_str());
    return 2;
  }
  bool started = false;
  const platform::ProcessHandle process =
      platform::startProcess(joinCommandLine(program), started, &error);
  if (!started) {
    std::fprintf(stderr, "trovstart: %s\n",
                 error.empty() ? ("cannot start " + program[0]).c_str() : error.c_str());
    return 1;
  }
  std::uint32_t code = platform::kStillActive;
  while (true) {
    if (!platform::processExitCode(process, code)) {
      std::fprintf(stderr, "trovstart: lost track of %s\n", program[0].c_str());
      code = 1;
      break;
    }
    if (code != platform::kStillActive) break;
    platform::sleepMilliseconds(10);
  }
  platform::closeProcess(process);
  return int(code);
}
