// Registry access by key text, on the platform's registry store; see RegistryAccess.h.

#include "config/RegistryAccess.h"

#include <string>
#include <string_view>
#include <vector>

#include "platform/Registry.h"

namespace {

// The longest text value the reader accepts, in bytes with its terminating NUL.
constexpr std::size_t kValueBuffer = 1024;

// Splits "HIVE\sub\key" at its first '/' or '\'. False when there is no separator or the hive is
// not one of the four predefined roots named exactly.
bool parseKeyText(const RWCString& keyText, platform::RegistryHive& hive, std::string& subKey) {
  const std::string_view text(keyText.data(), keyText.length());
  const std::size_t sep = text.find_first_of("/\\");
  if (sep == std::string_view::npos) return false;
  const std::string_view name = text.substr(0, sep);
  if (name != "HKEY_CLASSES_ROOT" && name != "HKEY_CURRENT_USER" &&
      name != "HKEY_LOCAL_MACHINE" && name != "HKEY_USERS")
    return false;
  if (!platform::registryHiveFromName(name, hive)) return false;
  subKey.assign(text.substr(sep + 1));
  return true;
}

}  // namespace

RWCString readRegistryValue(const RWCString& keyText, bool* found) {
  if (found) *found = false;
  platform::RegistryHive hive;
  std::string subKey;
  if (!parseKeyText(keyText, hive, subKey)) return RWCString();
  platform::RegistryValue value;
  if (!platform::registryReadValue(hive, subKey, "", value)) return RWCString();
  if (value.type != platform::RegistryType::Text) return RWCString();
  if (value.text.size() + 1 > kValueBuffer) return RWCString();
  if (found) *found = true;
  return RWCString(value.text.data(), value.text.size());
}

RWTValOrderedVector<RWCString> listRegistrySubkeys(const RWCString& keyText) {
  RWTValOrderedVector<RWCString> names(64);
  RWCString text(keyText);
  if (!text.isEmpty()) {
    const char last = text.data()[text.length() - 1];
    if (last == '/' || last == '\\') text.remove(text.length() - 1);
  }
  platform::RegistryHive hive;
  std::string subKey;
  if (!parseKeyText(text, hive, subKey)) return names;
  std::vector<std::string> found;
  if (!platform::registryListSubkeys(hive, subKey, found)) return names;
  for (const std::string& n : found) names.append(RWCString(n.data(), n.size()));
  return names;
}

int writeRegistryValue(const RWCString& keyText, const RWCString& valueName,
                       const RWCString& value) {
  platform::RegistryHive hive;
  std::string subKey;
  if (!parseKeyText(keyText, hive, subKey)) return -1;
  // A text value ends at its first NUL, as the registry stores it.
  platform::RegistryValue v;
  v.type = platform::RegistryType::Text;
  v.text.assign(value.data());
  if (!platform::registryWriteValue(hive, subKey,
                                    std::string_view(valueName.data(), valueName.length()), v))
    return -1;
  return 1;
}
