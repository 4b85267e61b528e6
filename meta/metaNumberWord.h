#pragma once
// metaNumberWord: the conversion of a metafile number word to its real value. The result is
// always the one strtod gives under the "C" locale (correctly rounded, its overflow to
// infinity, its underflow to denormals and zero, its hexadecimal, infinity and NaN forms): plain
// decimals that a double holds exactly and scale by an exact power of ten are converted
// directly, every other word by strtod itself. The caller holds the "C" locale (cLocaleGuardC)
// for the strtod path.

#include <cstddef>

// The value of the word's first `length` bytes (`word[length]` must be a NUL) when strtod
// consumes all of them: true and *value set; else false and *value untouched.
bool metaNumberWordValue(const char* word, std::size_t length, double* value);
