#pragma once
// Registry access by one key text: a hive name ("HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER",
// "HKEY_LOCAL_MACHINE" or "HKEY_USERS", compared exactly), the first '/' or '\' of the text, then
// the sub-key path, handed to the registry store as it is. Values are read and written as text
// only. No function reports errors other than by its result.

#include "foundation/RWCString.h"
#include "foundation/RWTValOrderedVector.h"

// The key's default value. `found` (when given) is set to false first, and to true when a text
// value was read (an empty one counts). No separator, an unknown hive, a missing key or value,
// a value of another type or one of 1024 bytes or more give the empty text.
RWCString readRegistryValue(const RWCString& keyText, bool* found = nullptr);

// The names of the key's direct sub-keys (one trailing '/' or '\' of the text is ignored); empty
// when the key cannot be read.
RWTValOrderedVector<RWCString> listRegistrySubkeys(const RWCString& keyText);

// Sets the value named valueName ("" for the default value) of an existing key to `value` as
// text. 1 on success; -1 when the text has no separator, the hive is unknown, the key does not
// exist (it is not created) or the write fails.
int writeRegistryValue(const RWCString& keyText, const RWCString& valueName,
                       const RWCString& value);
