// A second process for the registry tests:  registry-writer ROOT PREFIX COUNT
// Writes COUNT number values named PREFIX0, PREFIX1 ... into HKEY_CURRENT_USER\SOFTWARE\T of the
// store at ROOT, one write at a time. Exits 0 when every write succeeded.
#include <cstdlib>
#include <string>

#include "platform/Registry.h"

int main(int argc, char** argv) {
  if (argc != 4) return 2;
  platform::setRegistryRoot(argv[1]);
  int count = std::atoi(argv[3]);
  platform::RegistryValue v;
  v.type = platform::RegistryType::Number;
  for (int i = 0; i < count; ++i) {
    v.number = static_cast<std::uint32_t>(i);
    if (!platform::registryWriteValue(platform::RegistryHive::CurrentUser, "SOFTWARE\\T",
                                      argv[2] + std::to_string(i), v))
      return 1;
  }
  return 0;
}
