#include "host/TextFileSave.h"

#include <fstream>

namespace kxhost {

bool saveTextFile(const std::string& nativePath, const std::function<void(std::ostream&)>& write,
                  std::string& error) {
  std::ofstream out(nativePath, std::ios::binary | std::ios::trunc);
  if (nativePath.empty() || !out) {
    error = "cannot create " + nativePath;
    return false;
  }
  write(out);
  out.close();
  if (!out) {
    error = "cannot write " + nativePath;
    return false;
  }
  return true;
}

bool saveTextFile(const std::string& nativePath, const std::string& text, std::string& error) {
  return saveTextFile(nativePath, [&](std::ostream& out) { out << text; }, error);
}

}  // namespace kxhost
