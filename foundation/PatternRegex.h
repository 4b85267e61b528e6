#pragma once
// PatternRegex: the class library's small regular-expression engine. A pattern is compiled once
// into a program of 256 16-bit words that the object owns; RWCString::indexOfMatch and
// RWCString::matchedText run it against a text. The engine itself works on (bytes, length).

#include <cstddef>
#include <cstdint>
#include <string>

class RWCString;

class PatternRegex {
public:
    // Compiler results, also the values of status().
    enum StatusCode {
        OK = 0,          // compiled
        ILLEGAL = 1,     // syntax error: empty pattern, leading repetition, unclosed class
        NOMEMORY = 2,    // no program buffer
        TOOLONG = 3      // pattern too long, or a repetition operator in a wrong place
    };

    static constexpr size_t kProgramWords = 256;
    static constexpr size_t npos = static_cast<size_t>(-1);

    // Program words. 0..255 are literal characters.
    static constexpr uint16_t kEnd = 0x8000;
    static constexpr uint16_t kEndAnchor = 0x8024;    // '$'
    static constexpr uint16_t kStartAnchor = 0x805E;  // '^'
    static constexpr uint16_t kAny = 0x802E;          // '.': any character but newline
    static constexpr uint16_t kClass = 0x805B;        // '[': followed by 16 words, a 256-bit set
    static constexpr uint16_t kStar = 0x802A;         // '*' in front of the element it repeats
    static constexpr uint16_t kPlus = 0x802B;         // '+'
    static constexpr uint16_t kOptional = 0x803F;     // '?'

    // A null C text compiles as the empty pattern (a syntax error).
    explicit PatternRegex(const char* pattern);
    explicit PatternRegex(const RWCString& pattern);
    // Compiles exactly `length` bytes; embedded NUL bytes are literals.
    PatternRegex(const char* pattern, size_t length);
    PatternRegex(const PatternRegex& other);
    PatternRegex& operator=(const PatternRegex& other);
    PatternRegex& operator=(const char* pattern);
    PatternRegex& operator=(const RWCString& pattern);
    ~PatternRegex();

    // Returns the compiler's result and sets the reported value back to 0. A pattern that did not
    // compile stays unusable afterwards: matching it still throws.
    int status();
    bool isValid() const { return valid_; }

    // Index of the first match in text[0, length) at or after `start`, its length in matchLength.
    // npos and matchLength 0 when nothing matches or start > length. A zero-length match reports
    // matchLength 0, so a caller that walks all matches must step past it itself.
    // Throws RWInternalErr "[BADRE] ..." when the pattern did not compile.
    size_t index(const char* text, size_t length, size_t& matchLength, size_t start = 0) const;

    // Text dump of the compiled program for inspection and tests, one token per element:
    // BOL, EOL, ANY, STAR, PLUS, OPT, 'c' (printable literal), x0A (other literal),
    // [a-z\x00] (the class's member set as ranges), END. "<invalid>" when it did not compile.
    std::string dumpProgram() const;

    // Number of words the compiled program uses, its end word included; 0 when invalid.
    size_t programLength() const;

private:
    struct MatchState;

    void compileFrom(const char* pattern, size_t length);
    void copyFrom(const PatternRegex& other);
    size_t matchHere(size_t pc, const unsigned char* text, size_t length, size_t pos,
                     MatchState& state) const;

    uint16_t* program_;
    int status_;
    bool valid_;
};
