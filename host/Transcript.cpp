#include "host/Transcript.h"

namespace kxhost {

Transcript::~Transcript() { closeFile(); }

void Transcript::write(std::string_view text) {
  text_.append(text);
  if (echo_) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
  }
  if (file_) {
    std::fwrite(text.data(), 1, text.size(), file_);
    std::fflush(file_);
  }
}

void Transcript::startLine() {
  if (!text_.empty() && text_.back() != '\n') write("\n");
}

void Transcript::hostLine(std::string_view text) {
  startLine();
  write("host: ");
  write(text);
  write("\n");
}

void Transcript::alert(std::string_view text) {
  startLine();
  write("ALERT: ");
  write(text);
  write("\n");
}

bool Transcript::openFile(const std::string& nativePath) {
  closeFile();
  file_ = std::fopen(nativePath.c_str(), "wb");
  return file_ != nullptr;
}

void Transcript::closeFile() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
}

}  // namespace kxhost
