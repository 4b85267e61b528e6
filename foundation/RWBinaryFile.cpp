#include "foundation/RWBinaryFile.h"

#include <cstring>
#include <limits>
#include <memory>
#include <string>

#include "platform/FileSystem.h"
#include "platform/Path.h"

namespace {

constexpr std::size_t kModeChars = 8;
constexpr std::size_t kHeaderSize = 12;

}  // namespace

RWBinaryFile::RWBinaryFile(const char* name, const char* mode) {
  const char* n = name ? name : "";
  const std::size_t length = std::strlen(n);
  // The block is made first so that its failure leaves no open file behind.
  std::unique_ptr<char[]> block(new char[length + kHeaderSize + 1]);
  std::memset(block.get(), 0, kHeaderSize);
  const std::uint32_t total = static_cast<std::uint32_t>(length + kHeaderSize + 1);
  std::memcpy(block.get() + kModeChars, &total, sizeof total);
  std::memcpy(block.get() + kHeaderSize, n, length + 1);
  nameBlock_ = block.release();
  if (mode) {
    open(mode);
  } else if (!open("rb+")) {
    open("wb+");
  }
}

RWBinaryFile::~RWBinaryFile() {
  if (file_) std::fclose(file_);
  delete[] nameBlock_;
}

bool RWBinaryFile::open(const char* mode) {
  file_ = platform::openRegularFile(fileName(), mode);
  if (!file_) return false;
  std::memset(nameBlock_, 0, kModeChars);
  std::strncpy(nameBlock_, mode, kModeChars - 1);
  return true;
}

const char* RWBinaryFile::fileName() const { return nameBlock_ + kHeaderSize; }
const char* RWBinaryFile::openMode() const { return nameBlock_; }

int RWBinaryFile::exists(const char* name) {
  return name && platform::isAccessible(name, platform::kAccessExists) ? 1 : 0;
}

int RWBinaryFile::isAccessible(int mode) const {
  return platform::isAccessible(fileName(), mode) ? 1 : 0;
}

template <class T>
int RWBinaryFile::readRaw(T* p, std::size_t count) {
  if (!file_ || (count && !p)) return 0;
  return std::fread(p, sizeof(T), count, file_) == count ? 1 : 0;
}

template <class T>
int RWBinaryFile::writeRaw(const T* p, std::size_t count) {
  if (!file_ || (count && !p)) return 0;
  return std::fwrite(p, sizeof(T), count, file_) == count ? 1 : 0;
}

int RWBinaryFile::read(char& v) { return readRaw(&v, 1); }
int RWBinaryFile::read(unsigned char& v) { return readRaw(&v, 1); }
int RWBinaryFile::read(short& v) { return readRaw(&v, 1); }
int RWBinaryFile::read(unsigned short& v) { return readRaw(&v, 1); }
int RWBinaryFile::read(int& v) { return readRaw(&v, 1); }
int RWBinaryFile::read(unsigned int& v) { return readRaw(&v, 1); }
int RWBinaryFile::read(float& v) { return readRaw(&v, 1); }
int RWBinaryFile::read(double& v) { return readRaw(&v, 1); }

int RWBinaryFile::read(long& v) {
  std::int32_t stored = 0;
  if (!readRaw(&stored, 1)) return 0;
  v = stored;
  return 1;
}

int RWBinaryFile::read(unsigned long& v) {
  std::uint32_t stored = 0;
  if (!readRaw(&stored, 1)) return 0;
  v = stored;
  return 1;
}

int RWBinaryFile::write(char v) { return writeRaw(&v, 1); }
int RWBinaryFile::write(unsigned char v) { return writeRaw(&v, 1); }
int RWBinaryFile::write(short v) { return writeRaw(&v, 1); }
int RWBinaryFile::write(unsigned short v) { return writeRaw(&v, 1); }
int RWBinaryFile::write(int v) { return writeRaw(&v, 1); }
int RWBinaryFile::write(unsigned int v) { return writeRaw(&v, 1); }
int RWBinaryFile::write(float v) { return writeRaw(&v, 1); }
int RWBinaryFile::write(double v) { return writeRaw(&v, 1); }

int RWBinaryFile::write(long v) { return writeArray(&v, 1); }
int RWBinaryFile::write(unsigned long v) { return writeArray(&v, 1); }

int RWBinaryFile::readArray(char* p, std::size_t count) { return readRaw(p, count); }
int RWBinaryFile::readArray(unsigned char* p, std::size_t count) { return readRaw(p, count); }
int RWBinaryFile::readArray(short* p, std::size_t count) { return readRaw(p, count); }
int RWBinaryFile::readArray(unsigned short* p, std::size_t count) { return readRaw(p, count); }
int RWBinaryFile::readArray(int* p, std::size_t count) { return readRaw(p, count); }
int RWBinaryFile::readArray(unsigned int* p, std::size_t count) { return readRaw(p, count); }
int RWBinaryFile::readArray(float* p, std::size_t count) { return readRaw(p, count); }
int RWBinaryFile::readArray(double* p, std::size_t count) { return readRaw(p, count); }

int RWBinaryFile::readArray(long* p, std::size_t count) {
  if (!file_ || (count && !p)) return 0;
  for (std::size_t i = 0; i < count; ++i)
    if (!read(p[i])) return 0;
  return 1;
}

int RWBinaryFile::readArray(unsigned long* p, std::size_t count) {
  if (!file_ || (count && !p)) return 0;
  for (std::size_t i = 0; i < count; ++i)
    if (!read(p[i])) return 0;
  return 1;
}

int RWBinaryFile::writeArray(const char* p, std::size_t count) { return writeRaw(p, count); }
int RWBinaryFile::writeArray(const unsigned char* p, std::size_t count) {
  return writeRaw(p, count);
}
int RWBinaryFile::writeArray(const short* p, std::size_t count) { return writeRaw(p, count); }
int RWBinaryFile::writeArray(const unsigned short* p, std::size_t count) {
  return writeRaw(p, count);
}
int RWBinaryFile::writeArray(const int* p, std::size_t count) { return writeRaw(p, count); }
int RWBinaryFile::writeArray(const unsigned int* p, std::size_t count) {
  return writeRaw(p, count);
}
int RWBinaryFile::writeArray(const float* p, std::size_t count) { return writeRaw(p, count); }
int RWBinaryFile::writeArray(const double* p, std::size_t count) { return writeRaw(p, count); }

// Longs are stored in 4 bytes; a value that does not fit is refused before anything is written,
// so the file never holds a cut value.
int RWBinaryFile::writeArray(const long* p, std::size_t count) {
  if (!file_ || (count && !p)) return 0;
  for (std::size_t i = 0; i < count; ++i)
    if (p[i] < std::numeric_limits<std::int32_t>::min() ||
        p[i] > std::numeric_limits<std::int32_t>::max())
      return 0;
  for (std::size_t i = 0; i < count; ++i) {
    const std::int32_t stored = static_cast<std::int32_t>(p[i]);
    if (!writeRaw(&stored, 1)) return 0;
  }
  return 1;
}

int RWBinaryFile::writeArray(const unsigned long* p, std::size_t count) {
  if (!file_ || (count && !p)) return 0;
  for (std::size_t i = 0; i < count; ++i)
    if (p[i] > std::numeric_limits<std::uint32_t>::max()) return 0;
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint32_t stored = static_cast<std::uint32_t>(p[i]);
    if (!writeRaw(&stored, 1)) return 0;
  }
  return 1;
}

int RWBinaryFile::readString(char* buffer, std::size_t capacity) {
  if (!file_ || !buffer || capacity == 0) return 0;
  std::size_t n = 0;
  while (n + 1 < capacity) {
    const int c = std::fgetc(file_);
    if (c == EOF || c == '\0') break;
    buffer[n++] = static_cast<char>(c);
  }
  buffer[n] = '\0';
  return 1;
}

int RWBinaryFile::writeString(const char* text) {
  const char* t = text ? text : "";
  return writeRaw(t, std::strlen(t) + 1);
}

long RWBinaryFile::offset() const { return file_ ? std::ftell(file_) : -1; }
bool RWBinaryFile::seekTo(long offset) { return file_ && std::fseek(file_, offset, SEEK_SET) == 0; }
bool RWBinaryFile::seekToEnd() { return file_ && std::fseek(file_, 0, SEEK_END) == 0; }
bool RWBinaryFile::flush() { return file_ && std::fflush(file_) == 0; }
void RWBinaryFile::clearError() {
  if (file_) std::clearerr(file_);
}
bool RWBinaryFile::atEnd() const { return file_ && std::feof(file_) != 0; }
bool RWBinaryFile::hasError() const { return file_ && std::ferror(file_) != 0; }

bool RWBinaryFile::isEmpty() const {
  if (!file_) return true;
  std::fflush(file_);  // what was written counts
  // The open file itself, not whatever its name means now.
  platform::FileStatus st;
  return !platform::openFileStatus(file_, st) || st.size == 0;
}

int RWBinaryFile::erase() {
  if (file_) {
    const int closed = std::fclose(file_);
    file_ = nullptr;
    if (closed != 0) return 0;
  }
  // Deleting a read-only file fails on the system these files come from; here the folder's mode
  // alone would allow it, and the new file would replace the protected one with an empty one.
  if (!platform::isAccessible(fileName(), platform::kAccessWrite)) return 0;
  if (!platform::removeFile(fileName())) return 0;
  return open("wb+") ? 1 : 0;
}
