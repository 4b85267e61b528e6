#pragma once
// RWTHashDict<K,V>: a hashed dictionary. A vector of buckets (bucket = hash(key) modulo the bucket
// count, 64 throughout the system); each non-empty bucket owns a singly linked list of pairs
// {key, value} in insertion order. The dictionary owns the lists, pairs, keys and values. Keys are
// compared with K's operator==. No lock.

#include <cstddef>
#include <cstdint>
#include <memory>

#include "foundation/RWLinkList.h"
#include "foundation/RWPtrVector.h"

template <class K, class V>
class RWTHashDictIterator;

template <class K, class V>
class RWTHashDict {
 public:
  using HashFunction = std::uint32_t (*)(const K& key);
  static constexpr std::size_t defaultBuckets = 64;

  struct Pair : RWLink {
    explicit Pair(const K& k) : key(k), value() {}
    K key;
    V value;  // starts as V's default (empty string, null pointer)
  };

  // bucketCount 0 is taken as 2.
  explicit RWTHashDict(HashFunction hash, std::size_t bucketCount = defaultBuckets)
      : buckets_(bucketCount ? bucketCount : 2, nullptr), hash_(hash) {}
  RWTHashDict(const RWTHashDict&) = delete;
  RWTHashDict& operator=(const RWTHashDict&) = delete;
  ~RWTHashDict() { clear(); }

  std::size_t entries() const { return entries_; }
  std::size_t count() const { return entries_; }
  bool isEmpty() const { return entries_ == 0; }
  std::size_t buckets() const { return buckets_.length(); }
  std::size_t bucketOf(const K& key) const {
    return buckets_.length() ? hash_(key) % buckets_.length() : 0;
  }

  // The value stored under key; when there is none, a pair {key, default value} is appended to
  // the key's bucket first. The reference stays valid until the pair is removed by clear().
  V& findOrInsert(const K& key) {
    const std::size_t b = bucketOf(key);
    RWLinkList* list = bucket(b);
    std::unique_ptr<RWLinkList> fresh;
    if (!list) {
      fresh.reset(new RWLinkList);
      list = fresh.get();
    } else if (Pair* p = find(list, key)) {
      return p->value;
    }
    Pair* p = new Pair(key);  // a failure here frees the list made for it
    if (fresh) buckets_(b) = fresh.release();
    list->append(p);
    ++entries_;
    return p->value;
  }
  V& operator[](const K& key) { return findOrInsert(key); }

  bool contains(const K& key) const {
    if (!buckets_.length()) return false;
    const RWLinkList* list = bucket(bucketOf(key));
    return list && find(list, key);
  }
  // The value under key, or null when there is none. Adds nothing.
  const V* findValue(const K& key) const {
    if (!buckets_.length()) return nullptr;
    const RWLinkList* list = bucket(bucketOf(key));
    const Pair* p = list ? find(list, key) : nullptr;
    return p ? &p->value : nullptr;
  }

  // Deletes every bucket list with its pairs.
  void clear() {
    for (std::size_t b = 0; b < buckets_.length(); ++b) {
      RWLinkList* list = bucket(b);
      if (!list) continue;
      while (!list->isEmpty()) delete static_cast<Pair*>(list->removeAfter(list->head()));
      delete list;
      buckets_(b) = nullptr;
    }
    entries_ = 0;
  }

 private:
  friend class RWTHashDictIterator<K, V>;
  RWLinkList* bucket(std::size_t b) const { return static_cast<RWLinkList*>(buckets_(b)); }
  static Pair* find(const RWLinkList* list, const K& key) {
    for (RWLink* l = list->head()->next(); l != list->end(); l = l->next())
      if (static_cast<Pair*>(l)->key == key) return static_cast<Pair*>(l);
    return nullptr;
  }

  RWPtrVector buckets_;
  std::size_t entries_ = 0;
  HashFunction hash_;
};

// Hashes a pointer key to its own value (the low 32 bits).
inline std::uint32_t RWHashPointer(void* const& key) {
  return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(key));
}
