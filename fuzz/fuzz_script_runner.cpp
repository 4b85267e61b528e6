// The host's script lines and the answers written in them: any text either parses, keeping at most
// one line per script line that is neither blank nor a comment, or is refused with
// "line N: ..." naming a line of the text. Every line read on its own as an answer either is one
// or is refused; an accepted answer keeps finite numbers and, for a tile or a button, its key.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "host/HostSession.h"
#include "host/InputQueue.h"
#include "host/ScriptRunner.h"

namespace {

using fuzzing::check;

void checkAnswer(const std::string& line) {
  kxhost::Answer answer;
  std::string error;
  if (!kxhost::InputQueue::parse(line, answer, error)) return;
  using Kind = kxhost::Answer::Kind;
  switch (answer.kind) {
    case Kind::Point:
    case Kind::PickPoint:
      for (double v : answer.p) check(std::isfinite(v), "an answer point that is not finite");
      break;
    case Kind::Angle:
    case Kind::Real:
      check(std::isfinite(answer.value), "an answer number that is not finite");
      break;
    case Kind::Tile:
    case Kind::Press:
      check(!answer.key.empty(), "a dialog answer without a key");
      break;
    default:
      break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 1 << 16) return 0;
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> lines = fuzzing::linesOf(text);
  std::size_t meaningful = 0;
  for (std::string line : lines) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::size_t first = line.find_first_not_of(" \t");
    if (first != std::string::npos && line[first] != '#') ++meaningful;
    checkAnswer(line);
  }

  kxhost::ScriptRunner runner(kxhost::HostSession::instance());
  std::string error;
  const bool first = runner.parse(text, error);
  if (first) {
    check(runner.lineCount() <= meaningful, "more parsed lines than script lines");
  } else {
    const long line = fuzzing::lineOfMessage(error);
    check(line >= 1 && static_cast<std::size_t>(line) <= lines.size() + 1,
          "a refusal that names no line of the script");
  }
  // A second parse starts afresh.
  std::string again;
  const bool ok = runner.parse(text, again);
  check(first ? ok : (!ok && again == error), "parsing the same script twice differs");
  return 0;
}
