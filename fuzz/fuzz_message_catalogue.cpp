// The message catalogue: reading kestrix.nls, the escape decoding and the check that keeps a
// translation from asking for other arguments than its source text.
//
// Input: a selector byte, then three parts cut at '\n': a raw translation, a text T, and raw
// catalogue lines. The catalogue file is the raw lines, then an entry translating one of the
// plug-in's message formats (chosen by the selector) with the raw translation, then an entry
// translating a key made from T to T, both written with escapes for every byte that needs one.
// Checks: decoding never lengthens a text, drops an escaped NUL where asked (a raw one stays), and
// decodes the escaped form of any text back to it; the escaped entry translates to T (or, when T
// writes a field width or precision over 256, is refused and shows its key); formatting
// the chosen message with its arguments never reads other arguments (any translation that asks
// for them is not used), and with no translation gives what printf gives.

#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "config/VariableTables.h"
#include "fuzz/FuzzSupport.h"
#include "host/HostSession.h"
#include "plugin/CommandContext.h"

namespace {

using fuzzing::check;

std::string str(const RWCString& s) { return std::string(s.data(), s.length()); }

// The catalogue's escaped form of any bytes: bytes that are plain stay, others become \NUMBER
// (decimal, so that no prefix is read as a base); after a number, a digit or letter is escaped
// too, so that it cannot lengthen the number.
std::string escaped(const std::string& text) {
  std::string out;
  bool afterNumber = false;
  for (unsigned char c : text) {
    const bool plain = c >= 32 && c < 127 && c != '\\' && c != '"' && c != ',' &&
                       !(c >= '0' && c <= '9') &&
                       !(afterNumber && ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')));
    if (plain) {
      out += static_cast<char>(c);
      afterNumber = false;
    } else {
      out += "\\" + std::to_string(c);
      afterNumber = true;
    }
  }
  return out;
}

std::string printed(const char* format, ...) {
  va_list args;
  va_start(args, format);
  char buffer[4096];
  const int n = std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
}

// Whether a text, read as the C string that a format is, writes a field width or precision over
// 256 in one of its conversions: the catalogue refuses such a translation.
bool writesAHugeWidth(const std::string& text) {
  const std::string s = text.substr(0, text.find('\0'));
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '%') continue;
    std::size_t j = ++i;
    if (j < s.size() && s[j] == '%') continue;
    while (j < s.size() && std::strchr("-+ #0'I.*123456789", s[j])) {
      if (s[j] < '0' || s[j] > '9') {
        ++j;
        continue;
      }
      while (j < s.size() && s[j] == '0') ++j;   // leading zeros add nothing
      const std::size_t start = j;
      while (j < s.size() && s[j] >= '0' && s[j] <= '9') ++j;
      if (j - start > 3 || (j > start && std::stoi(s.substr(start, j - start)) > 256)) return true;
    }
    while (j < s.size() && std::strchr("hlLqjzt", s[j])) ++j;
    i = j;   // the conversion letter
  }
  return false;
}

// The messages the check is tried on, each formatted with its own arguments (through the
// catalogue, or by printf when `plain`).
struct Message {
  const char* format;
  std::string (*formatWith)(CommandContext&, bool);
};

#define KX_MESSAGE(FORMAT, ...)                                                          \
  Message {                                                                              \
    FORMAT, [](CommandContext& c, bool plain) {                                          \
      RWCString r;                                                                       \
      return plain ? printed(FORMAT, ##__VA_ARGS__) : str(c.formatMessage(r, FORMAT, ##__VA_ARGS__)); \
    }                                                                                    \
  }

const Message kMessages[] = {
    KX_MESSAGE("Datei %s wurde nicht gefunden!", "Teil.ps2"),
    KX_MESSAGE("Programm %s wurde nicht gefunden!", "c:/quorvel/bin/trovstart.exe"),
    KX_MESSAGE("%d von %d Teilen eingefügt", 3, 17),
    KX_MESSAGE("Drehwinkel <%.2f>:", 2.5),
    KX_MESSAGE("Es wurde kein Teil übergeben!"),
    KX_MESSAGE("Satz %ld: %s", 123456789012L, "x"),
    KX_MESSAGE("%c%5.1f%%", 'a', -1e300),
};

#undef KX_MESSAGE

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0 || size > 1 << 16) return 0;
  const std::string& scratch = fuzzing::scratch();
  const Message& message = kMessages[data[0] % (sizeof kMessages / sizeof kMessages[0])];
  const std::vector<std::string> parts = fuzzing::splitParts(data + 1, size - 1, '\n', 3);
  const std::string& translation = parts[0];
  const std::string& t = parts[1];

  // Decoding on its own.
  for (const std::string* text : {&translation, &t, &parts[2]}) {
    const RWCString raw(text->data(), text->size());
    const RWCString kept = CommandContext::decodeEscapes(raw, false);
    const RWCString dropped = CommandContext::decodeEscapes(raw, true);
    check(kept.length() <= raw.length(), "decoding lengthens a text");
    if (text->find('\0') == std::string::npos)
      check(str(dropped).find('\0') == std::string::npos, "an escaped NUL survives where it is dropped");
    if (text->find('\\') == std::string::npos) check(kept == raw, "a text without escapes changes");
  }
  const std::string escapedT = escaped(t);
  check(str(CommandContext::decodeEscapes(RWCString(escapedT.data(), escapedT.size()), false)) == t,
        "the escaped form of a text decodes to another text");

  // The catalogue.
  const std::string key = "kx-fuzz:" + escapedT;
  const std::string file = scratch + "/kestrix.nls";
  fuzzing::writeFile(file, parts[2] + "\n\"" + escaped(message.format) + "\",\"" + translation +
                               "\"\n\"" + escaped(key) + "\",\"" + escapedT + "\"\n");
  kxhost::HostSession::instance().reset();
  CommandContext context;
  context.readCatalogue(RWCString(file.data(), file.size()));

  const std::string shown = str(context.translate(RWCString(key.data(), key.size())));
  if (t.empty() || t == "NOT_TO_TRANSLATE") check(!shown.empty(), "a key translates to nothing");
  else if (writesAHugeWidth(t)) check(shown == key, "a translation with a huge width is used");
  else check(shown == t, "an escaped entry does not translate to its text");

  // The format check: whatever the translation, formatting reads only the given arguments.
  const std::string result = message.formatWith(context, false);
  if (context.translate(message.format) == message.format)
    check(result == message.formatWith(context, true),
          "an untranslated message is not formatted as printf formats it");

  // The catalogue file may also be missing: nothing is read.
  CommandContext empty;
  empty.readCatalogue(RWCString((scratch + "/no-such.nls").c_str()));
  check(empty.catalogueEntries() == 0, "a missing catalogue has entries");
  return 0;
}
