// English month and weekday names and the numeric date and time forms of the default locale.

#include "foundation/RWLocale.h"

#include <string>
#include <string_view>

namespace {

const char* const kMonths[12] = {"January", "February", "March",     "April",   "May",      "June",
                                 "July",    "August",   "September", "October", "November", "December"};
const char* const kWeekdays[7] = {"Monday", "Tuesday",  "Wednesday", "Thursday",
                                  "Friday", "Saturday", "Sunday"};

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
}

// 1-based index of name among the full names or their three-letter abbreviations; 0 when none.
unsigned indexOfName(const char* name, const char* const* names, unsigned count) {
    if (name == nullptr) return 0;
    const std::string_view n(name);
    for (unsigned i = 0; i < count; ++i) {
        const std::string_view full(names[i]);
        if (equalsIgnoreCase(n, full) || (n.size() == 3 && equalsIgnoreCase(n, full.substr(0, 3))))
            return i + 1;
    }
    return 0;
}

std::string_view trimmed(const RWCString& text) {
    std::string_view s(text.data(), text.length());
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// Reads 1 to maxDigits decimal digits at s[pos]; advances pos.
bool readNumber(std::string_view s, size_t& pos, int maxDigits, int& value) {
    value = 0;
    int digits = 0;
    while (pos < s.size() && s[pos] >= '0' && s[pos] <= '9' && digits < maxDigits) {
        value = value * 10 + (s[pos] - '0');
        ++pos;
        ++digits;
    }
    return digits > 0;
}

bool readChar(std::string_view s, size_t& pos, char c) {
    if (pos >= s.size() || s[pos] != c) return false;
    ++pos;
    return true;
}

// Three numbers separated by sep, the whole text consumed.
bool readTriple(std::string_view s, char sep, int d1, int d2, int d3, int& a, int& b, int& c) {
    size_t pos = 0;
    return readNumber(s, pos, d1, a) && readChar(s, pos, sep) && readNumber(s, pos, d2, b) &&
           readChar(s, pos, sep) && readNumber(s, pos, d3, c) && pos == s.size();
}

}  // namespace

RWLocale::~RWLocale() = default;

RWCString RWLocale::monthName(unsigned month) const {
    return (month >= 1 && month <= 12) ? RWCString(kMonths[month - 1]) : RWCString();
}

RWCString RWLocale::weekdayName(unsigned weekday) const {
    return (weekday >= 1 && weekday <= 7) ? RWCString(kWeekdays[weekday - 1]) : RWCString();
}

unsigned RWLocale::monthIndex(const char* name) const { return indexOfName(name, kMonths, 12); }

unsigned RWLocale::weekdayIndex(const char* name) const { return indexOfName(name, kWeekdays, 7); }

bool RWLocale::stringToDate(const RWCString& text, std::tm& out) const {
    const std::string_view s = trimmed(text);
    int day = 0, month = 0, year = 0;
    bool ok = false;
    if (readTriple(s, '-', 4, 2, 2, year, month, day)) ok = true;
    else if (readTriple(s, '.', 2, 2, 4, day, month, year)) ok = true;
    else if (readTriple(s, '/', 2, 2, 4, month, day, year)) ok = true;
    else {
        // "dd monthname yyyy"
        size_t pos = 0;
        if (readNumber(s, pos, 2, day) && readChar(s, pos, ' ')) {
            const size_t nameEnd = s.find(' ', pos);
            if (nameEnd != std::string_view::npos) {
                const std::string name(s.substr(pos, nameEnd - pos));
                month = static_cast<int>(monthIndex(name.c_str()));
                pos = nameEnd + 1;
                ok = month != 0 && readNumber(s, pos, 4, year) && pos == s.size();
            }
        }
    }
    if (!ok || month < 1 || month > 12 || day < 1) return false;
    out.tm_mday = day;
    out.tm_mon = month - 1;
    out.tm_year = year - 1900;
    return true;
}

bool RWLocale::stringToTime(const RWCString& text, std::tm& out) const {
    const std::string_view s = trimmed(text);
    size_t pos = 0;
    int h = 0, m = 0, sec = 0;
    if (!readNumber(s, pos, 2, h) || !readChar(s, pos, ':') || !readNumber(s, pos, 2, m)) return false;
    if (pos < s.size() && (!readChar(s, pos, ':') || !readNumber(s, pos, 2, sec))) return false;
    if (pos != s.size() || h > 23 || m > 59 || sec > 59) return false;
    out.tm_hour = h;
    out.tm_min = m;
    out.tm_sec = sec;
    return true;
}

const RWLocale& RWLocale::defaultLocale() {
    static const RWLocale locale;
    return locale;
}
