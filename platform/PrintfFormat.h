#pragma once
// What the C library's printf family reads from its arguments for a format, told by the C
// library's own parser, so that a format from outside the program (a translated message) can be
// checked before it is used with arguments made for another format.

#include <vector>

namespace platform {

// The arguments that formatting with `format` reads, in order, each as an argument kind code of
// the C library (an int, a char, a text, a pointer, a double, with its size and pointer flags;
// two codes are the same kind only when equal). A '*' width or precision is an int argument of
// its own; a conversion the library does not know reads nothing, as when it formats. False (kinds
// empty) for a format that numbers its arguments ("%2$s"), whose kinds say nothing of the order in
// which they are read, for one that ends inside a conversion ("Six %"), and for a null format.
bool printfArgumentKinds(const char* format, std::vector<int>& kinds);

}  // namespace platform
