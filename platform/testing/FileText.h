#pragma once
// Test instruments: the whole byte content of a file read into a string, and a file written
// with exactly the given bytes (created or truncated). Header-only, standard library only.
// Failures are not reported here: a missing file reads as "", and the test's own checks of the
// content catch a write that did not happen.

#include <fstream>
#include <iterator>
#include <string>

namespace kxtesting {

inline std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeFile(const std::string& path, const std::string& data) {
  std::ofstream out(path, std::ios::binary);
  out << data;
}

}  // namespace kxtesting
