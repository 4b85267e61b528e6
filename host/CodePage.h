#pragma once
// The drawing's code page, Windows 1252: how the host reads the bytes of a text it is given, and
// how letters fold their case. Texts reach the host as UTF-8; a byte that is not part of a valid
// sequence is taken as a character of the code page (what a file written on Windows holds).

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/CodePage.h"

namespace kxhost {

// How the host reads the characters of a text: nextCodePoint and cp1252CodePoint of the platform.
using platform::cp1252CodePoint;
using platform::nextCodePoint;

// The code points of a whole text.
std::vector<std::uint32_t> codePoints(std::string_view s);

// The code page byte of a code point; false when the code page lacks it (C1 controls included).
bool cp1252Byte(std::uint32_t cp, unsigned char& byte);

// The lower case of a letter that the code page holds in both cases: A-Z, À-Þ but ×, Š, Œ, Ž
// and Ÿ; every other code point as it is. Names that differ only in these letters' case are one
// name, for the tables and for the DXF file alike.
std::uint32_t foldedLetter(std::uint32_t cp);
// A text already in code page bytes with each such letter folded, byte for byte.
std::string foldedCp1252(std::string_view bytes);

}  // namespace kxhost
