#pragma once
// A stream buffer for tests that hands out its text and then fails, as a file stream does on a
// device error: the read past the text throws std::ios_base::failure.

#include <ios>
#include <streambuf>
#include <string>
#include <utility>

namespace platform {

class FailingStreamBuffer : public std::streambuf {
public:
  explicit FailingStreamBuffer(std::string text) : text_(std::move(text)) {
    setg(text_.data(), text_.data(), text_.data() + text_.size());
  }

protected:
  int_type underflow() override { throw std::ios_base::failure("input/output error"); }

private:
  std::string text_;
};

}  // namespace platform
