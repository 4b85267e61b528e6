#pragma once
// TextSink: a document the host writes a piece at a time (a dump, a DXF file). Without a stream
// the text is kept and handed over whole by finish(); with one it goes into the stream in pieces
// of about a megabyte, and a long piece (a large text value) goes in straight, so that neither
// a large document nor a long value is ever held a second time. The stream is the caller's.

#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>

namespace kxhost {

class TextSink {
public:
  explicit TextSink(std::ostream* stream = nullptr) : stream_(stream) {}

  void append(std::string_view s) {
    if (stream_ && s.size() >= kPiece) {
      flush();
      stream_->write(s.data(), static_cast<std::streamsize>(s.size()));
      return;
    }
    text_.append(s);
    if (stream_ && text_.size() >= kPiece) flush();
  }
  void append(std::size_t count, char c) {
    text_.append(count, c);
    if (stream_ && text_.size() >= kPiece) flush();
  }
  void append(char c) { append(1, c); }

  // Ends the document: without a stream its whole text; with one, the rest goes into the stream
  // and the result is empty.
  std::string finish() {
    if (!stream_) return std::move(text_);
    flush();
    return {};
  }

private:
  void flush() {
    stream_->write(text_.data(), static_cast<std::streamsize>(text_.size()));
    text_.clear();
  }

  static constexpr std::size_t kPiece = std::size_t{1} << 20;

  std::string text_;
  std::ostream* stream_;
};

}  // namespace kxhost
