#pragma once
// Conversions between the process environment, a string dictionary (name to value) and an
// environment block: entries NAME=VALUE each ended by a NUL, then two more NUL bytes. The caller
// owns every dictionary and block.

#include <cstddef>

#include "foundation/RWCString.h"
#include "foundation/RWTHashDict.h"

// dict[NAME] = VALUE for every NAME=VALUE string of the process environment, split at the first
// '='; strings without '=' are skipped.
void environmentToDictionary(RWTHashDict<RWCString, RWCString>& dict);

// The same over a block, entry by entry until an empty entry. A null block adds nothing.
void environmentBlockToDictionary(RWTHashDict<RWCString, RWCString>& dict, const char* block);

// The needed size is 2 + the sum of (length of NAME + length of VALUE + 2) over all pairs. When
// `size` is smaller nothing is written and minus the needed size is returned; otherwise the pairs
// are written in the dictionary's iteration order, followed by two NUL bytes, and the number of
// bytes written is returned. A block that would not fit an int gives INT_MIN.
int writeEnvironmentBlock(const RWTHashDict<RWCString, RWCString>& dict, char* buffer, int size);

// A new block (global new[]) of the dictionary; the caller deletes it with delete[]. Null when the
// block would not fit an int.
char* makeEnvironmentBlock(const RWTHashDict<RWCString, RWCString>& dict);
