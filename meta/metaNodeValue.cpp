#include "meta/metaNodeValue.h"

#include <cstring>

metaNodeValueC::metaNodeValueC(const metaNodeValueC& other) { *this = other; }

metaNodeValueC::metaNodeValueC(std::int32_t type, metaSourcePosC position, const str& text)
    : metaNodeValueC(type, position, text.text()) {}

metaNodeValueC::metaNodeValueC(std::int32_t type, metaSourcePosC position, const char* text)
    : position_(position) {
  if (type == typeKeyWord || type == typeString) {
    payload_.text = new str(text);
    type_ = type;
  }
}

metaNodeValueC::metaNodeValueC(std::int32_t type, metaSourcePosC position, double value)
    : position_(position) {
  if (type == typeReal) {
    payload_.real = value;
    type_ = typeReal;
  }
}

metaNodeValueC::metaNodeValueC(std::int32_t type, metaSourcePosC position, std::intptr_t value)
    : position_(position) {
  if (type == typeReal) {
    payload_.real = static_cast<double>(value);
    type_ = typeReal;
  } else if (type == typePointer || type == typePointer2) {
    payload_.pointer = reinterpret_cast<void*>(value);
    type_ = type;
  }
}

metaNodeValueC::~metaNodeValueC() { release(); }

metaNodeValueC& metaNodeValueC::operator=(const metaNodeValueC& other) {
  if (this == &other) return *this;
  switch (other.type_) {
    case typeKeyWord:
    case typeString: {
      const char* text = other.textOrEmpty();
      if (isText()) {
        if (payload_.text != other.payload_.text) *payload_.text = str(text);
      } else {
        payload_.text = new str(text);
      }
      break;
    }
    case typeReal:
      release();
      payload_.real = other.payload_.real;
      break;
    case typePointer:
    case typePointer2:
      release();
      payload_.pointer = other.payload_.pointer;
      break;
    default:
      release();
      position_ = other.position_;
      return *this;
  }
  type_ = other.type_;
  position_ = other.position_;
  return *this;
}

void metaNodeValueC::release() {
  if (isText()) delete payload_.text;
  payload_.real = 0.0;
  type_ = typeNone;
}

const char* metaNodeValueC::textOrEmpty() const {
  if (!isText() || !payload_.text) return "";
  return payload_.text->text();
}

void metaNodeValueC::setReal(double value) {
  release();
  payload_.real = value;
  type_ = typeReal;
}

void metaNodeValueC::setText(std::int32_t type, const char* text) {
  if (type != typeKeyWord && type != typeString) return;
  if (isText()) {
    *payload_.text = str(text);
  } else {
    payload_.text = new str(text);
  }
  type_ = type;
}

bool metaNodeValueC::operator==(const metaNodeValueC& other) const {
  if (type_ != other.type_) return false;
  switch (type_) {
    case typeKeyWord:
    case typeString:
      return std::strcmp(textOrEmpty(), other.textOrEmpty()) == 0;
    case typeReal:
      return payload_.real == other.payload_.real;
    case typePointer:
    case typePointer2:
      return payload_.pointer == other.payload_.pointer;
    default:
      return false;
  }
}
