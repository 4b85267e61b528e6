#pragma once
// The fatal-error "message box": on this machine it writes its caption and text to standard
// error, unbuffered, so the text is out before the caller ends the process.

#include <string_view>

namespace platform {

// Writes "<caption>: <text>" and a line feed to standard error. Safe to call at any time,
// during static destruction included. Returns nothing; the caller decides whether to exit.
void showFatalMessage(std::string_view caption, std::string_view text);

}  // namespace platform
