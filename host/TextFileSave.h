#pragma once
// saveTextFile: writes a document the host produced (a dump, a DXF file) to a native path,
// created or truncated, with exactly the given bytes. The caller owns the text.

#include <string>

namespace kxhost {

// False with `error` set ("cannot create PATH" / "cannot write PATH") when the file cannot be
// opened or the write does not complete.
bool saveTextFile(const std::string& nativePath, const std::string& text, std::string& error);

}  // namespace kxhost
