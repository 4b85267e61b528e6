#include "host/ScriptRunner.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <sstream>

#include "host/HostSession.h"
#include "host/PluginModule.h"

namespace kxhost {

namespace {

constexpr double kPi = 3.141592653589793;

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// The line as a message shows it: control bytes written as \xNN, so that a stray tab, form feed
// or NUL is visible and cannot disturb the terminal.
std::string shownLine(const std::string& line) {
  static const char* const kHex = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : line) {
    if (c < 0x20 || c == 0x7F) {
      out += "\\x";
      out += kHex[c >> 4];
      out += kHex[c & 15];
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

// Splits a line into words at blanks (InputQueue::isBlank); a word in double quotes may hold
// blanks ("" is an empty word).
bool splitWords(const std::string& line, std::vector<std::string>& words, std::string& error) {
  words.clear();
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && InputQueue::isBlank(line[i])) ++i;
    if (i >= line.size()) break;
    std::string w;
    if (line[i] == '"') {
      std::size_t end = line.find('"', i + 1);
      if (end == std::string::npos) {
        error = "a quoted word is not closed";
        return false;
      }
      w = line.substr(i + 1, end - i - 1);
      i = end + 1;
    } else {
      while (i < line.size() && !InputQueue::isBlank(line[i])) w += line[i++];
    }
    words.push_back(w);
  }
  return true;
}

bool parseInt(const std::string& s, long& v) {
  if (s.empty()) return false;
  char* end = nullptr;
  v = std::strtol(s.c_str(), &end, 10);
  return end == s.c_str() + s.size();
}

}  // namespace

bool ScriptRunner::parse(const std::string& text, std::string& error) {
  lines_.clear();
  std::istringstream in(text);
  std::string raw;
  int number = 0;
  while (std::getline(in, raw)) {
    ++number;
    if (!raw.empty() && raw.back() == '\r') raw.pop_back();
    std::size_t first = 0;
    while (first < raw.size() && InputQueue::isBlank(raw[first])) ++first;
    if (first == raw.size() || raw[first] == '#') continue;   // blank (any blanks) or comment
    std::string body = raw.substr(first);
    auto fail = [&](const std::string& why) {
      error = "line " + std::to_string(number) + ": " + shownLine(why) + ": '" + shownLine(body) + "'";
      return false;
    };
    Line line;
    line.number = number;
    std::string why;
    if (!splitWords(body, line.words, why)) return fail(why);
    if (line.words.empty()) continue;
    std::string key = lower(line.words[0]);
    std::size_t n = line.words.size();
    if (key == "command") {
      if (n < 2) return fail("'command' needs a command name");
      line.kind = Line::Kind::Command;
    } else if (key == "invoke") {
      long code = 0;
      if (n < 2 || !parseInt(line.words[1], code) || code < 0 || code > 32767)
        return fail("'invoke' needs a function code 0..32767");
      line.kind = Line::Kind::Invoke;
    } else if (key == "message") {
      long msg = 0;
      if (n != 2 || !parseInt(line.words[1], msg) || msg < 0 || msg > 1000)
        return fail("'message' needs one message number");
      line.kind = Line::Kind::Message;
    } else if (key == "line" || key == "circle" || key == "arc") {
      std::size_t need = key == "line" ? 3 : key == "circle" ? 3 : 5;
      if (n != need && n != need + 1) return fail("wrong number of values for '" + key + "'");
      double p[3], v = 0.0;
      if (!InputQueue::parsePoint(line.words[1], p)) return fail("'" + line.words[1] + "' is no point");
      if (key == "line" && !InputQueue::parsePoint(line.words[2], p))
        return fail("'" + line.words[2] + "' is no point");
      for (std::size_t k = 2; key != "line" && k < need; ++k)
        if (!InputQueue::parseNumber(line.words[k], v))
          return fail("'" + line.words[k] + "' is no number");
      line.kind = Line::Kind::Draw;
    } else if (key == "set") {
      if (n != 3) return fail("'set' needs a name and a value");
      line.kind = Line::Kind::Set;
    } else if (InputQueue::parse(body, line.answer, why)) {
      bool follows = !lines_.empty() && (lines_.back().kind == Line::Kind::Command ||
                                         lines_.back().kind == Line::Kind::Invoke ||
                                         lines_.back().kind == Line::Kind::Answer);
      if (!follows) return fail("an answer must follow its command line");
      line.answer.line = number;
      line.kind = Line::Kind::Answer;
    } else {
      return fail(why.empty() ? "not understood" : why);
    }
    lines_.push_back(std::move(line));
  }
  return true;
}

bool ScriptRunner::draw(const Line& line, std::string& error) {
  std::string key = lower(line.words[0]);
  double a[3], b[3];
  GroupList groups;
  groups.push_back(Group::str(RTDXF0, upperName(key)));
  std::size_t layerAt = 0;
  InputQueue::parsePoint(line.words[1], a);
  if (key == "line") {
    InputQueue::parsePoint(line.words[2], b);
    groups.push_back(Group::point(10, a[0], a[1], a[2]));
    groups.push_back(Group::point(11, b[0], b[1], b[2]));
    layerAt = 3;
  } else {
    double r = std::strtod(line.words[2].c_str(), nullptr);
    groups.push_back(Group::point(10, a[0], a[1], a[2]));
    groups.push_back(Group::real(40, r));
    layerAt = 3;
    if (key == "arc") {
      groups.push_back(Group::real(50, std::strtod(line.words[3].c_str(), nullptr) * kPi / 180.0));
      groups.push_back(Group::real(51, std::strtod(line.words[4].c_str(), nullptr) * kPi / 180.0));
      layerAt = 5;
    }
  }
  if (line.words.size() > layerAt) groups.push_back(Group::str(8, line.words[layerAt]));
  std::string why;
  if (host_.database().make(std::move(groups), host_.variables().currentLayer(), why) != RTNORM) {
    error = "line " + std::to_string(line.number) + ": the host refuses the " + key + ": " + why;
    return false;
  }
  return true;
}

void ScriptRunner::invoke(PluginModule& module, int code, const std::string& name,
                          const std::vector<std::string>& args, std::size_t& index) {
  // The answers written below the command line are its input.
  InputQueue& input = host_.input();
  input.clear();
  while (index + 1 < lines_.size() && lines_[index + 1].kind == Line::Kind::Answer)
    input.push(lines_[++index].answer);
  std::string shown = name;
  for (const std::string& a : args) shown += " " + a;
  host_.transcript().write("Command: " + shown + "\n");
  host_.beginInvocation(code, name, args);
  module.send(kInvkSubrMsg);
  host_.endInvocation();
  if (!input.empty()) {
    host_.transcript().hostLine(std::to_string(input.size()) + " answer(s) left unused by " +
                                name + " (first: line " + std::to_string(input.peek()->line) + ")");
    input.clear();
  }
}

bool ScriptRunner::run(PluginModule& module, std::string& error) {
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const Line& line = lines_[i];
    std::string where = "line " + std::to_string(line.number) + ": ";
    switch (line.kind) {
      case Line::Kind::Command: {
        int code = host_.codeOf(line.words[1]);
        if (code < 0) {
          error = where + "unknown command \"" + line.words[1] + "\"";
          return false;
        }
        std::string name = line.words[1];
        std::string up = upperName(name);
        if (up.compare(0, 2, "C:") == 0) name = name.substr(2);
        invoke(module, code, name,
               std::vector<std::string>(line.words.begin() + 2, line.words.end()), i);
        break;
      }
      case Line::Kind::Invoke: {
        int code = std::atoi(line.words[1].c_str());
        invoke(module, code, "invoke " + line.words[1],
               std::vector<std::string>(line.words.begin() + 2, line.words.end()), i);
        break;
      }
      case Line::Kind::Message: module.send(std::atoi(line.words[1].c_str())); break;
      case Line::Kind::Answer:
        error = where + "an answer that no command takes";   // cannot happen after parse
        return false;
      case Line::Kind::Draw:
        if (!draw(line, error)) return false;
        break;
      case Line::Kind::Set: {
        std::string why;
        if (!host_.variables().setFromText(line.words[1], line.words[2], why)) {
          error = where + why;
          return false;
        }
        break;
      }
    }
  }
  return true;
}

}  // namespace kxhost
