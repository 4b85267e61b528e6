#pragma once
// Text in the Windows code page 1252 and in UTF-8, as the system's files hold it: a byte that is
// not part of a valid UTF-8 sequence is a character of the code page (what a file saved by a
// Windows editor holds). Pure functions; nothing is kept.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// The code point of a code page byte (0x81, 0x8D, 0x8F, 0x90 and 0x9D, which the code page leaves
// undefined: the C1 control of that value).
std::uint32_t cp1252CodePoint(unsigned char byte);

// The code point of the character that starts at s[i] (i < s.size()): a valid UTF-8 sequence (no
// overlong form, no surrogate, nothing above U+10FFFF) is read as such, any other byte as a code
// page character. i moves past it.
std::uint32_t nextCodePoint(std::string_view s, std::size_t& i);

// Appends the UTF-8 form of a code point (at most U+10FFFF) to `out`.
void appendUtf8(std::uint32_t cp, std::string& out);

// The text in UTF-8, read character by character as nextCodePoint reads it: a text that is valid
// UTF-8 comes back unchanged, a code page text gets each byte above 0x7F as its UTF-8 form.
std::string utf8Text(std::string_view s);

}  // namespace platform
