#pragma once
// Throw operations of the foundation library: one per exception class (each throws a copy of the
// given exception by value) and one helper per error kind, which fills in the right message table
// entry so that every call site is one line. Also the replaceable fatal-error handler.

#include <cstddef>
#include <cstdio>
#include <ios>

#include "foundation/RWDefs.h"
#include "foundation/RWxmsg.h"

// One per class: throw a copy of e.
[[noreturn]] void RWThrow(const RWxmsg& e);
[[noreturn]] void RWThrow(const RWxalloc& e);
[[noreturn]] void RWThrow(const RWExternalErr& e);
[[noreturn]] void RWThrow(const RWFileErr& e);
[[noreturn]] void RWThrow(const RWStreamErr& e);
[[noreturn]] void RWThrow(const RWInternalErr& e);
[[noreturn]] void RWThrow(const RWBoundsErr& e);

// Bounds errors (RWBoundsErr).
//   "[INDEXERR] Illegal Index (%u) for collection or string with %u elements"
[[noreturn]] void RWThrowIndexError(std::size_t index, std::size_t length);
//   "[NPOSINDEX] The value RW_NPOS cannot be used as an index."
[[noreturn]] void RWThrowNposIndex();
//   "[SUBSTRING] Illegal substring (%d, %u) from %u element RWCString"
[[noreturn]] void RWThrowSubstring(std::size_t start, std::size_t length, std::size_t total);
//   "[GENERIC] Generic error number 33; Buffer may not resize larger than"
[[noreturn]] void RWThrowResizeLimit();

// True for the two spellings of "no position": RW_NPOS and the 32-bit 0xFFFFFFFF.
inline bool RWIsNpos(std::size_t i) { return i == RW_NPOS || i == 0xFFFFFFFFu; }

// Checks i < length: NPOSINDEX for a no-position index, INDEXERR (i, length) otherwise.
inline void RWCheckIndex(std::size_t i, std::size_t length) {
  if (i < length) return;
  if (RWIsNpos(i)) RWThrowNposIndex();
  RWThrowIndexError(i, length);
}

// Internal errors (RWInternalErr).
//   "[BADRE] Attempt to use invalid regular expression"
[[noreturn]] void RWThrowBadRegex();
[[noreturn]] void RWThrowInternal(const char* text);

// External errors.
[[noreturn]] void RWThrowExternal(const char* text);
//   RWFileErr "[OPERR] Could not open file %s" (kind unknown)
[[noreturn]] void RWThrowFileOpen(const char* fileName, std::FILE* file = nullptr);
//   RWFileErr "[READERR] Read error" / "[WRITEERR] Write error" / "[SEEKERR] Seek error"
[[noreturn]] void RWThrowFileRead(std::FILE* file);
[[noreturn]] void RWThrowFileWrite(std::FILE* file);
[[noreturn]] void RWThrowFileSeek(std::FILE* file);
//   RWStreamErr "[STREAM] Bad input stream" / "[EOF] EOF on input"
[[noreturn]] void RWThrowBadStream(std::ios* stream);
[[noreturn]] void RWThrowStreamEof(std::ios* stream);

// Allocation failure (RWxalloc with the static "[NOMEM]" text).
[[noreturn]] void RWThrowAlloc(std::size_t size);

// Fatal errors. The handler receives the exception whose text to show. The default handler shows
// the text under the caption "Fatal Error" (platform/Fatal.h) and ends the process with exit code
// 1. No throw operation calls it; it is there for code that decides an error is fatal.
using RWFatalHandler = void (*)(const RWxmsg&);
RWFatalHandler setFatalHandler(RWFatalHandler handler);  // returns the previous handler
RWFatalHandler fatalHandler();
void RWDefaultFatalHandler(const RWxmsg& e);
