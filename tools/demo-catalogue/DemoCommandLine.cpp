#include "tools/demo-catalogue/DemoCommandLine.h"

#include <algorithm>
#include <cctype>

std::string DemoCommandLine::poke(const std::string& key, const std::string& fallback) const {
  auto found = pokes.find(key);
  return found == pokes.end() ? fallback : found->second;
}

namespace {
std::string lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  return text;
}
}  // namespace

bool parseDemoCommandLine(const std::vector<std::string>& arguments, DemoCommandLine& out,
                          std::string& error) {
  out = DemoCommandLine{};
  bool haveOutput = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& option = arguments[i];
    const bool known = option == "-server" || option == "-topic" || option == "-poke" ||
                       option == "-fm" || option == "-o";
    if (!known) {
      error = "unknown argument \"" + option + "\"";
      return false;
    }
    if (i + 1 >= arguments.size()) {
      error = "option " + option + " needs a value";
      return false;
    }
    const std::string& value = arguments[++i];
    if (option == "-server") {
      out.server = value;
    } else if (option == "-topic") {
      out.topic = value;
    } else if (option == "-poke") {
      auto equals = value.find('=');
      if (equals == std::string::npos || equals == 0) {
        error = "poke \"" + value + "\" is not KEY=VALUE";
        return false;
      }
      out.pokes[value.substr(0, equals)] = value.substr(equals + 1);
    } else if (option == "-fm") {
      std::string format = lower(value);
      if (format == "metav2") {
        out.format = DemoCommandLine::Format::Metafile;
      } else if (format == "sat") {
        out.format = DemoCommandLine::Format::Sat;
      } else {
        error = "unknown exchange format \"" + value + "\" (METAV2 or sat)";
        return false;
      }
    } else {
      if (value.empty()) {
        error = "option -o needs a file name";
        return false;
      }
      out.outputFile = value;
      haveOutput = true;
    }
  }
  if (!haveOutput) {
    error = "no exchange file given (-o FILE)";
    return false;
  }
  return true;
}
