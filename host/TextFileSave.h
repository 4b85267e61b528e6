#pragma once
// saveTextFile: writes a document the host produced (a dump, a DXF file) to a native path,
// created or truncated, with exactly the given bytes. The caller owns the text.

#include <functional>
#include <ostream>
#include <string>

namespace kxhost {

// False with `error` set ("cannot create PATH" / "cannot write PATH") when the file cannot be
// opened or the write does not complete.
bool saveTextFile(const std::string& nativePath, const std::string& text, std::string& error);

// The same for a document written piece by piece: `write` puts the bytes into the stream it is
// given (binary; nothing is translated), which is the file itself.
bool saveTextFile(const std::string& nativePath, const std::function<void(std::ostream&)>& write,
                  std::string& error);

}  // namespace kxhost
