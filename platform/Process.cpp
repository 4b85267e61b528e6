// Child processes on posix_spawn: no shell, no fork of the (possibly large) host image. Handles
// are numbers into a table; a process whose handle is closed while it runs is reaped later.
#include "platform/Process.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <map>
#include <thread>

#include <spawn.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/Lock.h"
#include "platform/Path.h"

extern char** environ;

namespace platform {

std::vector<std::string> splitCommandLine(std::string_view line) {
  std::vector<std::string> args;
  size_t i = 0;
  const size_t n = line.size();
  for (;;) {
    while (i < n && (line[i] == ' ' || line[i] == '\t')) ++i;
    if (i >= n) break;
    std::string arg;
    bool quoted = false;
    while (i < n) {
      char c = line[i];
      if (!quoted && (c == ' ' || c == '\t')) break;
      if (c == '\\') {
        size_t count = 0;
        while (i < n && line[i] == '\\') {
          ++count;
          ++i;
        }
        if (i < n && line[i] == '"') {
          arg.append(count / 2, '\\');
          if (count % 2 == 1) {   // an escaped quote is a literal one
            arg.push_back('"');
            ++i;
          }
          // with an even count the quote is handled as a quote by the next round
        } else {
          arg.append(count, '\\');
        }
        continue;
      }
      if (c == '"') {
        if (quoted && i + 1 < n && line[i + 1] == '"') {   // "" inside quotes: one literal '"'
          arg.push_back('"');
          i += 2;
          continue;
        }
        quoted = !quoted;
        ++i;
        continue;
      }
      arg.push_back(c);
      ++i;
    }
    args.push_back(std::move(arg));
  }
  return args;
}

namespace {

struct Child {
  pid_t pid = 0;
  bool ended = false;
  std::uint32_t code = 0;
};

struct ProcessTable {
  Lock& lock = Lock::create();
  std::map<ProcessHandle, Child> children;
  std::vector<pid_t> detached;   // closed while running; reaped when they end
  ProcessHandle next = 1;
};

ProcessTable& processes() {
  static ProcessTable* t = new ProcessTable;
  return *t;
}

std::uint32_t codeOf(int status) {
  if (WIFEXITED(status)) return static_cast<std::uint32_t>(WEXITSTATUS(status));
  if (WIFSIGNALED(status)) return 128u + static_cast<std::uint32_t>(WTERMSIG(status));
  return 1;
}

void reapDetached(ProcessTable& t) {
  for (size_t k = 0; k < t.detached.size();) {
    int st = 0;
    pid_t r = ::waitpid(t.detached[k], &st, WNOHANG);
    if (r == 0) {
      ++k;
      continue;
    }
    t.detached.erase(t.detached.begin() + static_cast<std::ptrdiff_t>(k));
  }
}

}  // namespace

ProcessHandle startProcess(std::string_view commandLine, bool& started, std::string* error) {
  started = false;
  std::vector<std::string> args = splitCommandLine(commandLine);
  auto fail = [&](const std::string& why) -> ProcessHandle {
    if (error) *error = why;
    return 0;
  };
  if (args.empty() || args[0].empty()) return fail("empty command line");
  // The file started is the one that an existence test of the same name sees: the name goes
  // through osPath like every file-system call's, so a name without a folder is a file of the
  // working folder. No folder of PATH is searched.
  std::string program;
  if (!osPath(args[0], program) || program.empty()) return fail("no such drive: " + args[0]);
  args[0] = program;
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);

  // The child starts with no blocked signals and every signal at its default, whatever the host
  // has set up for itself.
  posix_spawnattr_t attr;
  posix_spawnattr_init(&attr);
  sigset_t none, all;
  sigemptyset(&none);
  sigfillset(&all);
  posix_spawnattr_setsigmask(&attr, &none);
  posix_spawnattr_setsigdefault(&attr, &all);
  posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

  pid_t pid = 0;
  int rc = ::posix_spawn(&pid, program.c_str(), nullptr, &attr, argv.data(), environ);
  posix_spawnattr_destroy(&attr);
  if (rc != 0) return fail("cannot start " + args[0] + ": " + std::strerror(rc));

  ProcessTable& t = processes();
  LockGuard guard(t.lock);
  reapDetached(t);
  ProcessHandle handle = t.next++;
  t.children[handle].pid = pid;
  started = true;
  return handle;
}

bool processExitCode(ProcessHandle process, std::uint32_t& code) {
  ProcessTable& t = processes();
  LockGuard guard(t.lock);
  reapDetached(t);
  auto it = t.children.find(process);
  if (it == t.children.end()) return false;
  Child& c = it->second;
  if (!c.ended) {
    int st = 0;
    pid_t r;
    do {
      r = ::waitpid(c.pid, &st, WNOHANG);
    } while (r < 0 && errno == EINTR);
    if (r == 0) {
      code = kStillActive;
      return true;
    }
    if (r < 0) return false;   // reaped behind our back (SIGCHLD ignored): no code to give
    c.ended = true;
    c.code = codeOf(st);
  }
  code = c.code;
  return true;
}

bool closeProcess(ProcessHandle process) {
  ProcessTable& t = processes();
  LockGuard guard(t.lock);
  auto it = t.children.find(process);
  if (it == t.children.end()) return false;
  if (!it->second.ended) t.detached.push_back(it->second.pid);
  t.children.erase(it);
  reapDetached(t);
  return true;
}

void sleepMilliseconds(std::uint32_t milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

std::vector<std::string> environmentEntries() {
  std::vector<std::string> entries;
  for (char** p = environ; p && *p; ++p) entries.emplace_back(*p);
  return entries;
}

}  // namespace platform
