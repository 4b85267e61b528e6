#pragma once
// metaClassRegistryC: a table from a class key to the prototype view that handles nodes of that
// key, with the class's depth; for one key the deepest class registered wins. The registry owns
// its entries and keys, never the prototypes (their registration objects own those).
// A registry is held through a global pointer that is null until metaClassRegistryC::create;
// define such pointers as constant-initialised globals (`metaClassRegistryC* r = nullptr;`) so
// that registration objects may run in any order at load.

#include <cstddef>
#include <cstdint>

#include "foundation/pagedArray.h"
#include "foundation/str.h"

class metaClassRegistryC {
public:
  struct entryC {
    std::int32_t depth = 0;
    str key;
    void* prototype = nullptr;  // the address of the part the registry's users expect
  };

  // Results of insert.
  enum : int { ignored = 0, inserted = 1, replaced = 2 };

  // Makes an empty registry when the pointer is null; else leaves it.
  static void create(metaClassRegistryC*& registry);
  // Deletes the registry with its entries and sets the pointer to null.
  static void destroy(metaClassRegistryC*& registry);
  // Registers `prototype` under `key` with `depth` (the registry is created when the pointer is
  // null): a new key is inserted in order; a present key is replaced only by a deeper class.
  // A null or empty key is refused (ignored).
  static int insert(metaClassRegistryC*& registry, const char* key, void* prototype,
                    std::int32_t depth);
  // The prototype under `key`; null when there is no registry, the key is null or empty, or absent.
  static void* find(const metaClassRegistryC* registry, const char* key);
  template <class T>
  static T* findAs(const metaClassRegistryC* registry, const char* key) {
    return static_cast<T*>(find(registry, key));
  }

  std::size_t count() const { return entries_.size(); }
  // Entry i in ascending key order (i below count()).
  const entryC& entry(std::size_t i) const { return *entries_.element(i); }
  // Depth registered under `key`, or -1 when absent.
  std::int32_t depthOf(const char* key) const;

  // Process-wide statistics, read by nobody but tests.
  static std::uint64_t insertedCount();
  static std::uint64_t replacedCount();
  static std::uint64_t ignoredCount();

private:
  metaClassRegistryC() = default;
  ~metaClassRegistryC() = default;
  metaClassRegistryC(const metaClassRegistryC&) = delete;
  metaClassRegistryC& operator=(const metaClassRegistryC&) = delete;

  // Binary search: true with the position of the key when present, else false with the position
  // where it belongs.
  bool search(const char* key, std::size_t* position) const;

  pagedArrayC<entryC> entries_{3};
};
