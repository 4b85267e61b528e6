#pragma once
// The host's script: parsed line by line before anything runs, then played against a loaded
// plug-in. Lines: `command NAME [ARG ...]` (invoke a registered command; "C:" may be left out;
// arguments may be double-quoted), `invoke CODE [ARG ...]` (the invoke message with any
// function code), `message N` (any other entry-point message), the answers of InputQueue
// (`point`, `angle`, `int`, `real`, `enter`, `cancel`, `pick`, `tile`, `press`; they belong to
// the command line above them), `line X1,Y1 X2,Y2 [LAYER]`, `circle X,Y R [LAYER]`,
// `arc X,Y R START END [LAYER]` (degrees; drawn as the user would), `set NAME VALUE`. `#`
// starts a comment. A line the host does not understand stops the script, naming its number.

#include <string>
#include <vector>

#include "host/InputQueue.h"

namespace kxhost {

class HostSession;
class PluginModule;

class ScriptRunner {
public:
  explicit ScriptRunner(HostSession& host) : host_(host) {}

  // False with `error` ("line N: ...") at the first line that is not understood.
  bool parse(const std::string& text, std::string& error);

  // Plays the parsed lines. False with `error` ("line N: ...") when a line cannot be carried
  // out (an unknown command, a refused drawing line, a bad variable); the lines after it do not
  // run.
  bool run(PluginModule& module, std::string& error);

  std::size_t lineCount() const { return lines_.size(); }

private:
  struct Line {
    enum class Kind { Command, Invoke, Message, Answer, Draw, Set };
    Kind kind = Kind::Command;
    int number = 0;
    std::vector<std::string> words;   // the line's words, quotes removed
    Answer answer;
  };

  bool draw(const Line& line, std::string& error);
  void invoke(PluginModule& module, int code, const std::string& name,
              const std::vector<std::string>& args, std::size_t& index);

  HostSession& host_;
  std::vector<Line> lines_;
};

}  // namespace kxhost
