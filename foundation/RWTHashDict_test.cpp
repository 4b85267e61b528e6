// The hashed dictionary and its iterator.

#include "foundation/RWTHashDict.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

#include "foundation/RWCString.h"
#include "foundation/RWTHashDictIterator.h"

namespace {

using StringDict = RWTHashDict<RWCString, RWCString>;
using PtrDict = RWTHashDict<void*, void*>;

TEST(RWTHashDict, FindOrInsertAddsOncePerKey) {
  StringDict d(&RWCStringHash, 64);
  EXPECT_EQ(d.buckets(), 64u);
  EXPECT_FALSE(d.contains("key"));
  RWCString& v = d.findOrInsert("key");
  EXPECT_TRUE(v.isEmpty());
  EXPECT_EQ(d.entries(), 1u);
  v = "value";
  EXPECT_EQ(&d.findOrInsert("key"), &v);
  EXPECT_EQ(d.entries(), 1u);
  EXPECT_TRUE(d.contains("key"));
  EXPECT_FALSE(d.contains("KEY"));  // case-sensitive
  EXPECT_TRUE(*d.findValue("key") == "value");
  EXPECT_EQ(d.findValue("none"), nullptr);
  EXPECT_EQ(d.entries(), 1u);
  EXPECT_EQ(d.bucketOf("key"), RWCString("key").hash() % 64);
  d.findOrInsert(RWCString("a\0b", 3)) = "nul";
  EXPECT_FALSE(d.contains("a"));
  EXPECT_TRUE(d.contains(RWCString("a\0b", 3)));
  d.clear();
  EXPECT_EQ(d.entries(), 0u);
  EXPECT_FALSE(d.contains("key"));
}

TEST(RWTHashDict, PointerKeysHashToThemselves) {
  PtrDict d(&RWHashPointer, 64);
  int a, b;
  EXPECT_EQ(d.findOrInsert(&a), nullptr);
  d.findOrInsert(&a) = &b;
  EXPECT_EQ(d.findOrInsert(&a), &b);
  EXPECT_EQ(d.bucketOf(&a), reinterpret_cast<std::uintptr_t>(&a) % 64 % 64);
  EXPECT_FALSE(d.contains(&b));
  EXPECT_EQ(PtrDict(&RWHashPointer, 0).buckets(), 2u);
}

std::uint32_t modHash(const RWCString& s) { return static_cast<std::uint32_t>(s.length()); }

TEST(RWTHashDict, SharedBucketKeepsInsertionOrder) {
  // Lengths 1, 5 and 9 differ by multiples of the bucket count 4.
  RWTHashDict<RWCString, RWCString> d(&modHash, 4);
  d.findOrInsert("fives") = "5";
  d.findOrInsert("x") = "1";
  d.findOrInsert("ninenine9") = "9";
  d.findOrInsert("ab") = "2";
  EXPECT_EQ(d.bucketOf("x"), d.bucketOf("fives"));
  EXPECT_TRUE(d.contains("x") && d.contains("fives") && d.contains("ninenine9"));
  RWTHashDictIterator<RWCString, RWCString> it(d);
  std::vector<std::string> order;
  while (it.next()) order.push_back(it.key().data());
  EXPECT_EQ(order, (std::vector<std::string>{"fives", "x", "ninenine9", "ab"}));
}

TEST(RWTHashDictIterator, EmptyDictionaryEndsAtOnce) {
  StringDict d(&RWCStringHash);
  RWTHashDictIterator<RWCString, RWCString> it(d);
  EXPECT_EQ(it.next(), 0);
  EXPECT_EQ(it.next(), 0);
  EXPECT_THROW(it.key(), RWBoundsErr);
  d.findOrInsert("x");
  d.clear();  // buckets emptied again
  it.reset();
  EXPECT_EQ(it.next(), 0);
}

TEST(RWTHashDictIterator, VisitsEveryPairOnceInBucketOrderAndResets) {
  StringDict d(&RWCStringHash, 64);
  std::map<std::string, std::string> model;
  std::mt19937 rng(3);
  for (int i = 0; i < 500; ++i) {
    const std::string k = "k" + std::to_string(rng() % 300);
    const std::string v = std::to_string(i);
    d.findOrInsert(k.c_str()) = v.c_str();
    model[k] = v;
  }
  EXPECT_EQ(d.entries(), model.size());
  RWTHashDictIterator<RWCString, RWCString> it(d);
  for (int pass = 0; pass < 2; ++pass) {
    std::map<std::string, std::string> seen;
    std::size_t lastBucket = 0;
    while (it.next()) {
      const std::size_t b = d.bucketOf(it.key());
      EXPECT_GE(b, lastBucket);
      lastBucket = b;
      EXPECT_TRUE(seen.emplace(it.key().data(), it.value().data()).second);
    }
    EXPECT_EQ(seen, model);
    it.reset();
  }
}

}  // namespace
