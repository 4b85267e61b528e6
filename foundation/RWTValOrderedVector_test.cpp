// The ordered vectors: value vector, untyped and typed pointer vectors and the sorted vector.

#include "foundation/RWTValOrderedVector.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "foundation/RWCString.h"
#include "foundation/RWPtrVector.h"
#include "foundation/RWTPtrOrderedVector.h"
#include "foundation/RWTPtrSortedVector.h"
#include "foundation/testing/BoundsErrText.h"

namespace {

using foundationtesting::boundsText;
using foundationtesting::indexErr;
using foundationtesting::kNpos;


std::vector<int> items(const RWTValOrderedVector<int>& v) {
  std::vector<int> out;
  for (std::size_t i = 0; i < v.count(); ++i) out.push_back(v.at(i));
  return out;
}

TEST(RWTValOrderedVector, GrowsBy64AndClearShrinksTo64) {
  RWTValOrderedVector<int> v(64);
  for (int i = 0; i < 64; ++i) v.append(i);
  EXPECT_EQ(v.capacity(), 64u);
  v.append(64);
  EXPECT_EQ(v.capacity(), 128u);
  for (int i = 65; i < 129; ++i) v.insert(i);
  EXPECT_EQ(v.capacity(), 192u);
  EXPECT_EQ(v.count(), 129u);
  EXPECT_EQ(v.at(128), 128);
  v.clear();
  EXPECT_EQ(v.capacity(), 64u);
  EXPECT_EQ(v.count(), 0u);
  EXPECT_EQ(*v.uncheckedAt(5), 0);  // freed slots hold the default value
}

TEST(RWTValOrderedVector, InsertAtRemoveAtAndTheirBounds) {
  RWTValOrderedVector<int> v;
  v.insertAt(0, 2);
  v.insertAt(0, 1);
  v.insertAt(2, 4);
  v.insertAt(2, 3);  // moves 4 up
  EXPECT_EQ(items(v), (std::vector<int>{1, 2, 3, 4}));
  EXPECT_EQ(boundsText([&] { v.insertAt(5, 9); }), indexErr(4, 4));  // index tested is i - 1
  EXPECT_EQ(v.removeAt(1), 2);
  EXPECT_EQ(items(v), (std::vector<int>{1, 3, 4}));
  EXPECT_EQ(*v.uncheckedAt(3), 0);
  struct Case {
    std::function<void()> f;
    std::string text;
  };
  const Case cases[] = {
      {[&] { v.at(3); }, indexErr(3, 3)},
      {[&] { v.at(5); }, indexErr(5, 3)},
      {[&] { v.removeAt(3); }, indexErr(3, 3)},
      {[&] { v[7] = 1; }, indexErr(7, 3)},
      {[&] { static_cast<const RWTValOrderedVector<int>&>(v).at(3); }, indexErr(3, 3)},
  };
  for (const Case& c : cases) EXPECT_EQ(boundsText(c.f), c.text);
  EXPECT_EQ(items(v), (std::vector<int>{1, 3, 4}));  // unchanged by the failed calls
  RWTValOrderedVector<int> empty;
  EXPECT_EQ(boundsText([&] { empty.at(0); }), indexErr(0, 0));
}

TEST(RWTValOrderedVector, SearchesAndRemovals) {
  RWTValOrderedVector<int> v;
  for (int x : {5, 1, 5, 2}) v.append(x);
  EXPECT_EQ(v.indexOf(5), 0u);
  EXPECT_EQ(v.indexOf(7), RW_NPOS);
  EXPECT_EQ(v.countOf(5), 2u);
  EXPECT_EQ(v.removeFirst(7), 0);
  EXPECT_EQ(items(v), (std::vector<int>{5, 1, 5, 2}));
  EXPECT_EQ(v.removeAll(5), 2u);
  EXPECT_EQ(items(v), (std::vector<int>{1, 2}));
  EXPECT_EQ(*v.uncheckedAt(2), 0);
  EXPECT_EQ(*v.uncheckedAt(3), 0);
  EXPECT_EQ(v.removeFirst(1), 1);
  EXPECT_EQ(items(v), (std::vector<int>{2}));
}

TEST(RWTValOrderedVector, StringsCopyAndAssign) {
  RWTValOrderedVector<RWCString> v;
  v.append("a");
  v.append("b");
  RWTValOrderedVector<RWCString> w(v);
  w.at(0) = "changed";
  EXPECT_TRUE(v.at(0) == "a");
  EXPECT_EQ(w.capacity(), v.capacity());
  RWTValOrderedVector<RWCString> x;
  x = w;
  EXPECT_EQ(x.count(), 2u);
  EXPECT_TRUE(x.at(0) == "changed");
  EXPECT_EQ(x.removeFirst("b"), 1);
  EXPECT_TRUE(x.removeAt(0) == "changed");
  EXPECT_TRUE(x.uncheckedAt(0)->isEmpty());
}

// Inserting or appending a value that lives in the same vector, at the moment it must grow or
// shift, must use the value as it was.
TEST(RWTValOrderedVector, ValueFromTheSameVector) {
  struct Case {
    const char* name;
    std::function<void(RWTValOrderedVector<RWCString>&)> edit;
    std::size_t index;
    const char* expected;
  };
  const Case cases[] = {
      {"append own element when full", [](auto& v) { v.append(v.at(3)); }, 64, "s3"},
      {"insert own element at front when full", [](auto& v) { v.insertAt(0, v.at(63)); }, 0, "s63"},
      {"insert own element that will shift", [](auto& v) { v.insertAt(1, v.at(5)); }, 1, "s5"},
      {"insert own last element mid", [](auto& v) { v.insertAt(10, v.at(63)); }, 10, "s63"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RWTValOrderedVector<RWCString> v(64);
    for (int i = 0; i < 64; ++i) v.append(RWCString(("s" + std::to_string(i)).c_str()));
    c.edit(v);
    EXPECT_EQ(v.count(), 65u);
    EXPECT_TRUE(v.at(c.index) == c.expected) << v.at(c.index).data();
  }
  RWTValOrderedVector<int> ints(64);
  for (int i = 0; i < 64; ++i) ints.append(i * 10);
  ints.insertAt(0, ints.at(63));
  EXPECT_EQ(ints.at(0), 630);
  EXPECT_EQ(ints.at(64), 630);
  RWTValOrderedVector<int> dup;
  for (int x : {7, 1, 7, 7}) dup.append(x);
  EXPECT_EQ(dup.removeAll(dup.at(0)), 3u);  // the value is not overwritten by the compaction
  EXPECT_EQ(items(dup), (std::vector<int>{1}));
}

// An element whose copy fails on demand: the reshape must leave the old array in place.
struct Fragile {
  static int assignmentsLeft;
  int value = 0;
  Fragile() = default;
  Fragile(const Fragile& o) : value(o.value) {}
  Fragile& operator=(const Fragile& o) {
    if (assignmentsLeft >= 0 && assignmentsLeft-- == 0) throw RWxmsg("copy failed");
    value = o.value;
    return *this;
  }
  bool operator==(const Fragile& o) const { return value == o.value; }
};
int Fragile::assignmentsLeft = -1;

TEST(RWTValOrderedVector, FailedCopyDuringGrowthKeepsTheOldArray) {
  RWTValOrderedVector<Fragile> v(2);
  Fragile f;
  f.value = 1;
  v.append(f);
  f.value = 2;
  v.append(f);
  Fragile::assignmentsLeft = 1;  // the second copy into the new array fails
  f.value = 3;
  EXPECT_THROW(v.append(f), RWxmsg);
  Fragile::assignmentsLeft = -1;
  EXPECT_EQ(v.count(), 2u);
  EXPECT_EQ(v.capacity(), 2u);
  EXPECT_EQ(v.at(0).value, 1);
  EXPECT_EQ(v.at(1).value, 2);
}

// Arrays of many slots live in page blocks that a reshape remaps: the slots must survive every
// crossing between the two kinds of storage, in both directions, and copies of either kind.
TEST(RWPtrVector, SlotsSurviveGrowingPastAndShrinkingBelowTheLargeArraySize) {
  static char items[40000];
  RWPtrVector v(0);
  std::size_t n = 0;
  while (n < 40000) {  // the ordered vectors' growth: 64 slots at a time
    v.reshape(n + 64);
    for (std::size_t k = n; k < n + 64; ++k) v(k) = &items[k];
    n += 64;
  }
  for (std::size_t k = 0; k < n; ++k) ASSERT_EQ(v(k), &items[k]) << k;
  RWPtrVector copy(v);
  RWPtrVector small(2, nullptr);
  small = v;
  v.reshape(20000);  // still large
  v.reshape(100);    // small again
  for (std::size_t k = 0; k < 100; ++k) ASSERT_EQ(v(k), &items[k]) << k;
  v = copy;          // small takes a large array's slots
  for (std::size_t k = 0; k < n; k += 7) ASSERT_EQ(v(k), &items[k]) << k;
  for (std::size_t k = 0; k < n; k += 7) ASSERT_EQ(small(k), &items[k]) << k;
  copy.resize(50000);
  EXPECT_EQ(copy(n - 1), &items[n - 1]);
  for (std::size_t k = n; k < 50000; ++k) ASSERT_EQ(copy(k), nullptr) << k;
  copy = RWPtrVector(3, &items[0]);  // large takes a small array's slots
  EXPECT_EQ(copy.length(), 3u);
  EXPECT_EQ(copy(2), &items[0]);
}

TEST(RWPtrVector, SlotsAreWholePointersAndIndexesChecked) {
  int a = 1, b = 2;
  RWPtrVector v(3, &a);
  EXPECT_EQ(v.length(), 3u);
  for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(v(i), &a);
  v.at(2) = &b;  // a full 8-byte pointer survives
  EXPECT_EQ(v.at(2), &b);
  EXPECT_EQ(boundsText([&] { v.at(3); }), indexErr(3, 3));
  EXPECT_EQ(boundsText([&] { v.at(0xFFFFFFFFu); }), kNpos);
  EXPECT_EQ(boundsText([&] { v.at(RW_NPOS); }), kNpos);
  v.resize(5);
  EXPECT_EQ(v.length(), 5u);
  EXPECT_EQ(v(2), &b);
  EXPECT_EQ(v(3), nullptr);
  EXPECT_EQ(v(4), nullptr);
  RWPtrVector copy(v);
  copy.fill(&b);
  EXPECT_EQ(v(0), &a);
  v = copy;
  EXPECT_EQ(v(0), &b);
  const RWPtrVector& same = v;
  v = same;  // self-assignment
  v.reshape(0);
  EXPECT_EQ(v.length(), 0u);
  EXPECT_EQ(v.data(), nullptr);
  copy = v;
  EXPECT_EQ(copy.length(), 0u);
}

struct Named {
  RWCString key;
  int id;
  // Equal and ordered by key without regard to case.
  bool operator==(const Named& o) const { return key.compare(o.key, RWCString::ignoreCase) == 0; }
  bool operator<(const Named& o) const { return key.compare(o.key, RWCString::ignoreCase) < 0; }
};

TEST(RWTPtrOrderedVector, PointersOwnedByTheCaller) {
  Named a{"a", 1}, b{"B", 2}, a2{"A", 3};
  RWTPtrOrderedVector<Named> v(64);
  EXPECT_EQ(*v.insert(&a), &a);
  v.insert(&b);
  EXPECT_EQ(*v.insertAt(1, &a2), &a2);
  EXPECT_EQ(v.indexOf(&b), 2u);
  Named probe{"A", 0};
  EXPECT_EQ(v.indexOf(&probe), 0u);  // by the pointees' equality
  EXPECT_EQ(v.countOf(&probe), 2u);
  EXPECT_EQ(v.removeFirst(&probe), &a);
  EXPECT_EQ(v.removeFirst(&probe), &a2);
  EXPECT_EQ(v.removeFirst(&probe), nullptr);
  EXPECT_EQ(v.count(), 1u);
  EXPECT_EQ(boundsText([&] { v.at(1); }), indexErr(1, 1));
  EXPECT_EQ(boundsText([&] { v.insertAt(3, &a); }), indexErr(2, 1));
  EXPECT_EQ(boundsText([&] { v.removeAt(4); }), indexErr(4, 1));
  for (int i = 0; i < 64; ++i) v.insert(&a);
  EXPECT_EQ(v.capacity(), 128u);
  EXPECT_EQ(v.removeAll(&probe), 64u);
  EXPECT_EQ(v.count(), 1u);
  EXPECT_EQ(v.at(0), &b);
  v.clear();
  EXPECT_EQ(v.capacity(), 64u);
}

TEST(RWTPtrOrderedVector, DeleteAllDeletesThePointees) {
  RWTPtrOrderedVector<RWCString> v;
  v.insert(new RWCString("one"));
  v.insert(nullptr);
  v.insert(new RWCString("two"));
  v.deleteAll();  // leak-checked under the sanitizer build
  EXPECT_EQ(v.count(), 0u);
}

TEST(RWTPtrSortedVector, EqualKeysKeepInsertionOrder) {
  Named b{"b", 1}, A{"A", 2}, a{"a", 3};
  RWTPtrSortedVector<Named> v(64);
  v.insert(&b);
  v.insert(&A);
  v.insert(&a);
  ASSERT_EQ(v.count(), 3u);
  EXPECT_EQ(v.at(0), &A);
  EXPECT_EQ(v.at(1), &a);
  EXPECT_EQ(v.at(2), &b);
  EXPECT_EQ(v.indexOf(&A), 0u);
  EXPECT_EQ(v.indexOf(&a), 0u);
  EXPECT_EQ(v.countOf(&a), 2u);
  Named z{"z", 0};
  EXPECT_EQ(v.indexOf(&z), RW_NPOS);
  EXPECT_EQ(v.countOf(&z), 0u);
  EXPECT_EQ(v.removeFirst(&a), &A);  // the first equal entry of the sorted order
  EXPECT_EQ(v.removeAll(&z), 0u);
  EXPECT_EQ(v.removeAll(&b), 1u);
  EXPECT_EQ(v.count(), 1u);
  EXPECT_EQ(v.at(0), &a);
}

// The sorted vector's order equals a stable sort of the insertion sequence.
TEST(RWTPtrSortedVector, OrderMatchesStableSort) {
  std::mt19937 rng(7);
  const char* keys[] = {"a", "A", "b", "B", "ab", "Ab", "aB", "c", "", "ba", "BA", "abc"};
  for (int round = 0; round < 20; ++round) {
    std::vector<Named> pool;
    const int n = 1 + static_cast<int>(rng() % 150);
    for (int i = 0; i < n; ++i) pool.push_back(Named{keys[rng() % 12], i});
    RWTPtrSortedVector<Named> v(64);
    for (Named& x : pool) v.insert(&x);
    std::vector<Named*> expected;
    for (Named& x : pool) expected.push_back(&x);
    std::stable_sort(expected.begin(), expected.end(),
                     [](const Named* l, const Named* r) { return *l < *r; });
    ASSERT_EQ(v.count(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(v.at(i), expected[i]) << i;
    for (const char* k : keys) {
      Named probe{k, -1};
      const auto first = std::find_if(expected.begin(), expected.end(),
                                      [&](const Named* e) { return *e == probe; });
      const std::size_t want =
          first == expected.end() ? RW_NPOS : static_cast<std::size_t>(first - expected.begin());
      EXPECT_EQ(v.indexOf(&probe), want) << k;
      EXPECT_EQ(v.countOf(&probe),
                static_cast<std::size_t>(std::count_if(expected.begin(), expected.end(),
                                                       [&](const Named* e) { return *e == probe; })));
    }
  }
}

TEST(RWTPtrSortedVector, IntegersThroughTheBaseInterface) {
  std::vector<int> values = {5, 3, 9, 3, 1, 9, 9, 0};
  RWTPtrSortedVector<int> v;
  RWTPtrOrderedVector<int>& base = v;
  for (int& x : values) base.insert(&x);  // the sorted insert through the base
  std::vector<int> got;
  for (std::size_t i = 0; i < v.count(); ++i) got.push_back(*v.at(i));
  EXPECT_EQ(got, (std::vector<int>{0, 1, 3, 3, 5, 9, 9, 9}));
  int nine = 9;
  EXPECT_EQ(base.indexOf(&nine), 5u);
  EXPECT_EQ(base.countOf(&nine), 3u);
  EXPECT_EQ(base.removeAll(&nine), 3u);
  EXPECT_EQ(v.count(), 5u);
  EXPECT_EQ(*v.at(4), 5);
}

}  // namespace
