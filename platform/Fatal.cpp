// The fatal-error message on standard error, written with one unbuffered system call so it works
// whatever state the C++ streams are in.
#include "platform/Fatal.h"

#include <string>
#include <unistd.h>

namespace platform {

void showFatalMessage(std::string_view caption, std::string_view text) {
  std::string line;
  line.reserve(caption.size() + text.size() + 3);
  line.append(caption).append(": ").append(text).push_back('\n');
  const char* p = line.data();
  size_t left = line.size();
  while (left > 0) {
    ssize_t n = ::write(STDERR_FILENO, p, left);
    if (n <= 0) break;
    p += n;
    left -= static_cast<size_t>(n);
  }
}

}  // namespace platform
