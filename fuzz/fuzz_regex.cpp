// Compiles arbitrary bytes as a pattern and runs it over arbitrary bytes: never a crash, a hang or
// a result outside the text. Input: one byte giving the pattern length, the pattern, then the text.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "foundation/PatternRegex.h"
#include "foundation/RWCString.h"

namespace {

// Bounds keep the backtracking matcher's polynomial worst case short per input.
constexpr size_t kMaxText = 256;
constexpr int kMaxMatches = 4;

void check(bool ok) {
    if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const size_t patternLength = data[0] < size - 1 ? data[0] : size - 1;
    const char* pattern = reinterpret_cast<const char*>(data + 1);
    const char* textStart = pattern + patternLength;
    size_t textLength = size - 1 - patternLength;
    if (textLength > kMaxText) textLength = kMaxText;

    PatternRegex re(RWCString(pattern, patternLength));
    const bool valid = re.isValid();
    const int status = re.status();
    check(valid == (status == 0));
    check(status >= 0 && status <= 3);
    const std::string dump = re.dumpProgram();
    check(!dump.empty());
    if (!valid) return 0;
    check(re.programLength() >= 1 && re.programLength() <= PatternRegex::kProgramWords);

    const RWCString text(textStart, textLength);
    size_t start = 0;
    for (int i = 0; i < kMaxMatches && start <= text.length(); ++i) {
        size_t length = 0;
        const size_t at = text.indexOfMatch(re, length, start);
        if (at == RW_NPOS) {
            check(length == 0);
            break;
        }
        check(at >= start && at <= text.length() && length <= text.length() - at);
        const RWCString matched = text.matchedText(re, start);
        check(matched.length() == length);
        check(std::string(matched.data(), matched.length()) == std::string(text.data() + at, length));
        start = at + (length == 0 ? 1 : length);
    }
    // Starting past the end finds nothing.
    size_t length = 7;
    check(text.indexOfMatch(re, length, text.length() + 1) == RW_NPOS && length == 0);
    return 0;
}
