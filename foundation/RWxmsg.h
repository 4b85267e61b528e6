#pragma once
// The exception family of the foundation library, rooted in RWxmsg. Each exception carries a text:
// a heap copy it owns (ownsText = 1) or a pointer to a static text it merely shares (ownsText = 0).
// Exceptions are thrown by value (see RWThrow.h) and caught by reference to a base class.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <ios>

#include "foundation/FormattedMessage.h"

class RWxmsg {
 public:
  explicit RWxmsg(const char* text);             // copies the text (null reads as empty)
  explicit RWxmsg(const FormattedMessage& msg);  // copies the formatted text
  RWxmsg(const char* text, bool owns);           // owns: copy; else store the pointer itself
  RWxmsg(const RWxmsg& other);                   // copies an owned text, shares a static one
  RWxmsg& operator=(const RWxmsg& other);
  virtual ~RWxmsg();

  const char* text() const { return text_; }
  bool ownsText() const { return ownsText_ != 0; }

 private:
  void assign(const char* text, bool owns);
  const char* text_ = nullptr;
  std::int32_t ownsText_ = 0;
};

// Allocation failure; the text is the static "[NOMEM]" entry, not copied.
class RWxalloc : public RWxmsg {
 public:
  explicit RWxalloc(std::size_t size);
  std::size_t size() const { return size_; }

 private:
  std::size_t size_;
};

class RWExternalErr : public RWxmsg {
 public:
  explicit RWExternalErr(const char* text) : RWxmsg(text) {}
  explicit RWExternalErr(const FormattedMessage& msg) : RWxmsg(msg) {}
};

class RWFileErr : public RWExternalErr {
 public:
  enum errType { unknown = 0, seekErr = 1, readErr = 2, writeErr = 3 };
  RWFileErr(const char* text, std::FILE* file, errType kind)
      : RWExternalErr(text), file_(file), kind_(kind) {}
  RWFileErr(const FormattedMessage& msg, std::FILE* file, errType kind)
      : RWExternalErr(msg), file_(file), kind_(kind) {}
  std::FILE* file() const { return file_; }   // not owned
  errType errorType() const { return kind_; }

 private:
  std::FILE* file_;
  errType kind_;
};

class RWStreamErr : public RWExternalErr {
 public:
  RWStreamErr(const char* text, std::ios* stream) : RWExternalErr(text), stream_(stream) {}
  RWStreamErr(const FormattedMessage& msg, std::ios* stream)
      : RWExternalErr(msg), stream_(stream) {}
  std::ios* stream() const { return stream_; }  // not owned

 private:
  std::ios* stream_;
};

class RWInternalErr : public RWxmsg {
 public:
  explicit RWInternalErr(const char* text) : RWxmsg(text) {}
  explicit RWInternalErr(const FormattedMessage& msg) : RWxmsg(msg) {}
};

class RWBoundsErr : public RWInternalErr {
 public:
  explicit RWBoundsErr(const char* text) : RWInternalErr(text) {}
  explicit RWBoundsErr(const FormattedMessage& msg) : RWInternalErr(msg) {}
};
