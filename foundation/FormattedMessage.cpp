#include "foundation/FormattedMessage.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "foundation/RWStrDup.h"

namespace {

// vsnprintf into the fixed buffer: a longer result is cut at bufferSize - 1 characters.
char* formatToHeap(const char* format, std::va_list args) {
  char buffer[FormattedMessage::bufferSize];
  const int n = std::vsnprintf(buffer, sizeof buffer, format, args);
  if (n < 0) buffer[0] = '\0';
  return RWStrDup(buffer);
}

}  // namespace

char* FormattedMessage::format(const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  char* text = formatToHeap(format, args);
  va_end(args);
  return text;
}

FormattedMessage formatWithFormat(const char* format, ...) {
  FormattedMessage m;
  std::va_list args;
  va_start(args, format);
  m.text_ = formatToHeap(format, args);
  va_end(args);
  return m;
}

FormattedMessage::FormattedMessage(const FormattedMessage& other)
    : text_(other.text_ ? RWStrDup(other.text_) : nullptr) {}

FormattedMessage& FormattedMessage::operator=(const FormattedMessage& other) {
  if (this != &other) {
    char* copy = other.text_ ? RWStrDup(other.text_) : nullptr;
    delete[] text_;
    text_ = copy;
  }
  return *this;
}

FormattedMessage::~FormattedMessage() { delete[] text_; }
