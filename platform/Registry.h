#pragma once
// A file-backed registry with the Windows semantics the system relies on: predefined hives, keys
// whose sub-keys are separated by '\', key and value names that compare ignoring (ASCII) case
// and keep the case they were created with, a default (unnamed) value per key, and typed values
// (text, 32-bit number). One file per hive under the registry root; names are encoded inside the
// file and never become file names. Every write is atomic and made under a lock shared by the
// threads of this process and by other processes using the same root.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

enum class RegistryHive { ClassesRoot, CurrentUser, LocalMachine, Users, CurrentConfig };

// "HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_USERS",
// "HKEY_CURRENT_CONFIG", compared exactly (case matters). False for any other text.
bool registryHiveFromName(std::string_view name, RegistryHive& hive);
const char* registryHiveName(RegistryHive hive);

enum class RegistryType { Text, Number };   // REG_SZ, REG_DWORD

struct RegistryValue {
  RegistryType type = RegistryType::Text;
  std::string text;                 // for Text; may hold any byte but NUL
  std::uint32_t number = 0;         // for Number
};

// Key paths: components separated by '\'; empty components (a leading, trailing or doubled '\')
// are ignored, the empty path is the hive itself. '/' is an ordinary character of a name, as on
// Windows. A component longer than 255 bytes, or holding NUL, makes the call fail. A value name
// of "" is the key's default value; value names are at most 16383 bytes.
//
// Reading never writes. A hive file that is not a whole, well-formed store (cut short, edited by
// hand, of another format) reads as an empty hive and is never overwritten: writes to that hive
// fail until the file is repaired or removed.
//
// A fresh store holds the keys a fresh Windows profile has and callers expect to find:
// HKEY_CURRENT_USER\Environment, HKEY_CURRENT_USER\SOFTWARE and HKEY_LOCAL_MACHINE\SOFTWARE.

bool registryKeyExists(RegistryHive hive, std::string_view keyPath);

// Creates the key and every missing parent; true when the key exists afterwards.
bool registryCreateKey(RegistryHive hive, std::string_view keyPath);

// Reads a value; false when the key or the value is missing (a key's default value is missing
// until it is set).
bool registryReadValue(RegistryHive hive, std::string_view keyPath, std::string_view valueName,
                       RegistryValue& value);

// Sets a value of an existing key (the key is not created); false when it does not exist or the
// store cannot be written. A value name that matches an existing one ignoring case replaces it
// and keeps its stored spelling.
bool registryWriteValue(RegistryHive hive, std::string_view keyPath, std::string_view valueName,
                        const RegistryValue& value);

// The names of a key's direct sub-keys, as stored, ordered ignoring case; false when the key is
// missing.
bool registryListSubkeys(RegistryHive hive, std::string_view keyPath, std::vector<std::string>& names);

// The names of a key's values ("" for a set default value), ordered ignoring case.
bool registryListValues(RegistryHive hive, std::string_view keyPath, std::vector<std::string>& names);

// Deletes one value; false when it is missing.
bool registryDeleteValue(RegistryHive hive, std::string_view keyPath, std::string_view valueName);

// Deletes a key that has no sub-keys (as RegDeleteKey); false when it is missing, has sub-keys,
// or is the hive itself.
bool registryDeleteKey(RegistryHive hive, std::string_view keyPath);

// The root folder of the store (native path): the one set by setRegistryRoot, else
// KESTRIX_REGISTRY, else $XDG_CONFIG_HOME/kestrix/registry, else $HOME/.config/kestrix/registry.
// The environment is read on each call, so a test may change it.
std::string registryRoot();

// Points the store at another root folder (tests use a temporary one); the empty text goes back to
// the environment's choice.
void setRegistryRoot(std::string_view nativeFolder);

}  // namespace platform
