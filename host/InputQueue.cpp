#include "host/InputQueue.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <vector>

namespace kxhost {

namespace {

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// The text without its leading and trailing blanks.
std::string trimmed(const std::string& s) {
  std::size_t a = 0, b = s.size();
  while (a < b && InputQueue::isBlank(s[a])) ++a;
  while (b > a && InputQueue::isBlank(s[b - 1])) --b;
  return s.substr(a, b - a);
}

bool holdsBlank(const std::string& s) {
  for (char c : s)
    if (InputQueue::isBlank(c)) return true;
  return false;
}

// The first word of `s` (up to a blank) into `word`, the rest without its leading blanks into
// `rest`.
void firstWord(const std::string& s, std::string& word, std::string& rest) {
  std::size_t a = 0;
  while (a < s.size() && InputQueue::isBlank(s[a])) ++a;
  std::size_t b = a;
  while (b < s.size() && !InputQueue::isBlank(s[b])) ++b;
  word = s.substr(a, b - a);
  while (b < s.size() && InputQueue::isBlank(s[b])) ++b;
  rest = s.substr(b);
}

}  // namespace

bool InputQueue::parseNumber(const std::string& s, double& out) {
  if (s.empty()) return false;
  char* end = nullptr;
  out = std::strtod(s.c_str(), &end);
  return end == s.c_str() + s.size() && std::isfinite(out);
}

bool InputQueue::parsePoint(const std::string& text, double p[3]) {
  std::vector<std::string> parts;
  std::string item;
  std::istringstream in(text);
  while (std::getline(in, item, ',')) parts.push_back(item);
  if (!text.empty() && text.back() == ',') return false;
  if (parts.size() != 2 && parts.size() != 3) return false;
  double v[3] = {0.0, 0.0, 0.0};
  for (std::size_t i = 0; i < parts.size(); ++i)
    if (!parseNumber(parts[i], v[i])) return false;
  for (int i = 0; i < 3; ++i) p[i] = v[i];
  return true;
}

bool InputQueue::parse(const std::string& line, Answer& out, std::string& error) {
  std::string word, rest;
  firstWord(line, word, rest);
  if (word.empty()) return false;
  word = lower(word);
  rest = trimmed(rest);
  out = Answer();
  out.source = line;
  auto single = [&](std::string& arg) {
    if (rest.empty() || holdsBlank(rest)) {
      error = "'" + word + "' takes one value";
      return false;
    }
    arg = rest;
    return true;
  };
  std::string arg;
  if (word == "point") {
    out.kind = Answer::Kind::Point;
    if (!single(arg)) return false;
    if (!parsePoint(arg, out.p)) {
      error = "'" + arg + "' is no point (X,Y or X,Y,Z)";
      return false;
    }
    return true;
  }
  if (word == "angle" || word == "real") {
    out.kind = word == "angle" ? Answer::Kind::Angle : Answer::Kind::Real;
    if (!single(arg)) return false;
    if (!parseNumber(arg, out.value)) {
      error = "'" + arg + "' is no number";
      return false;
    }
    return true;
  }
  if (word == "int") {
    out.kind = Answer::Kind::Int;
    if (!single(arg)) return false;
    char* end = nullptr;
    long v = std::strtol(arg.c_str(), &end, 10);
    if (end != arg.c_str() + arg.size() || v < -32768 || v > 32767) {
      error = "'" + arg + "' is no integer in -32768..32767";
      return false;
    }
    out.integer = static_cast<int>(v);
    return true;
  }
  if (word == "enter" || word == "cancel") {
    if (!rest.empty()) {
      error = "'" + word + "' takes no value";
      return false;
    }
    out.kind = word == "enter" ? Answer::Kind::Enter : Answer::Kind::Cancel;
    return true;
  }
  if (word == "pick") {
    if (!single(arg)) return false;
    if (arg.find(',') != std::string::npos) {
      out.kind = Answer::Kind::PickPoint;
      if (!parsePoint(arg, out.p)) {
        error = "'" + arg + "' is no pick point";
        return false;
      }
      return true;
    }
    out.kind = Answer::Kind::PickHandle;
    char* end = nullptr;
    unsigned long h = std::strtoul(arg.c_str(), &end, 16);
    if (end != arg.c_str() + arg.size() || h == 0 || h > 0xFFFFFFFFul) {
      error = "'" + arg + "' is no handle (hexadecimal) and no point";
      return false;
    }
    out.handle = static_cast<std::uint32_t>(h);
    return true;
  }
  if (word == "tile") {
    out.kind = Answer::Kind::Tile;
    firstWord(rest, out.key, out.text);
    if (out.key.empty()) {
      error = "'tile' takes a key and a text";
      return false;
    }
    // A text in double quotes may hold leading blanks or be empty.
    if (out.text.size() >= 2 && out.text.front() == '"' && out.text.back() == '"')
      out.text = out.text.substr(1, out.text.size() - 2);
    return true;
  }
  if (word == "press") {
    out.kind = Answer::Kind::Press;
    if (!single(arg)) return false;
    out.key = arg;
    return true;
  }
  return false;
}

}  // namespace kxhost
