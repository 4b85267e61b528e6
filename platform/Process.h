#pragma once
// Child processes started from one command-line string, as the Windows process-creation call
// takes it: the string is split by the Windows rules for quotes and backslashes and the program is
// run directly, never through a shell. A started process is known by a handle that its starter
// owns until closeProcess.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Exit code reported for a process that is still running.
constexpr std::uint32_t kStillActive = 259;

// Splits a command line into arguments by the Windows rules:
// - arguments are separated by runs of blanks and tabs outside quotes;
// - '"' opens or closes a quoted run (blanks inside belong to the argument); "" inside a quoted
//   run gives one literal '"'; a quoted run may be part of a longer argument (a"b c"d -> ab cd);
// - 2n backslashes followed by '"' give n backslashes and the quote acts as above; 2n+1
//   backslashes followed by '"' give n backslashes and a literal '"';
// - backslashes not followed by '"' are literal;
// - "" standing alone is an empty argument.
// The first argument (the program) follows the same rules here.
std::vector<std::string> splitCommandLine(std::string_view commandLine);

// An opaque handle of a started process; 0 is no process.
using ProcessHandle = std::int64_t;

// Starts the program named by the first argument of `commandLine` with the caller's environment
// and working folder. The program path goes through osPath (Path.h), as an existence test's does,
// so the file started is the file such a test of that name sees: a name without '/' or '\' is a
// file of the working folder, and PATH is never searched. The child's first argument is the
// native program path; the others are passed as split. `started` is set to whether the process
// runs; on failure the handle is 0 and `error` (when given) says why (no program, not executable,
// unmapped drive ...).
ProcessHandle startProcess(std::string_view commandLine, bool& started, std::string* error = nullptr);

// Like the Windows call: true with `code` = kStillActive while the process runs, or its exit code
// once it has ended (128 + the signal number when a signal ended it). False for an unknown or
// closed handle.
bool processExitCode(ProcessHandle process, std::uint32_t& code);

// Releases the handle. A process that is still running goes on running; it is reaped later, so it
// never lingers as a zombie. False for an unknown handle.
bool closeProcess(ProcessHandle process);

// Blocks the calling thread for `milliseconds`.
void sleepMilliseconds(std::uint32_t milliseconds);

// The process environment as it is now: its "NAME=VALUE" strings in their own order.
std::vector<std::string> environmentEntries();

}  // namespace platform
