// The message catalogue of CommandContext: reading "kestrix.nls", translating the German source
// texts, formatting them and showing them on the host's command line or in an alert box.

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "config/TextUtilities.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/PrintfFormat.h"
#include "plugin/CommandContext.h"
#include "plugin/HostBinding.h"

namespace {

constexpr const char* kNotTranslated = "NOT_TO_TRANSLATE";

// Largest field width or precision that a translation may write: the catalogue's own texts use
// none, and a wider one only pads a message out to a flood of blanks.
constexpr unsigned long kMaxFieldWidth = 256;

// Longest formatted message, in bytes with the terminating NUL: a file name of any real length
// fits whole, yet no argument can make a message that floods the command line or exhausts memory.
// A longer text is cut there.
constexpr std::size_t kMessageBufferSize = 64 * 1024;

// Largest catalogue read, in bytes: a few hundred messages in every language take some tens of
// kilobytes; a larger file is no catalogue and is not read.
constexpr std::size_t kMaxCatalogueBytes = 4 * 1024 * 1024;

// The largest field width or precision that a format writes in digits (0 when it writes none; a
// number beyond the type saturates). Every digit run after a '%' counts, wherever the C library
// will read it, so a width is never missed.
unsigned long widestField(const char* format) {
  unsigned long widest = 0;
  for (const char* p = format; *p; ++p) {
    if (*p != '%') continue;
    ++p;
    if (*p == '%') continue;
    unsigned long number = 0;
    for (; *p && std::string_view("-+ #0'I123456789.*").find(*p) != std::string_view::npos; ++p) {
      if (*p >= '0' && *p <= '9') {
        const unsigned long digit = static_cast<unsigned long>(*p - '0');
        number = number > (ULONG_MAX - digit) / 10 ? ULONG_MAX : number * 10 + digit;
        widest = std::max(widest, number);
      } else {
        number = 0;   // a flag, '.' or '*' ends the number before it
      }
    }
    while (*p && std::string_view("hlLqjzt").find(*p) != std::string_view::npos) ++p;
    if (!*p) break;   // else *p is the conversion letter, which the loop steps over
  }
  return widest;
}

// Whether a translation may be stored: none of its widths or precisions is over the bound (its
// conversions are compared with the source's when it is used).
bool widthsWithinBound(const RWCString& translation) {
  return widestField(translation.data()) <= kMaxFieldWidth;
}

// The format to use for a translation: the translation when the arguments that the C library
// reads for it are the first ones it reads for the source, in kind and order (arguments it leaves
// unused are well defined), else the source text itself. A catalogue entry must never make the
// formatting read an argument as another type or more arguments than the caller passed; the C
// library's own parser judges, so a conversion it does not know ("%5-d") counts as it formats.
const char* safeFormat(const char* source, const RWCString& translated) {
  if (translated.data() == source) return source;
  std::vector<int> wanted, given;
  if (!platform::printfArgumentKinds(source, wanted) ||
      !platform::printfArgumentKinds(translated.data(), given) || given.size() > wanted.size())
    return source;
  return std::equal(given.begin(), given.end(), wanted.begin()) ? translated.data() : source;
}

// The formatted text, cut to kMessageBufferSize - 1 bytes. Short texts are formatted once into a
// small buffer; only a longer one takes a second pass into a buffer of its (bounded) length.
RWCString formatV(const char* format, va_list args) {
  char small[512];
  va_list probe;
  va_copy(probe, args);
  const int needed = std::vsnprintf(small, sizeof small, format, probe);
  va_end(probe);
  if (needed <= 0) return RWCString();
  const std::size_t length =
      std::min(static_cast<std::size_t>(needed), kMessageBufferSize - 1);
  if (length < sizeof small) return RWCString(small, length);
  std::string buffer(length + 1, '\0');
  std::vsnprintf(buffer.data(), buffer.size(), format, args);
  return RWCString(buffer.data(), length);
}

}  // namespace

void CommandContext::readCatalogue(const RWCString& path) {
  std::string text;
  switch (platform::readRegularFile(std::string_view(path.data(), path.length()), text,
                                    kMaxCatalogueBytes)) {
    case platform::FileRead::Whole:
      break;
    case platform::FileRead::TooLarge:
      printMessage("Die Meldungsdatei %s ist größer als %lu Bytes und wird nicht gelesen.",
                   path.data(), static_cast<unsigned long>(kMaxCatalogueBytes));
      return;
    default:
      return;   // missing or unreadable: every message stays in its source text
  }
  // The source texts are UTF-8; a catalogue saved in the Windows code page is read as such.
  text = platform::utf8Text(text);
  std::size_t begin = 0;
  while (begin < text.size()) {
    std::size_t end = text.find('\n', begin);
    if (end == std::string::npos) end = text.size();
    std::string_view line(text.data() + begin, end - begin);
    begin = end + 1;
    while (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const std::size_t quote = line.find('"');
    if (quote == std::string_view::npos) continue;
    const RWCString rest(line.data() + quote, line.size() - quote);
    const RWTValOrderedVector<RWCString> fields = splitFields(rest, ',', '"');
    if (fields.count() != 2) continue;
    const RWCString source = decodeEscapes(fields[0], true);
    const RWCString translation = decodeEscapes(fields[1], false);
    // A refused translation is ignored like a line that holds no entry.
    if (translation == kNotTranslated || !widthsWithinBound(translation)) continue;
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
