#pragma once
// RWBinaryFile: a stdio file opened in binary mode with typed reads and writes of fixed-size
// values, arrays of them and NUL-terminated strings, positioning and erasing. The object owns the
// FILE and one heap block that holds the open mode and the name; both go with the object.
// Values use the machine's byte order; long and unsigned long are stored as 4 bytes.

#include <cstddef>
#include <cstdint>
#include <cstdio>

class RWBinaryFile {
 public:
  // With a mode, fopen with it; with a null mode "rb+", and "wb+" when that fails (a missing file
  // is created). A failed open leaves the file null. The name goes through the drive table. Only a
  // regular file (or a link to one) is opened: anything else at the name (a folder, a named pipe,
  // a device) fails the open without waiting on it, and is never created over.
  RWBinaryFile(const char* name, const char* mode = nullptr);
  ~RWBinaryFile();
  RWBinaryFile(const RWBinaryFile&) = delete;
  RWBinaryFile& operator=(const RWBinaryFile&) = delete;

  // 1 when a file or folder of that name exists, else 0.
  static int exists(const char* name);
  int exists() const { return exists(fileName()); }
  // 1 when the access mode (0 exists, 2 write, 4 read, combined) is granted, else 0.
  int isAccessible(int mode) const;

  bool isOpen() const { return file_ != nullptr; }
  const char* fileName() const;   // the name as given; "" when none
  const char* openMode() const;   // the mode of the last successful open (at most 7 characters)
  std::FILE* file() const { return file_; }

  // ---- one value each; 1 when it was transferred, else 0 (also when no file is open).
  int read(char& v);
  int read(unsigned char& v);
  int read(short& v);
  int read(unsigned short& v);
  int read(int& v);
  int read(unsigned int& v);
  int read(long& v);            // 4 bytes, sign-extended
  int read(unsigned long& v);   // 4 bytes
  int read(float& v);
  int read(double& v);

  int write(char v);
  int write(unsigned char v);
  int write(short v);
  int write(unsigned short v);
  int write(int v);
  int write(unsigned int v);
  int write(long v);            // 0, nothing written, when the value needs more than 4 bytes
  int write(unsigned long v);   // the same
  int write(float v);
  int write(double v);

  // ---- arrays; 1 when all count elements were transferred.
  int readArray(char* p, std::size_t count);
  int readArray(unsigned char* p, std::size_t count);
  int readArray(short* p, std::size_t count);
  int readArray(unsigned short* p, std::size_t count);
  int readArray(int* p, std::size_t count);
  int readArray(unsigned int* p, std::size_t count);
  int readArray(long* p, std::size_t count);
  int readArray(unsigned long* p, std::size_t count);
  int readArray(float* p, std::size_t count);
  int readArray(double* p, std::size_t count);

  int writeArray(const char* p, std::size_t count);
  int writeArray(const unsigned char* p, std::size_t count);
  int writeArray(const short* p, std::size_t count);
  int writeArray(const unsigned short* p, std::size_t count);
  int writeArray(const int* p, std::size_t count);
  int writeArray(const unsigned int* p, std::size_t count);
  int writeArray(const long* p, std::size_t count);
  int writeArray(const unsigned long* p, std::size_t count);
  int writeArray(const float* p, std::size_t count);
  int writeArray(const double* p, std::size_t count);

  // Reads characters up to a NUL byte or the end of the file into buffer, at most capacity - 1
  // of them, and ends them with a NUL. 1, or 0 when capacity is 0 or no file is open.
  int readString(char* buffer, std::size_t capacity);
  // The text with its NUL; 1 when all was written.
  int writeString(const char* text);

  // ---- position and state
  long offset() const;                 // ftell; -1 when no file is open
  bool seekTo(long offset);            // from the start
  bool seekToEnd();
  bool flush();
  void clearError();
  bool atEnd() const;
  bool hasError() const;
  bool isEmpty() const;                // the file's size is 0 (true when no file is open)
  // Closes, deletes and reopens the file with "wb+". 0 when the close or the delete failed, else
  // whether the new open succeeded. A file its user may not write (by its mode) is not deleted:
  // the erase fails and the file keeps its bytes and its mode (it is left closed).
  int erase();

 private:
  bool open(const char* mode);
  template <class T>
  int readRaw(T* p, std::size_t count);
  template <class T>
  int writeRaw(const T* p, std::size_t count);

  // [mode, 8 characters][total size, 32 bits][name, NUL]: the name's length + 13 bytes.
  char* nameBlock_ = nullptr;
  std::FILE* file_ = nullptr;
};

// Extraction: the value is read (a failed read leaves it unchanged). For a pointer a new element
// is allocated with new, its address stored in the pointer (the caller owns it), and it is read.
template <class T>
RWBinaryFile& operator>>(RWBinaryFile& file, T& value) {
  file.read(value);
  return file;
}
template <class T>
RWBinaryFile& operator>>(RWBinaryFile& file, T*& pointer) {
  pointer = new T();
  file.read(*pointer);
  return file;
}
