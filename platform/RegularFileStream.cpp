#include "platform/RegularFileStream.h"

#include <ios>

#include "platform/FileSystem.h"

namespace platform {

RegularFileStream::RegularFileStream(std::string_view path)
    : std::istream(nullptr), buffer_(openRegularFile(path)) {
  rdbuf(&buffer_);
  if (!buffer_.file()) setstate(std::ios::failbit);
}

RegularFileStream::~RegularFileStream() = default;

RegularFileStream::Buffer::~Buffer() {
  if (file_) std::fclose(file_);
}

RegularFileStream::Buffer::int_type RegularFileStream::Buffer::underflow() {
  if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
  if (!file_) return traits_type::eof();
  const std::size_t got = std::fread(data_, 1, sizeof data_, file_);
  if (got == 0) {
    if (std::ferror(file_)) throw std::ios_base::failure("the file could not be read");
    return traits_type::eof();
  }
  setg(data_, data_, data_ + got);
  return traits_type::to_int_type(*gptr());
}

}  // namespace platform
