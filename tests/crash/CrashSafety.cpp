// Crash safety of the saves: a program that kills savers with SIGKILL at random moments and checks
// that what they save is always whole.
//
//   kxcrash config [--trials N] [--items M] [--seed S]
//       N times: a child process saves a configuration of M items (every value tagged with its
//       save's generation) in a loop; it is killed at a random moment. The file must then hold
//       exactly the last generation the child reported saved, or the one after it, whole. At the
//       end, one more save must leave no temporary file behind.
//   kxcrash registry [--trials N] [--seed S]
//       Four writer processes write values into one registry store at once; N times one of them is
//       killed at a random moment and started again. Every value a writer reported written must be
//       there, with its exact text, at the end (no lost and no torn value).
//
// The children are this program again ("config-saver", "registry-writer"). They report each
// finished save on their standard output, one number a line. Exit code 0 when every check held;
// failures are described on standard error.
//
// A test tool of this machine: it uses POSIX processes, pipes and signals directly.

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "config/QVConfig.h"
#include "platform/FileSystem.h"
#include "platform/Registry.h"
#include "platform/testing/TempDir.h"

namespace {

std::string gSelf;   // this program's path

struct Options {
  int trials = 30;
  int items = 4000;
  unsigned seed = 0;
};

bool parseOptions(int argc, char** argv, int first, Options& o) {
  std::random_device device;
  o.seed = device();
  for (int i = first; i < argc; ++i) {
    const std::string a = argv[i];
    if (i + 1 >= argc) return false;
    const long v = std::strtol(argv[++i], nullptr, 10);
    if (a == "--trials" && v > 0) o.trials = static_cast<int>(v);
    else if (a == "--items" && v > 0) o.items = static_cast<int>(v);
    else if (a == "--seed") o.seed = static_cast<unsigned>(v);
    else return false;
  }
  return true;
}

// ---- children -------------------------------------------------------------------------------

void report(long n) {
  char line[32];
  const int len = std::snprintf(line, sizeof line, "%ld\n", n);
  if (::write(1, line, static_cast<size_t>(len)) != len) std::_Exit(4);
}

std::string itemValue(long generation, int i) {
  return "generation " + std::to_string(generation) + " item " + std::to_string(i) +
         " with some text to make the file large";
}

RWCString rw(const std::string& s) { return RWCString(s.data(), s.size()); }

// Saves generation after generation of the configuration at file, from the one it holds + 1.
int configSaver(const std::string& file, int items) {
  QVConfig config(rw(file), true);
  long generation = config.valueOrDefault("generation", "State").asInt();
  for (;;) {
    ++generation;
    config.valueOrDefault("generation", "State").setInt(static_cast<int>(generation));
    for (int i = 0; i < items; ++i)
      config.valueOrDefault(rw("Item" + std::to_string(i)), rw("Block" + std::to_string(i / 50)))
          .setText(rw(itemValue(generation, i)));
    if (config.save() != 0) return 3;
    report(generation);
  }
}

std::string registryValueName(int writer, long i) {
  return "W" + std::to_string(writer) + "-" + std::to_string(i);
}

std::string registryText(int writer, long i) {
  return "value " + std::to_string(i) + " of writer " + std::to_string(writer) +
         std::string(static_cast<size_t>(i % 17) * 3, '=');
}

const char kRegistryKey[] = "SOFTWARE\\Crash";

// Writes W<writer>-<i> for i = from, from + 1, ...
int registryWriter(const std::string& root, int writer, long from) {
  platform::setRegistryRoot(root);
  for (long i = from;; ++i) {
    platform::RegistryValue v;
    v.type = platform::RegistryType::Text;
    v.text = registryText(writer, i);
    if (!platform::registryWriteValue(platform::RegistryHive::CurrentUser, kRegistryKey,
                                      registryValueName(writer, i), v))
      return 3;
    report(i);
  }
}

// ---- the driver -----------------------------------------------------------------------------

struct Child {
  pid_t pid = -1;
  int out = -1;          // read end of its standard output
  std::string pending;   // bytes of an unfinished line
  long last = -1;        // last number it reported
};

bool start(Child& c, const std::vector<std::string>& args) {
  int fds[2];
  if (::pipe(fds) != 0) return false;
  const pid_t pid = ::fork();
  if (pid < 0) return false;
  if (pid == 0) {
    ::dup2(fds[1], 1);
    ::close(fds[0]);
    ::close(fds[1]);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(gSelf.c_str()));
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::execv(gSelf.c_str(), argv.data());
    std::_Exit(127);
  }
  ::close(fds[1]);
  ::fcntl(fds[0], F_SETFL, O_NONBLOCK);
  c.pid = pid;
  c.out = fds[0];
  c.pending.clear();
  return true;
}

// Reads what the child has reported so far; with untilEnd, everything up to its end.
void drain(Child& c, bool untilEnd) {
  char buffer[4096];
  for (;;) {
    const ssize_t n = ::read(c.out, buffer, sizeof buffer);
    if (n > 0) {
      c.pending.append(buffer, static_cast<size_t>(n));
      size_t nl;
      while ((nl = c.pending.find('\n')) != std::string::npos) {
        c.last = std::strtol(c.pending.substr(0, nl).c_str(), nullptr, 10);
        c.pending.erase(0, nl + 1);
      }
      continue;
    }
    if (n == 0) return;                                   // the child is gone
    if (errno == EINTR) continue;
    if (!untilEnd) return;
    ::usleep(200);
  }
}

// Kills the child and collects it; true when it was still running (killed by the signal).
bool killChild(Child& c) {
  ::kill(c.pid, SIGKILL);
  int status = 0;
  ::waitpid(c.pid, &status, 0);
  drain(c, true);
  ::close(c.out);
  c.out = -1;
  c.pid = -1;
  return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

// Waits until the child has reported at least `count` more saves, or has ended.
void waitForReports(Child& c, long after, long count) {
  while (c.last < after + count) {
    drain(c, false);
    if (::waitpid(c.pid, nullptr, WNOHANG) != 0) return;
    ::usleep(200);
  }
}

int failures = 0;

void fail(const std::string& what) {
  ++failures;
  std::fprintf(stderr, "FAIL: %s\n", what.c_str());
}

// The generation the file holds when it is whole (every item of that generation, nothing
// else); -1 otherwise, with the reason.
long wholeGeneration(const std::string& file, int items, std::string& why) {
  QVConfig config(true);
  const int r = config.loadFile(rw(file));
  if (r != 1) {
    why = "load gave " + std::to_string(r);
    return -1;
  }
  QVConfigItem* g = config.findItem("generation", "State");
  if (!g) {
    why = "no generation";
    return -1;
  }
  const long generation = g->value().asInt();
  std::size_t count = 0;
  for (std::size_t b = 0; b < config.blockNames().count(); ++b)
    count += config.blockKeys(config.blockNames()[b]).count();
  if (count != static_cast<std::size_t>(items) + 1) {
    why = std::to_string(count) + " items";
    return -1;
  }
  for (int i = 0; i < items; ++i) {
    QVConfigItem* item =
        config.findItem(rw("Item" + std::to_string(i)), rw("Block" + std::to_string(i / 50)));
    if (!item || item->value().asText() != rw(itemValue(generation, i))) {
      why = "item " + std::to_string(i) + " is not of generation " + std::to_string(generation);
      return -1;
    }
  }
  return generation;
}

int temporariesOf(const std::string& folder, const std::string& name) {
  std::vector<platform::FolderEntry> entries;
  platform::listFolder(folder, entries);
  int n = 0;
  for (const auto& e : entries)
    if (e.name.rfind("." + name + ".tmp-", 0) == 0) ++n;
  return n;
}

int configTrials(const Options& o) {
  platform::TempDir dir("kestrix-crash");
  const std::string file = dir.file("large.cfg");
  std::mt19937 random(o.seed);
  // Generation 0, written by a saver that is stopped after its first report.
  long generation = 0;
  int killedWhileSaving = 0, killsLeavingTemporaries = 0, mostTemporaries = 0;
  long long cycleMicros = 0;   // time of one save of the loop
  for (int trial = 0; trial < o.trials; ++trial) {
    Child saver;
    if (!start(saver, {"config-saver", file, std::to_string(o.items)})) {
      fail("cannot start a saver");
      break;
    }
    // Once it saves (so the file exists, and the kill falls into the loop of saves, not into the
    // start), anywhere within the next save and a half: during the build of the text, the write,
    // the flush or the rename.
    waitForReports(saver, -1, 1);
    if (trial == 0) {
      const long first = saver.last;
      const auto t0 = std::chrono::steady_clock::now();
      waitForReports(saver, first, 2);
      cycleMicros = std::chrono::duration_cast<std::chrono::microseconds>(
                        std::chrono::steady_clock::now() - t0).count() / 2;
    }
    ::usleep(std::uniform_int_distribution<unsigned>(
        0, static_cast<unsigned>(cycleMicros * 3 / 2 + 1))(random));
    const bool killed = killChild(saver);
    if (!killed) fail("trial " + std::to_string(trial) + ": the saver ended by itself");
    const long reported = saver.last;
    // A kill between the temporary's creation and the rename leaves it; the next load or save of
    // the file (the check below is a load) removes it.
    const int left = temporariesOf(dir.path(), "large.cfg");
    if (left > 0) ++killsLeavingTemporaries;
    if (left > mostTemporaries) mostTemporaries = left;
    std::string why;
    const long found = wholeGeneration(file, o.items, why);
    if (temporariesOf(dir.path(), "large.cfg") != 0) fail("a load left a stale temporary");
    const long expectedLow = reported >= 0 ? reported : generation;
    if (found < 0) {
      fail("trial " + std::to_string(trial) + ": the file is not whole: " + why);
    } else if (found != expectedLow && found != expectedLow + 1) {
      fail("trial " + std::to_string(trial) + ": generation " + std::to_string(found) +
           " after the report of " + std::to_string(expectedLow));
    } else {
      if (found != expectedLow) ++killedWhileSaving;   // done but not yet reported
      generation = found;
    }
  }
  // One more save removes what the killed saves left behind.
  {
    QVConfig config(rw(file), true);
    config.valueOrDefault("generation", "State").setInt(static_cast<int>(generation));
    if (config.save() != 0) fail("the last save failed");
  }
  const int after = temporariesOf(dir.path(), "large.cfg");
  if (after != 0) fail(std::to_string(after) + " temporaries remain after a save");
  std::printf("config: %d trials, %d items, seed %u, %lld us a save: last generation %ld, %d "
              "killed between the rename and the report, %d kills left a temporary (at most %d "
              "at once), after one more save %d, %d failures\n",
              o.trials, o.items, o.seed, cycleMicros, generation, killedWhileSaving,
              killsLeavingTemporaries, mostTemporaries, after, failures);
  return failures == 0 ? 0 : 1;
}

int registryTrials(const Options& o) {
  platform::TempDir dir("kestrix-crash-registry");
  platform::setRegistryRoot(dir.path());
  if (!platform::registryCreateKey(platform::RegistryHive::CurrentUser, kRegistryKey)) {
    fail("cannot create the key");
    return 1;
  }
  std::mt19937 random(o.seed);
  constexpr int kWriters = 4;
  Child writers[kWriters];
  long next[kWriters] = {0, 0, 0, 0};   // the first index not yet reported by each writer
  auto launch = [&](int w) {
    if (!start(writers[w], {"registry-writer", dir.path(), std::to_string(w),
                            std::to_string(next[w])}))
      fail("cannot start writer " + std::to_string(w));
    writers[w].last = next[w] - 1;
  };
  for (int w = 0; w < kWriters; ++w) launch(w);
  for (int trial = 0; trial < o.trials; ++trial) {
    ::usleep(std::uniform_int_distribution<unsigned>(0, 50000)(random));
    const int w = std::uniform_int_distribution<int>(0, kWriters - 1)(random);
    for (Child& c : writers) drain(c, false);
    if (!killChild(writers[w])) fail("writer " + std::to_string(w) + " ended by itself");
    // A write may have landed after the last report: the next start writes it again.
    next[w] = writers[w].last + 1;
    launch(w);
  }
  for (int w = 0; w < kWriters; ++w) {
    waitForReports(writers[w], writers[w].last, 3);
    if (!killChild(writers[w])) fail("writer " + std::to_string(w) + " ended by itself");
    next[w] = writers[w].last + 1;
  }
  long total = 0;
  for (int w = 0; w < kWriters; ++w) {
    for (long i = 0; i < next[w]; ++i) {
      platform::RegistryValue v;
      if (!platform::registryReadValue(platform::RegistryHive::CurrentUser, kRegistryKey,
                                       registryValueName(w, i), v)) {
        fail("lost " + registryValueName(w, i));
      } else if (v.type != platform::RegistryType::Text || v.text != registryText(w, i)) {
        fail("torn " + registryValueName(w, i) + ": " + v.text);
      }
    }
    total += next[w];
  }
  // A write of this process removes the killed writers' temporaries.
  platform::RegistryValue done;
  done.text = "done";
  if (!platform::registryWriteValue(platform::RegistryHive::CurrentUser, kRegistryKey, "", done))
    fail("the last write failed");
  const int after = temporariesOf(dir.path(), "HKEY_CURRENT_USER.reg");
  if (after != 0) fail(std::to_string(after) + " temporaries remain after a write");
  std::printf("registry: %d kills of 4 writers, seed %u: %ld values reported and checked, "
              "%d failures\n",
              o.trials, o.seed, total, failures);
  return failures == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  gSelf = argv[0];
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "config-saver" && argc == 4) return configSaver(argv[2], std::atoi(argv[3]));
  if (mode == "registry-writer" && argc == 5)
    return registryWriter(argv[2], std::atoi(argv[3]), std::atol(argv[4]));
  Options o;
  if ((mode == "config" || mode == "registry") && parseOptions(argc, argv, 2, o))
    return mode == "config" ? configTrials(o) : registryTrials(o);
  std::fprintf(stderr,
               "usage: %s config [--trials N] [--items M] [--seed S]\n"
               "       %s registry [--trials N] [--seed S]\n",
               argv[0], argv[0]);
  return 2;
}
