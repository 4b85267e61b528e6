#include "host/InputQueue.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <vector>

namespace kxhost {

namespace {

bool parseDouble(const std::string& s, double& out) {
  if (s.empty()) return false;
  char* end = nullptr;
  out = std::strtod(s.c_str(), &end);
  return *end == '\0' && std::isfinite(out);
}

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace

bool InputQueue::parsePoint(const std::string& text, double p[3]) {
  std::vector<std::string> parts;
  std::string item;
  std::istringstream in(text);
  while (std::getline(in, item, ',')) parts.push_back(item);
  if (!text.empty() && text.back() == ',') return false;
  if (parts.size() != 2 && parts.size() != 3) return false;
  double v[3] = {0.0, 0.0, 0.0};
  for (std::size_t i = 0; i < parts.size(); ++i)
    if (!parseDouble(parts[i], v[i])) return false;
  for (int i = 0; i < 3; ++i) p[i] = v[i];
  return true;
}

bool InputQueue::parse(const std::string& line, Answer& out, std::string& error) {
  std::istringstream in(line);
  std::string word;
  if (!(in >> word)) return false;
  word = lower(word);
  std::string rest;
  std::getline(in, rest);
  std::size_t a = rest.find_first_not_of(" \t");
  rest = a == std::string::npos ? "" : rest.substr(a, rest.find_last_not_of(" \t\r") - a + 1);
  out = Answer();
  out.source = line;
  auto single = [&](std::string& arg) {
    if (rest.empty() || rest.find_first_of(" \t") != std::string::npos) {
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
    if (!parseDouble(arg, out.value)) {
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
    if (*end != '\0' || v < -32768 || v > 32767) {
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
    if (*end != '\0' || h == 0 || h > 0xFFFFFFFFul) {
      error = "'" + arg + "' is no handle (hexadecimal) and no point";
      return false;
    }
    out.handle = static_cast<std::uint32_t>(h);
    return true;
  }
  if (word == "tile") {
    out.kind = Answer::Kind::Tile;
    std::istringstream r(rest);
    if (!(r >> out.key)) {
      error = "'tile' takes a key and a text";
      return false;
    }
    std::string text;
    std::getline(r, text);
    std::size_t b = text.find_first_not_of(" \t");
    out.text = b == std::string::npos ? "" : text.substr(b);
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
