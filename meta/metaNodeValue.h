#pragma once
// metaNodeValueC: the typed value of one tree node (none, key word, string, real number or one of
// two kinds of non-owned pointer) with the source position it was read from. A value owns the
// `str` of a key word or string; it never owns what a pointer value points to.

#include <cstdint>

#include "foundation/str.h"

// Source position of a value: 1-based line and column; {-1, -1} for values made by code. The
// metafile reader stores {line, 0}.
struct metaSourcePosC {
  std::int32_t line = -1;
  std::int32_t column = -1;
};

class metaNodeValueC {
public:
  enum : std::int32_t {
    typeNone = 0,
    typeKeyWord = 1,
    typeString = 2,
    typeReal = 3,
    typePointer = 4,
    typePointer2 = 5,
  };

  // Type 0, position {-1, -1}.
  metaNodeValueC() = default;
  metaNodeValueC(const metaNodeValueC& other);
  // A key word (type 1) or string (type 2) holding a copy of `text`. Any other type gives type 0.
  metaNodeValueC(std::int32_t type, metaSourcePosC position, const str& text);
  metaNodeValueC(std::int32_t type, metaSourcePosC position, const char* text);
  // A real number (type 3).
  metaNodeValueC(std::int32_t type, metaSourcePosC position, double value);
  // Type 3: the integer as a double. Types 4 and 5: the integer taken as the pointer payload
  // (pointer width, so addresses survive on a 64-bit machine). Any other type gives type 0.
  metaNodeValueC(std::int32_t type, metaSourcePosC position, std::intptr_t value);
  metaNodeValueC(std::int32_t type, metaSourcePosC position, int value)
      : metaNodeValueC(type, position, static_cast<std::intptr_t>(value)) {}
  ~metaNodeValueC();

  // Takes the other's type, payload and position. A text is copied; an owned `str` of this value
  // is reused for it. Assigning a type-0 value releases this one and takes the position.
  metaNodeValueC& operator=(const metaNodeValueC& other);

  // Deletes the owned `str` of types 1 and 2; the type becomes 0 (the position stays).
  void release();

  std::int32_t type() const { return type_; }
  bool isNone() const { return type_ == typeNone; }
  bool isKeyWord() const { return type_ == typeKeyWord; }
  bool isString() const { return type_ == typeString; }
  bool isReal() const { return type_ == typeReal; }
  bool isText() const { return type_ == typeKeyWord || type_ == typeString; }
  bool isPointer() const { return type_ == typePointer || type_ == typePointer2; }

  // The payload read as a double: the real of type 3, 0.0 for every other type.
  double getReal() const { return type_ == typeReal ? payload_.real : 0.0; }
  // The `str` of types 1 and 2; null for every other type.
  const str* getText() const { return isText() ? payload_.text : nullptr; }
  str* getText() { return isText() ? payload_.text : nullptr; }
  // The text of types 1 and 2 as a C string; "" for every other type.
  const char* textOrEmpty() const;
  // The pointer payload of types 4 and 5; null for every other type.
  void* getPointer() const { return isPointer() ? payload_.pointer : nullptr; }

  metaSourcePosC position() const { return position_; }
  std::int32_t column() const { return position_.column; }
  void setPosition(metaSourcePosC position) { position_ = position; }

  // In place, keeping the position: the setters of the typed views use these.
  void setReal(double value);
  void setText(std::int32_t type, const char* text);

  // Equal types, then: types 1 and 2 equal texts (strcmp), type 3 equal doubles, types 4 and 5
  // the same pointer. Two type-0 values are not equal.
  bool operator==(const metaNodeValueC& other) const;
  bool operator!=(const metaNodeValueC& other) const { return !(*this == other); }

private:
  union Payload {
    double real;
    str* text;
    void* pointer;
  };

  Payload payload_{0.0};
  std::int32_t type_ = typeNone;
  metaSourcePosC position_;
};
