// Differential fuzzing of RWCString against std::string: a byte program of edits, copies and
// searches runs on both, and every result and every sharer's text must agree.

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "foundation/RWCString.h"
#include "foundation/RWThrow.h"

namespace {

struct Reader {
  const std::uint8_t* p;
  std::size_t n;
  std::uint8_t byte() {
    if (!n) return 0;
    --n;
    return *p++;
  }
  std::string text() {
    const std::size_t len = byte() % 24;
    std::string s;
    for (std::size_t i = 0; i < len && n; ++i) s.push_back(static_cast<char>(byte()));
    return s;
  }
};

void check(bool ok) {
  if (!ok) std::abort();
}

std::string str(const RWCString& s) { return std::string(s.data(), s.length()); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Reader in{data, size};
  RWCString s;
  std::string model;
  RWCString saved;         // a sharer whose text must never change behind its back
  std::string savedModel;
  while (in.n) {
    const std::uint8_t op = in.byte() % 12;
    const std::size_t pos = model.empty() ? 0 : in.byte() % (model.size() + 1);
    const std::size_t count = in.byte() % 8;
    if (model.size() > 4096 && op <= 3) continue;  // self-appends double: keep the text small
    switch (op) {
      case 0: {
        const std::string t = in.text();
        s.append(t.data(), t.size());
        model.append(t);
        break;
      }
      case 1: {
        const std::string t = in.text();
        s.replace(pos, count, t.data(), t.size());
        model.replace(pos, count, t);
        break;
      }
      case 2:  // the string's own text as the argument
        s.replace(pos, count, s);
        model.replace(pos, count, std::string(model));
        break;
      case 3:
        if (pos < model.size()) {
          s.insert(pos, s.data() + pos);  // own characters, up to the first NUL
          model.insert(pos, std::string(model.c_str() + pos));
        }
        break;
      case 4:
        s.remove(pos, count);
        model.erase(pos, count);
        break;
      case 5:
        saved = s;
        savedModel = model;
        break;
      case 6: {
        const std::string t = in.text();
        check(s.findText(RWCString(t.data(), t.size()), pos) == model.find(t, pos));
        break;
      }
      case 7:
        s.toUpper();
        for (char& c : model) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        break;
      case 8:
        if (pos < model.size()) {
          s.span(pos, count) = s.span(0, count);
          const std::string src = model.substr(0, count);
          model.replace(pos, count, src);
        }
        break;
      case 9: {
        RWCString copy(s);
        check(copy == s && copy.hash() == s.hash());
        copy.append("x");
        check(str(s) == model);
        break;
      }
      case 10:
        try {
          s.at(pos) = 'Q';
          check(pos < model.size());
          model[pos] = 'Q';
        } catch (const RWBoundsErr&) {
          check(pos >= model.size());
        }
        break;
      case 11: {
        const int r = s.compare(saved);
        const int m = model.compare(savedModel);
        check((r > 0) == (m > 0) && (r < 0) == (m < 0));
        break;
      }
    }
    check(str(s) == model);
    check(s.data()[s.length()] == '\0');
    check(s.capacity() >= s.length());
    check(str(saved) == savedModel);
  }
  return 0;
}
