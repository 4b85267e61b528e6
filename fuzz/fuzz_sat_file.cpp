// SAT files as the host's import checks them: any text is accepted or refused with a reason; an
// accepted one has a plausible version and at least one body; the kept lines hold no line end;
// and the same text with CR LF line ends, or with CR alone, reads exactly as with LF.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "host/SatFile.h"

namespace {

using fuzzing::check;

struct Result {
  bool ok = false;
  int version = 0;
  int bodies = 0;
  std::vector<std::string> lines;
  bool operator==(const Result& o) const {
    return ok == o.ok && version == o.version && bodies == o.bodies && lines == o.lines;
  }
};

Result read(const std::string& text) {
  kxhost::SatFile file;
  std::string error;
  Result r;
  r.ok = file.parse(text, error);
  check(r.ok || !error.empty(), "a refusal without a reason");
  r.version = file.version();
  r.bodies = file.bodyCount();
  r.lines = file.lines();
  return r;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 1 << 16) return 0;
  const std::string text(reinterpret_cast<const char*>(data), size);
  const Result plain = read(text);
  if (plain.ok) {
    check(plain.version >= 100 && plain.version <= 40000, "an accepted file with an implausible version");
    check(plain.bodies >= 1, "an accepted file without a body");
  }
  for (const std::string& line : plain.lines)
    check(line.find('\n') == std::string::npos, "a kept line holds a line end");

  if (text.find('\r') == std::string::npos) {
    std::string crlf;
    for (char c : text) {
      if (c == '\n') crlf += '\r';
      crlf += c;
    }
    check(read(crlf) == plain, "CR LF line ends read otherwise than LF");
    std::string cr = text;
    std::replace(cr.begin(), cr.end(), '\n', '\r');
    check(read(cr) == plain, "CR line ends read otherwise than LF");
  }
  return 0;
}
