// Compiler and matcher of PatternRegex, and the RWCString search functions built on it.

#include "foundation/PatternRegex.h"

#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "foundation/RWCString.h"
#include "foundation/RWThrow.h"

namespace {

constexpr size_t kNpos = PatternRegex::npos;

int hexValue(unsigned char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool isOctal(unsigned char c) { return c >= '0' && c <= '7'; }

unsigned char asciiUpper(unsigned char c) { return (c >= 'a' && c <= 'z') ? c - 'a' + 'A' : c; }
unsigned char asciiLower(unsigned char c) { return (c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c; }

bool isRepetition(uint16_t w) {
    return w == PatternRegex::kStar || w == PatternRegex::kPlus || w == PatternRegex::kOptional;
}

// Reads one character of the pattern at p (p < end), resolving a backslash escape; advances p.
// Never reads at or past end.
unsigned readChar(const unsigned char*& p, const unsigned char* end) {
    unsigned char c = *p++;
    if (c != '\\') return c;
    if (p == end) return '\\';  // a trailing backslash is itself
    unsigned char e = *p++;
    switch (asciiLower(e)) {
        case 'b': return 8;
        case 'e': return 27;
        case 'f': return 12;
        case 'n': return 10;
        case 'r': return 13;
        case 's': return 32;
        case 't': return 9;
        case 'x': {
            if (p == end || hexValue(*p) < 0) return e;  // no digit: the letter itself
            unsigned v = static_cast<unsigned>(hexValue(*p++));
            if (p != end && hexValue(*p) >= 0) v = v * 16 + static_cast<unsigned>(hexValue(*p++));
            return v;
        }
        case '^':
            // A control code; "\^" ending the pattern has no character to control and is a '^'.
            if (p == end) return '^';
            return (static_cast<unsigned>(asciiUpper(*p++)) - 64u) & 0xFFu;
        default:
            if (isOctal(e)) {
                unsigned v = e - '0';
                for (int i = 1; i < 3 && p != end && isOctal(*p); ++i) v = v * 8 + (*p++ - '0');
                return v & 0xFFu;
            }
            return e;
    }
}

// Compiles [p, end) into prog (capacity kProgramWords); returns the status code.
int compile(const unsigned char* p, const unsigned char* end, uint16_t* prog) {
    constexpr size_t cap = PatternRegex::kProgramWords;
    if (p == end || *p == '*' || *p == '+' || *p == '?') return PatternRegex::ILLEGAL;
    size_t pos = 0;      // words written
    size_t last = 0;     // first word of the element written last
    while (p != end) {
        if (cap - pos < 2) return PatternRegex::TOOLONG;
        const unsigned char c = *p;
        if (c == '$' && p + 1 == end) {
            last = pos;
            prog[pos++] = PatternRegex::kEndAnchor;
            ++p;
        } else if (c == '^' && pos == 0) {
            last = pos;
            prog[pos++] = PatternRegex::kStartAnchor;
            ++p;
        } else if (c == '.') {
            last = pos;
            prog[pos++] = PatternRegex::kAny;
            ++p;
        } else if (c == '*' || c == '+' || c == '?') {
            const uint16_t before = prog[last];
            if (before == PatternRegex::kEndAnchor || before == PatternRegex::kStartAnchor ||
                isRepetition(before))
                return PatternRegex::TOOLONG;
            std::memmove(prog + last + 1, prog + last, (pos - last) * sizeof(uint16_t));
            prog[last] = static_cast<uint16_t>(0x8000u | c);  // kStar, kPlus or kOptional
            ++pos;
            ++p;
        } else if (c == '[') {
            if (pos + 17 + 1 > cap) return PatternRegex::TOOLONG;
            ++p;
            bool negate = false;
            if (p != end && *p == '^') {
                negate = true;
                ++p;
            }
            if (p != end && *p == ']') return PatternRegex::ILLEGAL;  // empty class: never closed
            uint16_t set[16] = {};
            bool closed = false;
            while (p != end) {
                if (*p == ']') {
                    ++p;
                    closed = true;
                    break;
                }
                unsigned lo = readChar(p, end);
                unsigned hi = lo;
                if (p != end && *p == '-' && p + 1 != end && p[1] != ']') {
                    ++p;
                    hi = readChar(p, end);
                    if (hi < lo) std::swap(lo, hi);
                }
                for (unsigned ch = lo; ch <= hi; ++ch)
                    set[ch / 16] = static_cast<uint16_t>(set[ch / 16] | (1u << (ch & 15)));
            }
            if (!closed) return PatternRegex::ILLEGAL;
            last = pos;
            prog[pos++] = PatternRegex::kClass;
            for (int i = 0; i < 16; ++i)
                prog[pos++] = negate ? static_cast<uint16_t>(~set[i]) : set[i];
        } else {
            last = pos;
            prog[pos++] = static_cast<uint16_t>(readChar(p, end));
        }
    }
    prog[pos] = PatternRegex::kEnd;
    return PatternRegex::OK;
}

size_t elementWidth(uint16_t w) { return w == PatternRegex::kClass ? 17 : 1; }

void appendHex(std::string& out, const char* prefix, unsigned v) {
    static const char digits[] = "0123456789abcdef";
    out += prefix;
    out += digits[(v >> 4) & 15];
    out += digits[v & 15];
}

void appendClassChar(std::string& out, unsigned c) {
    if (c > 0x20 && c < 0x7f && c != '\\' && c != ']' && c != '-' && c != '^')
        out += static_cast<char>(c);
    else
        appendHex(out, "\\x", c);
}

}  // namespace

// Failure memo of the matcher. Whether the program from word pc matches at text position q does
// not depend on where the attempt started, so once a (pc, q) pair after a repetition has failed it
// need not be tried again. The table is set up only when an attempt backtracks heavily, which
// keeps the plain searches free of allocation and bounds the pathological ones (nested
// repetitions such as "a*a*a*...b") to polynomial time.
struct PatternRegex::MatchState {
    size_t steps = 0;
    size_t threshold = 0;
    bool tried = false;   // activate() ran
    bool active = false;  // the table is in use
    uint8_t slotOf[kProgramWords] = {};  // rest-of-program pc -> slot + 1; 0 for none
    size_t columns = 0;                  // text length + 1
    std::vector<uint64_t> failed;        // slots x columns bits

    bool knownFailure(size_t pc, size_t q) const {
        if (!active || slotOf[pc] == 0) return false;
        const size_t bit = (slotOf[pc] - 1) * columns + q;
        return (failed[bit / 64] >> (bit % 64)) & 1u;
    }
    void recordFailure(size_t pc, size_t q) {
        if (!active || slotOf[pc] == 0) return;
        const size_t bit = (slotOf[pc] - 1) * columns + q;
        failed[bit / 64] |= uint64_t{1} << (bit % 64);
    }
    void activate(const uint16_t* prog, size_t length) {
        tried = true;
        size_t slots = 0;
        size_t pc = 0;
        while (prog[pc] != kEnd) {
            if (isRepetition(prog[pc])) {
                const size_t rest = pc + 1 + elementWidth(prog[pc + 1]);
                slotOf[rest] = static_cast<uint8_t>(++slots);
                pc = rest;
            } else {
                pc += elementWidth(prog[pc]);
            }
        }
        columns = length + 1;
        // Texts so long that the table would pass 32 MiB go without it.
        if (slots == 0 || columns > (size_t{1} << 28) / slots) return;
        failed.assign((slots * columns + 63) / 64, 0);
        active = true;
    }
};

PatternRegex::PatternRegex(const char* pattern)
    : PatternRegex(pattern, pattern ? std::strlen(pattern) : 0) {}

PatternRegex::PatternRegex(const RWCString& pattern)
    : PatternRegex(pattern.data(), pattern.length()) {}

PatternRegex::PatternRegex(const char* pattern, size_t length)
    : program_(new (std::nothrow) uint16_t[kProgramWords]), status_(OK), valid_(false) {
    compileFrom(pattern, length);
}

PatternRegex::PatternRegex(const PatternRegex& other)
    : program_(nullptr), status_(OK), valid_(false) {
    copyFrom(other);
}

PatternRegex& PatternRegex::operator=(const PatternRegex& other) {
    if (this == &other) return *this;
    delete[] program_;
    program_ = nullptr;
    copyFrom(other);
    return *this;
}

void PatternRegex::copyFrom(const PatternRegex& other) {
    program_ = new (std::nothrow) uint16_t[kProgramWords];
    status_ = other.status_;
    valid_ = other.valid_;
    if (program_ == nullptr) {
        status_ = NOMEMORY;
        valid_ = false;
    } else if (other.program_ != nullptr) {
        std::memcpy(program_, other.program_, kProgramWords * sizeof(uint16_t));
    } else {
        valid_ = false;
    }
}

PatternRegex& PatternRegex::operator=(const char* pattern) {
    delete[] program_;
    program_ = new (std::nothrow) uint16_t[kProgramWords];
    compileFrom(pattern, pattern ? std::strlen(pattern) : 0);
    return *this;
}

PatternRegex& PatternRegex::operator=(const RWCString& pattern) {
    // The pattern text is copied first: it cannot live in our own program, but keep the order
    // "free, then compile" safe whatever the argument is.
    const std::string text(pattern.data(), pattern.length());
    delete[] program_;
    program_ = new (std::nothrow) uint16_t[kProgramWords];
    compileFrom(text.data(), text.size());
    return *this;
}

PatternRegex::~PatternRegex() { delete[] program_; }

void PatternRegex::compileFrom(const char* pattern, size_t length) {
    if (program_ == nullptr) {
        status_ = NOMEMORY;
        valid_ = false;
        return;
    }
    const auto* p = reinterpret_cast<const unsigned char*>(pattern ? pattern : "");
    const int result = compile(p, p + (pattern ? length : 0), program_);
    status_ = result > NOMEMORY ? TOOLONG : result;
    valid_ = result == OK;
}

int PatternRegex::status() {
    const int s = status_;
    status_ = OK;
    return s;
}

size_t PatternRegex::programLength() const {
    if (!valid_) return 0;
    size_t pc = 0;
    while (program_[pc] != kEnd) pc += isRepetition(program_[pc]) ? 1 : elementWidth(program_[pc]);
    return pc + 1;
}

std::string PatternRegex::dumpProgram() const {
    if (!valid_) return "<invalid>";
    std::string out;
    size_t pc = 0;
    for (;;) {
        const uint16_t w = program_[pc];
        if (!out.empty()) out += ' ';
        if (w == kEnd) {
            out += "END";
            break;
        }
        switch (w) {
            case kStartAnchor: out += "BOL"; break;
            case kEndAnchor: out += "EOL"; break;
            case kAny: out += "ANY"; break;
            case kStar: out += "STAR"; break;
            case kPlus: out += "PLUS"; break;
            case kOptional: out += "OPT"; break;
            case kClass: {
                out += '[';
                const uint16_t* set = program_ + pc + 1;
                auto member = [set](unsigned c) { return (set[c / 16] >> (c & 15)) & 1u; };
                for (unsigned c = 0; c < 256;) {
                    if (!member(c)) {
                        ++c;
                        continue;
                    }
                    unsigned hi = c;
                    while (hi + 1 < 256 && member(hi + 1)) ++hi;
                    appendClassChar(out, c);
                    if (hi > c) {
                        out += '-';
                        appendClassChar(out, hi);
                    }
                    c = hi + 1;
                }
                out += ']';
                break;
            }
            default:
                if (w > 0x20 && w < 0x7f && w != '\'' && w != '\\') {
                    out += '\'';
                    out += static_cast<char>(w);
                    out += '\'';
                } else {
                    appendHex(out, "x", w);
                }
        }
        pc += isRepetition(w) ? 1 : elementWidth(w);
    }
    return out;
}

namespace {

// One element (literal, any, class) at text position pos.
inline bool elementMatches(const uint16_t* elem, const unsigned char* text, size_t length, size_t pos) {
    if (pos >= length) return false;
    const unsigned c = text[pos];
    const uint16_t w = elem[0];
    if (w < 256) return w == c;
    if (w == PatternRegex::kAny) return c != '\n';
    if (w == PatternRegex::kClass) return (elem[1 + c / 16] >> (c & 15)) & 1u;
    return false;
}

}  // namespace

// Runs the program from word pc at text position pos; returns where the end word was reached, or
// npos. Recursion happens only after a repetition, so its depth is bounded by the program's
// repetition count (at most 127).
size_t PatternRegex::matchHere(size_t pc, const unsigned char* text, size_t length, size_t pos,
                               MatchState& state) const {
    const uint16_t* prog = program_;
    for (;;) {
        const uint16_t w = prog[pc];
        if (w == kEnd) return pos;
        if (w == kEndAnchor) {
            if (pos != length) return kNpos;
            ++pc;
            continue;
        }
        if (w == kStartAnchor) {
            if (pos != 0) return kNpos;
            ++pc;
            continue;
        }
        if (isRepetition(w)) {
            const uint16_t* elem = prog + pc + 1;
            const size_t rest = pc + 1 + elementWidth(elem[0]);
            size_t least = pos;
            size_t most = pos;
            if (w == kOptional) {
                if (elementMatches(elem, text, length, pos)) most = pos + 1;
            } else {
                if (w == kPlus) {
                    if (!elementMatches(elem, text, length, pos)) return kNpos;
                    least = most = pos + 1;
                }
                while (elementMatches(elem, text, length, most)) ++most;
            }
            if (prog[rest] == kEnd) return most;
            for (size_t q = most;; --q) {
                if (!state.knownFailure(rest, q)) {
                    const size_t r = matchHere(rest, text, length, q, state);
                    if (r != kNpos) return r;
                    state.recordFailure(rest, q);
                    if (!state.tried && ++state.steps > state.threshold)
                        state.activate(prog, length);
                }
                if (q == least) break;
            }
            return kNpos;
        }
        if (!elementMatches(prog + pc, text, length, pos)) return kNpos;
        ++pos;
        pc += elementWidth(w);
    }
}

size_t PatternRegex::index(const char* text, size_t length, size_t& matchLength, size_t start) const {
    if (!valid_) RWThrowBadRegex();
    matchLength = 0;
    if (text == nullptr) length = 0;
    if (start > length) return kNpos;
    const auto* t = reinterpret_cast<const unsigned char*>(text ? text : "");
    MatchState state;
    state.threshold = 64 + 4 * length;
    if (program_[0] == kStartAnchor) {
        const size_t r = matchHere(1, t, length, start, state);
        if (r == kNpos) return kNpos;
        matchLength = r - start;
        return start;
    }
    const uint16_t first = program_[0];
    for (size_t s = start; s <= length; ++s) {
        if (first < 256) {
            // A leading literal can only match where that character stands.
            if (s == length) break;
            const void* hit = std::memchr(t + s, first, length - s);
            if (hit == nullptr) break;
            s = static_cast<size_t>(static_cast<const unsigned char*>(hit) - t);
        }
        const size_t r = matchHere(0, t, length, s, state);
        if (r != kNpos) {
            matchLength = r - s;
            return s;
        }
    }
    return kNpos;
}

size_t RWCString::indexOfMatch(const PatternRegex& pattern, size_t& length, size_t start) const {
    return pattern.index(data(), this->length(), length, start);
}

size_t RWCString::indexOfMatch(const PatternRegex& pattern, size_t start) const {
    size_t ignored = 0;
    return pattern.index(data(), length(), ignored, start);
}

RWCString RWCString::matchedText(const PatternRegex& pattern, size_t start) const {
    size_t matched = 0;
    const size_t at = pattern.index(data(), length(), matched, start);
    if (at == RW_NPOS) return RWCString();
    return RWCString(data() + at, matched);
}

RWCString RWCString::matchedText(const PatternRegex& pattern, size_t start) {
    return static_cast<const RWCString&>(*this).matchedText(pattern, start);
}
