#pragma once
// The host's command line as a text: what the plug-in prints, the prompts with the answers the
// script gave, alerts, and the host's own remarks ("host: ..." lines, for refused calls and
// leaks). Kept in memory and echoed to standard output and a file when asked.

#include <cstdio>
#include <string>
#include <string_view>

namespace kxhost {

class Transcript {
public:
  Transcript() = default;
  ~Transcript();
  Transcript(const Transcript&) = delete;
  Transcript& operator=(const Transcript&) = delete;

  // Text as the command line shows it, unchanged.
  void write(std::string_view text);
  // A remark of the host on a line of its own, "host: " + text.
  void hostLine(std::string_view text);
  // An alert box, as a line "ALERT: " + text (line breaks of the text kept).
  void alert(std::string_view text);

  const std::string& text() const { return text_; }
  void clear() { text_.clear(); }

  void setEchoToStdout(bool on) { echo_ = on; }
  // Copies everything written from now on into the file; false when it cannot be created.
  bool openFile(const std::string& nativePath);
  void closeFile();

private:
  void startLine();

  std::string text_;
  bool echo_ = false;
  std::FILE* file_ = nullptr;
};

}  // namespace kxhost
