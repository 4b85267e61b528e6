// The message catalogue of CommandContext: reading "kestrix.nls", translating the German source
// texts, formatting them and showing them on the host's command line or in an alert box.

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "config/TextUtilities.h"
#include "platform/Path.h"
#include "plugin/CommandContext.h"
#include "plugin/HostBinding.h"

namespace {

constexpr const char* kNotTranslated = "NOT_TO_TRANSLATE";

// The conversions of a printf format in order, each as its length modifiers and conversion
// letter ("%-10.3ld" gives "ld"; "%%" gives nothing), with a '*' width or precision counted as an
// int conversion of its own. False when the format ends inside a conversion.
bool conversionsOf(const char* format, std::vector<std::string>& out) {
  out.clear();
  for (const char* p = format; *p; ++p) {
    if (*p != '%') continue;
    ++p;
    if (*p == '%') continue;
    for (; *p && std::string_view("-+ #0'123456789.*").find(*p) != std::string_view::npos; ++p)
      if (*p == '*') out.emplace_back("*");
    std::string conversion;
    for (; *p && std::string_view("hlLqjzt").find(*p) != std::string_view::npos; ++p)
      conversion += *p;
    if (!*p) return false;
    conversion += *p;
    out.push_back(conversion);
  }
  return true;
}

// The format to use for a translation: the translation when its conversions are the source's
// first ones, in kind and order (arguments it leaves unused are well defined), else the source
// text itself (a catalogue entry must never make the formatting read arguments of other types
// or more arguments than the caller passed).
const char* safeFormat(const char* source, const RWCString& translated) {
  if (translated.data() == source) return source;
  std::vector<std::string> wanted, given;
  if (!conversionsOf(source, wanted) || !conversionsOf(translated.data(), given)) return source;
  if (given.size() > wanted.size()) return source;
  return std::equal(given.begin(), given.end(), wanted.begin()) ? translated.data() : source;
}

RWCString formatV(const char* format, va_list args) {
  va_list probe;
  va_copy(probe, args);
  const int needed = std::vsnprintf(nullptr, 0, format, probe);
  va_end(probe);
  if (needed <= 0) return RWCString();
  std::string buffer(static_cast<std::size_t>(needed) + 1, '\0');
  std::vsnprintf(buffer.data(), buffer.size(), format, args);
  return RWCString(buffer.data(), static_cast<std::size_t>(needed));
}

}  // namespace

void CommandContext::readCatalogue(const RWCString& path) {
  std::string native;
  if (!platform::osPath(std::string_view(path.data(), path.length()), native)) return;
  std::ifstream in(native, std::ios::binary);
  if (!in.good()) return;
  std::string line;
  while (std::getline(in, line)) {
    while (!line.empty() && line.back() == '\r') line.pop_back();
    const std::size_t quote = line.find('"');
    if (quote == std::string::npos) continue;
    const RWCString rest(line.data() + quote, line.size() - quote);
    const RWTValOrderedVector<RWCString> fields = splitFields(rest, ',', '"');
    if (fields.count() != 2) continue;
    const RWCString source = decodeEscapes(fields[0], true);
    const RWCString translation = decodeEscapes(fields[1], false);
    if (translation == kNotTranslated) continue;
    catalogue_.findOrInsert(source) = translation;
  }
}

RWCString CommandContext::translate(const RWCString& key) const {
  const RWCString* found = catalogue_.findValue(key);
  return found && !found->isEmpty() ? *found : key;
}

RWCString& CommandContext::formatMessageV(RWCString& result, const char* format, va_list args) {
  const char* source = format ? format : "";
  const RWCString translated = translate(source);
  result = formatV(safeFormat(source, translated), args);
  return result;
}

RWCString& CommandContext::formatMessage(RWCString& result, const char* format, ...) {
  va_list args;
  va_start(args, format);
  formatMessageV(result, format, args);
  va_end(args);
  return result;
}

void CommandContext::alertMessage(const char* format, ...) {
  RWCString text;
  va_list args;
  va_start(args, format);
  formatMessageV(text, format, args);
  va_end(args);
  hostcall::alert(text.data());
}

void CommandContext::printMessage(const char* format, ...) {
  RWCString text;
  va_list args;
  va_start(args, format);
  formatMessageV(text, format, args);
  va_end(args);
  hostcall::print("\n%s\n", text.data());
}

RWCString CommandContext::decodeEscapes(const RWCString& text, bool dropNul) {
  RWCString out;
  const char* p = text.data();
  const char* const end = p + text.length();
  while (p < end) {
    if (*p != '\\') {
      out += *p++;
      continue;
    }
    ++p;                   // the backslash
    if (p >= end) break;   // a trailing backslash ends the text
    const char c = *p;
    if (c >= '0' && c <= '9') {
      char* after = nullptr;
      errno = 0;
      const long value = std::strtol(p, &after, 0);
      p = after > p ? after : p + 1;
      const char decoded = static_cast<char>(static_cast<unsigned char>(value));
      if (decoded != '\0' || !dropNul) out += decoded;
      continue;
    }
    ++p;
    switch (c) {
      case '\\': out += '\\'; break;
      case 'n': out += '\n'; break;
      case 'a': out += '\a'; break;
      case 'r': out += '\r'; break;
      case 't': out += '\t'; break;
      case 'b': out += '\b'; break;
      case 'f': out += '\f'; break;
      default: break;      // an unknown escape vanishes with its character
    }
  }
  return out;
}
