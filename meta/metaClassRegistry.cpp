#include "meta/metaClassRegistry.h"

namespace {

std::uint64_t insertions = 0;
std::uint64_t replacements = 0;
std::uint64_t ignoredRegistrations = 0;

bool isEmptyKey(const char* key) { return key == nullptr || key[0] == '\0'; }

}  // namespace

void metaClassRegistryC::create(metaClassRegistryC*& registry) {
  if (!registry) registry = new metaClassRegistryC();
}

void metaClassRegistryC::destroy(metaClassRegistryC*& registry) {
  delete registry;
  registry = nullptr;
}

bool metaClassRegistryC::search(const char* key, std::size_t* position) const {
  std::size_t lo = 0;
  std::size_t hi = entries_.size();
  while (lo < hi) {
    const std::size_t mid = lo + (hi - lo) / 2;
    const str& k = entries_.element(mid)->key;
    if (k.isEqual(key)) {
      *position = mid;
      return true;
    }
    if (k.isLess(key)) {
      lo = mid + 1;
    } else {
      hi = mid;
    }
  }
  *position = hi;
  return false;
}

int metaClassRegistryC::insert(metaClassRegistryC*& registry, const char* key, void* prototype,
                               std::int32_t depth) {
  if (isEmptyKey(key)) return ignored;
  create(registry);
  pagedArrayC<entryC>& entries = registry->entries_;
  std::size_t position = 0;
  if (registry->search(key, &position)) {
    entryC& existing = *entries.element(position);
    if (existing.depth < depth) {
      existing.key = str(key);
      existing.prototype = prototype;
      existing.depth = depth;
      ++replacements;
      return replaced;
    }
    if (existing.depth == depth) ++ignoredRegistrations;
    return ignored;
  }
  // Open a slot at the end and move the later entries up one place.
  entries.appendSlot();
  for (std::size_t i = entries.size() - 1; i > position; --i) {
    *entries.element(i) = std::move(*entries.element(i - 1));
  }
  entryC& slot = *entries.element(position);
  slot.depth = depth;
  slot.key = str(key);
  slot.prototype = prototype;
  ++insertions;
  return inserted;
}

void* metaClassRegistryC::find(const metaClassRegistryC* registry, const char* key) {
  if (!registry || isEmptyKey(key) || registry->entries_.isEmpty()) return nullptr;
  const pagedArrayC<entryC>& entries = registry->entries_;
  if (entries.size() <= 5) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
      if (entries.element(i)->key.isEqual(key)) return entries.element(i)->prototype;
    }
    return nullptr;
  }
  std::size_t position = 0;
  return registry->search(key, &position) ? entries.element(position)->prototype : nullptr;
}

std::int32_t metaClassRegistryC::depthOf(const char* key) const {
  std::size_t position = 0;
  if (isEmptyKey(key) || !search(key, &position)) return -1;
  return entries_.element(position)->depth;
}

std::uint64_t metaClassRegistryC::insertedCount() { return insertions; }
std::uint64_t metaClassRegistryC::replacedCount() { return replacements; }
std::uint64_t metaClassRegistryC::ignoredCount() { return ignoredRegistrations; }
