#pragma once
// An input stream over a regular file opened as openRegularFile opens it (FileSystem.h): for the
// readers that take a file piece by piece through a std::istream. The stream owns the file and
// closes it with itself.

#include <cstdio>
#include <istream>
#include <streambuf>
#include <string_view>

namespace platform {

class RegularFileStream : public std::istream {
 public:
  // Opens the file at a program path to read; when nothing that openRegularFile opens is there,
  // is_open() is false and the stream is failed.
  explicit RegularFileStream(std::string_view path);
  ~RegularFileStream() override;
  RegularFileStream(const RegularFileStream&) = delete;
  RegularFileStream& operator=(const RegularFileStream&) = delete;

  bool is_open() const { return buffer_.file() != nullptr; }

 private:
  // Reads the file in pieces of its own buffer. A read error of the system throws
  // std::ios_base::failure out of the buffer's reads, as the library's file buffer does; the
  // stream's own reads turn it into badbit.
  class Buffer : public std::streambuf {
   public:
    explicit Buffer(std::FILE* file) : file_(file) {}
    ~Buffer() override;
    std::FILE* file() const { return file_; }

   protected:
    int_type underflow() override;

   private:
    std::FILE* file_;
    char data_[65536];
  };
  Buffer buffer_;
};

}  // namespace platform
