#include "platform/Process.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include <gtest/gtest.h>

#include "platform/FileSystem.h"
#include "platform/Path.h"
#include "platform/Time.h"
#include "platform/testing/ScopedEnv.h"
#include "platform/testing/TempDir.h"

#include <unistd.h>

namespace platform {
namespace {

namespace fs = std::filesystem;
using Args = std::vector<std::string>;

TEST(SplitCommandLineTest, WindowsRules) {
  struct Case {
    const char* line;
    Args args;
  } cases[] = {
      {"", {}},
      {"  \t ", {}},
      {"a b\tc", {"a", "b", "c"}},
      {"  lead  trail  ", {"lead", "trail"}},
      {"\"a b\" c", {"a b", "c"}},
      {"a\"b c\"d e", {"ab cd", "e"}},
      {"\"\"", {""}},
      {"a \"\" b", {"a", "", "b"}},
      {"a \"\"", {"a", ""}},
      {"\"unterminated quote", {"unterminated quote"}},
      {"\"say \"\"hi\"\"\"", {"say \"hi\""}},
      {"\\\"", {"\""}},                          // \"      -> "
      {"\\\\\"a b\"", {"\\a b"}},                // \\"a b" -> \a b
      {"\\\\\\\"x", {"\\\"x"}},                  // \\\"x   -> \"x
      {"\\\\\\\\\"x y\"", {"\\\\x y"}},          // \\\\"x y" -> \\x y
      {"c:\\dir\\prog.exe a\\b", {"c:\\dir\\prog.exe", "a\\b"}},
      {"\"c:\\dir with blank\\\\\" x", {"c:\\dir with blank\\", "x"}},
      {"-poke \"pconset=    1, 12.0,  0.0,   -1\" -o c:\\x",
       {"-poke", "pconset=    1, 12.0,  0.0,   -1", "-o", "c:\\x"}},
      {"-poke RECEIVERCADID=Autocad.2d -fm METAV2",
       {"-poke", "RECEIVERCADID=Autocad.2d", "-fm", "METAV2"}},
  };
  for (const Case& c : cases) EXPECT_EQ(splitCommandLine(c.line), c.args) << c.line;
}

// The usual quoting of one argument for a Windows command line, written independently of the
// splitter: every argument that comes out must be split back to itself.
std::string quoteArgument(const std::string& arg) {
  if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos) return arg;
  std::string out = "\"";
  for (size_t i = 0;; ++i) {
    size_t backslashes = 0;
    while (i < arg.size() && arg[i] == '\\') {
      ++backslashes;
      ++i;
    }
    if (i == arg.size()) {
      out.append(backslashes * 2, '\\');
      break;
    }
    if (arg[i] == '"') {
      out.append(backslashes * 2 + 1, '\\');
    } else {
      out.append(backslashes, '\\');
    }
    out.push_back(arg[i]);
  }
  out.push_back('"');
  return out;
}

TEST(SplitCommandLineTest, UndoesTheUsualQuoting) {
  std::mt19937 random(12345);
  const char alphabet[] = {'a', 'b', ' ', '\t', '"', '\\', '\\', '='};
  for (int round = 0; round < 5000; ++round) {
    Args args(1 + random() % 5);
    std::string line;
    for (std::string& a : args) {
      size_t length = random() % 9;
      for (size_t k = 0; k < length; ++k) a.push_back(alphabet[random() % sizeof alphabet]);
      if (!line.empty()) line += random() % 2 ? " " : " \t ";
      line += quoteArgument(a);
    }
    ASSERT_EQ(splitCommandLine(line), args) << line;
  }
}

std::string inQuotes(const std::string& s) { return "\"" + s + "\""; }

// Polls until the process has ended; gives its code.
std::uint32_t waitFor(ProcessHandle p) {
  std::uint32_t code = kStillActive;
  for (int i = 0; i < 2000 && code == kStillActive; ++i) {
    if (!processExitCode(p, code)) return 0xFFFFFFFF;
    if (code == kStillActive) sleepMilliseconds(5);
  }
  return code;
}

Args readArgs(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  std::string all = s.str();
  Args args;
  size_t pos = 0;
  while (pos < all.size()) {
    size_t end = all.find('\0', pos);
    args.push_back(all.substr(pos, end - pos));
    pos = end + 1;
  }
  return args;
}

TEST(ProcessTest, ExitCodesOfRealPrograms) {
  struct Case {
    const char* line;
    std::uint32_t code;
  } cases[] = {{"/bin/true", 0}, {"/bin/false", 1}};
  for (const Case& c : cases) {
    bool started = false;
    ProcessHandle p = startProcess(c.line, started);
    ASSERT_TRUE(started) << c.line;
    ASSERT_NE(p, 0);
    EXPECT_EQ(waitFor(p), c.code) << c.line;
    std::uint32_t again = 0;
    EXPECT_TRUE(processExitCode(p, again));   // the code stays readable until closed
    EXPECT_EQ(again, c.code);
    EXPECT_TRUE(closeProcess(p));
    EXPECT_FALSE(processExitCode(p, again));
    EXPECT_FALSE(closeProcess(p));
  }
}

TEST(ProcessTest, StillActiveWhileRunning) {
  bool started = false;
  ProcessHandle p = startProcess(inQuotes(KXPLATFORM_CHILD) + " - 7 300", started);
  ASSERT_TRUE(started);
  std::uint32_t code = 0;
  ASSERT_TRUE(processExitCode(p, code));
  EXPECT_EQ(code, kStillActive);
  std::uint64_t t0 = monotonicNanoseconds();
  EXPECT_EQ(waitFor(p), 7u);
  EXPECT_GT(monotonicNanoseconds() - t0, 100000000u);   // it ran for a while, not 0 ms
  closeProcess(p);
}

TEST(ProcessTest, ArgumentsArriveAsSplit) {
  TempDir dir;
  std::string out = dir.file("args");
  std::string line = inQuotes(KXPLATFORM_CHILD) + " " + out +
                     " 0 0 -poke \"pconset=    1, 12.0,  0.0,   -1\" \"\" a\\\\\"b c\" \\\"q";
  bool started = false;
  ProcessHandle p = startProcess(line, started);
  ASSERT_TRUE(started);
  EXPECT_EQ(waitFor(p), 0u);
  closeProcess(p);
  Args got = readArgs(out);
  Args want = {KXPLATFORM_CHILD, out, "0", "0", "-poke", "pconset=    1, 12.0,  0.0,   -1", "",
               "a\\b c", "\"q"};
  EXPECT_EQ(got, want);
}

TEST(ProcessTest, ProgramPathWithBlanksAndDrive) {
  TempDir dir;
  fs::create_directory(dir.file("dir with blanks"));
  std::string prog = dir.file("dir with blanks/the child");
  fs::copy_file(KXPLATFORM_CHILD, prog);
  std::string out = dir.file("args");

  bool started = false;
  ProcessHandle p = startProcess(inQuotes(prog) + " " + inQuotes(out) + " 3 0", started);
  ASSERT_TRUE(started);
  EXPECT_EQ(waitFor(p), 3u);
  closeProcess(p);
  EXPECT_EQ(readArgs(out)[0], prog);

  // The same program through a mapped drive, written the Windows way.
  ASSERT_TRUE(setDrive("k", dir.path()));
  p = startProcess("\"k:\\dir with blanks\\the child\" - 4 0", started);
  ASSERT_TRUE(started);
  EXPECT_EQ(waitFor(p), 4u);
  closeProcess(p);
  removeDrive("k");
}

TEST(ProcessTest, FailuresToStart) {
  TempDir dir;
  std::ofstream(dir.file("not-executable")) << "data";
  const std::string cases[] = {
      "",
      "   ",
      dir.file("missing"),
      dir.file("not-executable"),
      dir.path(),                        // a folder
      "q:\\unmapped\\prog.exe",
      "kestrix-no-such-program-on-path",
  };
  for (const std::string& line : cases) {
    bool started = true;
    std::string error;
    EXPECT_EQ(startProcess(line, started, &error), 0) << line;
    EXPECT_FALSE(started) << line;
    EXPECT_FALSE(error.empty()) << line;
  }
  std::uint32_t code;
  EXPECT_FALSE(processExitCode(0, code));
  EXPECT_FALSE(processExitCode(123456, code));
}

// Works in another folder for the life of the object, then goes back.
class InFolder {
 public:
  explicit InFolder(const std::string& folder) : previous_(currentFolder()) {
    EXPECT_TRUE(changeFolder(folder)) << folder;
  }
  ~InFolder() { changeFolder(previous_); }

 private:
  std::string previous_;
};

// A program named without a folder is the file of that name in the working folder, the file an
// existence test of that name sees. PATH is never searched: "true" is not the system's true.
TEST(ProcessTest, NameWithoutFolderIsTheFileInTheWorkingFolder) {
  ASSERT_TRUE(fs::exists("/bin/true"));
  TempDir dir;
  InFolder inside(dir.path());
  bool started = true;
  std::string error;
  EXPECT_EQ(startProcess("true", started, &error), 0);
  EXPECT_FALSE(started);
  EXPECT_FALSE(error.empty());

  std::ofstream(dir.file("true")) << "data";   // there, but no program
  EXPECT_EQ(startProcess("true", started), 0);
  EXPECT_FALSE(started);

  fs::remove(dir.file("true"));
  fs::copy_file(KXPLATFORM_CHILD, dir.file("true"));
  ProcessHandle p = startProcess("true args 5 0", started);
  ASSERT_TRUE(started);
  EXPECT_EQ(waitFor(p), 5u);
  closeProcess(p);
  EXPECT_EQ(readArgs(dir.file("args")), (Args{"true", "args", "5", "0"}));
}

// Children of this process that have ended but were never waited for.
int zombieChildren() {
  int zombies = 0;
  std::string me = std::to_string(::getpid());
  for (const auto& entry : fs::directory_iterator("/proc")) {
    std::ifstream in(entry.path() / "stat");
    std::string stat;
    if (!std::getline(in, stat)) continue;
    size_t close = stat.rfind(')');
    if (close == std::string::npos) continue;
    std::istringstream rest(stat.substr(close + 2));
    std::string state, ppid;
    rest >> state >> ppid;
    if (ppid == me && state == "Z") ++zombies;
  }
  return zombies;
}

TEST(ProcessTest, ClosingARunningProcessLeavesNoZombie) {
  bool started = false;
  ProcessHandle p = startProcess(inQuotes(KXPLATFORM_CHILD) + " - 0 50", started);
  ASSERT_TRUE(started);
  EXPECT_TRUE(closeProcess(p));
  // Any later call reaps it once it has ended; on a loaded machine the child may end only after
  // the first such call, so a few rounds are given (a zombie that stays fails them all).
  int zombies = -1;
  for (int round = 0; round < 20 && zombies != 0; ++round) {
    sleepMilliseconds(300);
    ProcessHandle q = startProcess("/bin/true", started);
    ASSERT_TRUE(started);
    waitFor(q);
    closeProcess(q);
    zombies = zombieChildren();
  }
  EXPECT_EQ(zombies, 0);
}

TEST(ProcessTest, SleepLastsAtLeastItsTime) {
  std::uint64_t t0 = monotonicNanoseconds();
  sleepMilliseconds(30);
  EXPECT_GE(monotonicNanoseconds() - t0, 30000000u);
}

}  // namespace
}  // namespace platform

TEST(ProcessTest, EnvironmentEntriesSeeTheCurrentEnvironment) {
  platform::ScopedEnv variable("KESTRIX_ENTRY_PROBE", "a=b");
  const std::vector<std::string> entries = platform::environmentEntries();
  EXPECT_NE(std::find(entries.begin(), entries.end(), "KESTRIX_ENTRY_PROBE=a=b"), entries.end());
}
