#pragma once
// Runs a piece of a test as a user that file modes apply to. Root reads and writes a file whatever
// its mode, so a test of how a protected file is treated runs its step in a child process that,
// when this process is root, first becomes the user "nobody" (its own group, no others). The
// parent keeps its privileges for the checks. Header-only, so every folder's tests can use it.

#include <cerrno>
#include <functional>
#include <string>

#include <grp.h>
#include <pwd.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace platform {

struct UnprivilegedRun {
  bool ran = false;     // false: the step could not be run as an unprivileged user (see skipped)
  std::string skipped;  // why it did not run
  std::string result;   // what the step returned
};

// Runs step in a child process as an unprivileged user; the step's text comes back in result.
// The folder is where the step works: the caller opens it to every user (mode 0777), and its
// parents must let that user through. The step must not throw.
inline UnprivilegedRun runUnprivileged(const std::string& folder,
                                       const std::function<std::string()>& step) {
  UnprivilegedRun run;
  uid_t uid = ::geteuid();
  gid_t gid = ::getegid();
  if (uid == 0) {
    const passwd* nobody = ::getpwnam("nobody");
    if (!nobody || nobody->pw_uid == 0) {
      run.skipped = "this process runs as root and the system has no user \"nobody\" to become";
      return run;
    }
    uid = nobody->pw_uid;
    gid = nobody->pw_gid;
  }
  int pipeFds[2];
  if (::pipe(pipeFds) != 0) {
    run.skipped = "no pipe to the child";
    return run;
  }
  constexpr int kCannotDrop = 120, kFolderClosed = 121;
  const pid_t child = ::fork();
  if (child < 0) {
    ::close(pipeFds[0]);
    ::close(pipeFds[1]);
    run.skipped = "no child process";
    return run;
  }
  if (child == 0) {
    ::close(pipeFds[0]);
    if (::geteuid() == 0 &&
        (::setgroups(0, nullptr) != 0 || ::setresgid(gid, gid, gid) != 0 ||
         ::setresuid(uid, uid, uid) != 0 || ::geteuid() == 0))
      ::_exit(kCannotDrop);
    if (::access(folder.c_str(), R_OK | W_OK | X_OK) != 0) ::_exit(kFolderClosed);
    const std::string text = step();
    for (std::size_t at = 0; at < text.size();) {
      const ssize_t n = ::write(pipeFds[1], text.data() + at, text.size() - at);
      if (n <= 0) ::_exit(1);
      at += static_cast<std::size_t>(n);
    }
    ::_exit(0);
  }
  ::close(pipeFds[1]);
  char buffer[4096];
  for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) != 0;) {
    if (n < 0) {
      if (errno == EINTR) continue;
      break;
    }
    run.result.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(pipeFds[0]);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  const int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  if (code == kCannotDrop) {
    run.skipped = "this process runs as root and cannot become the user \"nobody\"";
  } else if (code == kFolderClosed) {
    run.skipped = "the test folder " + folder + " is not open to the user \"nobody\"";
  } else {
    run.ran = true;
    // A step that crashed gives a result no test expects.
    if (code != 0) run.result = "(the step ended abnormally: status " + std::to_string(status) + ")";
  }
  return run;
}

}  // namespace platform
