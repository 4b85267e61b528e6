#pragma once
// A message table entry filled in with its arguments. The object owns one heap copy of the finished
// text; copies duplicate it. Texts longer than the formatting buffer (1024 characters including
// the terminator) are cut, never overrun.

#include "foundation/RWMessageTable.h"

class FormattedMessage {
 public:
  static constexpr int bufferSize = 1024;

  // The record's text is the printf format; the arguments must match it.
  template <class... Args>
  explicit FormattedMessage(const MessageRecord& record, Args... args)
      : text_(format(record.text, args...)) {}
  FormattedMessage(const FormattedMessage& other);
  FormattedMessage& operator=(const FormattedMessage& other);
  ~FormattedMessage();

  const char* text() const { return text_; }

 private:
  FormattedMessage() = default;
  friend FormattedMessage formatWithFormat(const char* format, ...);
  static char* format(const char* format, ...);  // a heap copy of the formatted text
  char* text_ = nullptr;
};

// Formats with an explicit printf format (used where the table's 32-bit fields cannot hold a value
// of this 64-bit machine). Same buffer limit as above.
FormattedMessage formatWithFormat(const char* format, ...);
