#pragma once
// Small text and number helpers of the configuration library: tolerant comparison of doubles,
// locale-free parsing and formatting of decimal numbers, yes/no and number tests, replace-all by
// text or by pattern, field splitting and joining, command-line argument splitting, list tests and
// a fuzzy wildcard distance. Every function is free and keeps no state; results are new values
// that the caller owns (copyCString's array included).

#include <cstddef>

#include "foundation/RWCString.h"
#include "foundation/RWTValOrderedVector.h"

class PatternRegex;

// ---- numbers ------------------------------------------------------------------------------

// Compares with a relative tolerance of |a| x 1e-5 (1e-8 when a is exactly 0): 0 when
// |b - a| is within it, else 1 when a >= b and -1 otherwise.
int compareDoubles(double a, double b);

// The same with an absolute tolerance.
int compareDoublesWithin(double a, double b, double tolerance);

// The C run-time's atof, but always with '.' as the decimal point whatever the locale: leading
// white space, an optional sign, decimal or hexadecimal ("0x") digits with an optional exponent,
// "inf" and "nan". Whatever cannot be parsed gives 0; the first character that does not fit ends
// the number. Out-of-range values give +-HUGE_VAL or +-0 as strtod does.
double atofClassic(const char* text);
// The same, and *end (when end is not null) is set past the last character of the number, or to
// text when there is none, as strtod sets it.
double strtodClassic(const char* text, const char** end);

// The C run-time's atoi, without its undefined overflow: values beyond int are clamped.
int atoiClassic(const char* text);

// Lenient decimal parsing: walks the text from its start, copying digits, '-', blank, tab, 'E'
// and 'e', and any character of `decimalChars` (".," when null) as '.'; the first other character
// ends the walk. The copy is converted with atofClassic. `ok` (when given) tells whether the copy
// held a number at all: "-", "e" or blanks alone parse as 0 with ok false.
double lenientAtof(const char* text, const char* decimalChars = nullptr, bool* ok = nullptr);

// "%.*f" of value with `decimals` decimals (a negative count means 6, as printf takes it), with
// every '.' replaced by `decimalChar`. Independent of the locale; no length limit except that
// more than 1100 decimals are refused with the empty text.
RWCString formatDouble(double value, int decimals, char decimalChar = '.');

// "%d".
RWCString intToText(int value);

// Stripped of blanks at both ends, not empty, and made of digits with at most one '.' anywhere
// and a '-' or '+' as the first character. "+", "-" and "." alone count as numbers.
bool isNumber(const RWCString& text);

// True for "YES", "JA" and "1", ignoring case.
bool isYes(const RWCString& text);

// ---- texts --------------------------------------------------------------------------------

// Replaces every occurrence of `pattern` from position `start` on (exactly, or ignoring ASCII case
// when ignoreCase is 1), searching again right after each inserted replacement. An empty pattern
// matches once at every position before the end of the text (never twice at one position), so
// the call always ends. A start beyond the text returns it unchanged.
RWCString replaceAll(const RWCString& text, const RWCString& pattern, const RWCString& replacement,
                     int ignoreCase = 0, std::size_t start = 0);

// The same with the matches of a compiled pattern. After an empty match the search moves on by
// one character. A pattern that did not compile matches nothing: the text comes back unchanged.
RWCString replaceAllMatches(const RWCString& text, const PatternRegex& pattern,
                            const RWCString& replacement, std::size_t start = 0);

// Splits at `separator` outside quotes. A field that starts with `quote` is quoted: separators
// inside it are text and a doubled quote stands for one quote character. Unquoted fields are
// stripped of blanks and tabs at both ends. Empty fields between separators are kept unless
// skipEmpty is set; a trailing empty unquoted field is never added. A quote of '\0' means no
// quoting.
RWTValOrderedVector<RWCString> splitFields(const RWCString& text, char separator,
                                           char quote = '"', bool skipEmpty = false);

// splitFields without skipping, then atoiClassic / atofClassic of each field.
RWTValOrderedVector<int> splitInts(const RWCString& text, char separator, char quote = '"');
RWTValOrderedVector<double> splitDoubles(const RWCString& text, char separator, char quote = '"');

// The fields with `separator` between them; when quote is not '\0' each field is written between
// quote characters with every quote inside it doubled, so splitFields reads it back.
RWCString joinFields(const RWTValOrderedVector<RWCString>& fields, char separator,
                     char quote = '"');

// A new array (global new[]) holding a NUL-terminated copy of text; null for null. The caller
// deletes it with delete[].
char* copyCString(const char* text);

// 1 + the number of words: runs separated by blanks and tabs, where a word that starts with '"'
// runs to the next '"' (or the end) whatever it holds.
int countArguments(const RWCString& text);

// An empty first entry (the program's place), then each word as countArguments finds it, without
// the quote characters that open and close a quoted word.
RWTValOrderedVector<RWCString> splitArguments(const RWCString& text);

// True when one ';'-separated item of `list`, stripped of trailing blanks, tabs, CR and LF,
// equals `text` (exactly, or ignoring ASCII case when ignoreCase is set).
bool isInList(const RWCString& text, const RWCString& list, bool ignoreCase);

// Edit distance between text and pattern, both upper-cased and cut to 1023 characters, where '*'
// in the pattern matches any run of characters and '?' any one character at no cost. 1024 when
// the distance (or the best cost of any pattern prefix) exceeds `limit`.
int wildcardDistance(const RWCString& text, const RWCString& pattern, int limit);

// Blocks the calling thread for ms milliseconds.
void sleepMilliseconds(unsigned ms);
