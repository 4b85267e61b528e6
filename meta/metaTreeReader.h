#pragma once
// metaTreeReaderC: reads the brace-structured metafile text into a chain of metaTreeC nodes, and
// loadMetaTreeFile, the loader the converter calls. The caller owns the tree that read returns;
// the reader keeps the text of its first error and where in the input it happened.

#include <cstddef>
#include <cstdint>
#include <iosfwd>

#include "foundation/str.h"
#include "meta/metaNodeValue.h"

class memPoolHoldC;

// count + n, held at the largest value a 32-bit position holds: the line and column of a very
// long input stay at that value rather than wrap (a position is never negative).
inline std::int32_t metaSaturatedCount(std::int32_t count, std::size_t n) {
  constexpr std::int32_t top = INT32_MAX;
  return n >= static_cast<std::size_t>(top - count) ? top : count + static_cast<std::int32_t>(n);
}

class metaTreeC;
class metaObjectC;

class metaTreeReaderC {
public:
  // Kinds of token.
  enum : int { tokenEnd = 0, tokenWord = 1, tokenString = 2, tokenOpen = 3, tokenClose = 4 };

  metaTreeReaderC();
  metaTreeReaderC(const metaTreeReaderC&) = delete;
  metaTreeReaderC& operator=(const metaTreeReaderC&) = delete;
  ~metaTreeReaderC();

  // Closes an owned stream and clears the state of the last read: line 1, no error, depth 0.
  void reset();
  // reset, then opens the file (a program path, mapped to the native one here) as the input,
  // owned by the reader. 1 when it opened, else 0: also for anything but a regular file or a
  // link to one (a folder, a named pipe, a device), which is never waited on.
  int open(const char* fileName);
  // reset, then reads from a stream the caller keeps (it must outlive the next read).
  void setInput(std::istream* input);

  // Parses the whole input; returns the first top-level node with its following siblings (the
  // caller owns them), or null on an error, for empty input, or with no input. With
  // `postLoad` set the post-load pass of the storage handlers runs over the tree. The input is
  // released at the end of every read. An input that fails to deliver its bytes (a folder, a
  // device error) ends the read with the error "read fail"; no stream exception leaves it.
  metaTreeC* read(int postLoad);

  // The first error of the last read ("" when there was none), with the 1-based line and column
  // of the byte or token that caused it (each held at INT32_MAX past that many).
  bool hasError() const { return error_ != 0; }
  const char* errorMessage() const { return message_.text(); }
  metaSourcePosC errorPosition() const { return errorPosition_; }
  // "line L, column C: message", or "" when there is no error.
  str errorText() const;

  // Line the reader is at (1-based, held at INT32_MAX) and the current section depth.
  std::int32_t line() const { return line_; }
  int depth() const { return depth_; }

  // Reads one token: sets the token kind and leaves the token's text in the buffer.
  int nextToken();
  // Parses one level up to its closing brace (or the end of the input at depth 0) with every
  // level inside it; returns the first node of the level, or null (empty level, or an error).
  // Any depth is read, bounded by memory: running out of it ends the read with "out of memory".
  metaTreeC* parseSection();

  // The text of the last word or string token, NUL-terminated (raw: strings not unescaped).
  const char* tokenText() const { return buffer_ ? buffer_ : ""; }
  std::size_t tokenLength() const { return used_; }
  int tokenKind() const { return tokenKind_; }

private:
  bool fill();
  int getByte();
  int afterCarriageReturn();
  void putBack();
  bool grow();
  bool append(char c);
  bool appendRun(const char* run, std::size_t n);
  // A node for the word or string token in the buffer; null (with the error set) for a number
  // word that strtod does not consume whole.
  metaTreeC* makeNode();
  void setError(const char* message);
  void setError(const char* message, const char* detail);
  void releaseInput();

  int raw_ = 0;  // keep string texts raw; always 0 here
  int tokenKind_ = tokenEnd;
  int depth_ = 0;
  str message_;
  std::int32_t line_ = 1;
  std::int32_t column_ = 0;        // of the last byte read on the current line
  std::int32_t previousColumn_ = 0;  // column before the last byte, for putBack
  int error_ = 0;
  metaSourcePosC errorPosition_;
  char* buffer_ = nullptr;
  std::size_t capacity_ = 0;
  std::size_t used_ = 0;
  std::istream* input_ = nullptr;
  int ownsInput_ = 0;
  bool atEnd_ = false;  // the last byte read was the real end of the input
  // The input is taken from the stream a piece at a time: unread bytes run from inputNext_ to
  // inputEnd_. A byte put back is read again from lastByte_.
  char* input_buffer_ = nullptr;
  // While a parse runs, the pool's lock is held for it (its many node allocations then take the
  // lock once) except while fill() waits for the stream; null outside a parse.
  memPoolHoldC* poolHold_ = nullptr;
  const char* inputNext_ = nullptr;
  const char* inputEnd_ = nullptr;
  int lastByte_ = 0;
  bool pushedBack_ = false;
};

// Loads a metafile under the "C" locale: reads it with the post-load pass and returns a view on
// its first node (with its following siblings), owning the tree when `owns` is set; without it
// the caller takes the tree over. The view is unbound when there is no file name, the file does
// not open or its text holds an error; the cause is not reported. (metaObject.h declares the
// view.)
metaObjectC loadMetaTreeFile(const char* fileName, int owns);
