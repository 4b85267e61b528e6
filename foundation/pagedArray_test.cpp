#include "foundation/pagedArray.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "foundation/RWxmsg.h"
#include "foundation/memManCheckLeak.h"
#include "foundation/str.h"

namespace {

struct Record32 {
  double a, b, c;
  std::int64_t id;
};
static_assert(sizeof(Record32) == 32);

TEST(PagedArrayTest, NinthElementOpensSecondPage) {
  pagedArrayC<std::int32_t> a;
  for (int i = 0; i < 8; ++i) a.append(i);
  EXPECT_EQ(a.pageCount(), 1u);
  a.append(8);
  EXPECT_EQ(a.pageCount(), 2u);
  EXPECT_EQ(a.size(), 9u);
  // Element 8 is slot 0 of page 1: not contiguous with element 7.
  EXPECT_EQ(a.element(7), a.element(0) + 7);
  EXPECT_EQ(a[8], 8);
  EXPECT_EQ(a.last(), a.element(8));
}

TEST(PagedArrayTest, ResizeAddsOneMorePageThanItFills) {
  struct Case {
    std::size_t n, pages;
  } cases[] = {{0, 0}, {1, 1}, {7, 1}, {8, 2}, {15, 2}, {16, 3}, {100, 13}};
  for (const Case& c : cases) {
    pagedArrayC<double> a;
    a.resize(c.n);
    EXPECT_EQ(a.size(), c.n);
    EXPECT_EQ(a.pageCount(), c.pages) << c.n;
    if (c.n != 0) { EXPECT_EQ(*a.last(), 0.0) << "new slots are value-initialised"; }
  }
}

TEST(PagedArrayTest, AddressesStayValidWhileGrowingAndResetReusesSlots) {
  pagedArrayC<Record32> a;
  std::vector<Record32*> seen;
  for (int i = 0; i < 2000; ++i) {
    Record32* slot = a.appendSlot();
    *slot = {1.0 * i, 2.0 * i, 3.0 * i, i};
    seen.push_back(slot);
  }
  for (int i = 0; i < 2000; ++i) {
    ASSERT_EQ(a.element(i), seen[i]);
    ASSERT_EQ(seen[i]->id, i);
  }
  const std::size_t pages = a.pageCount();
  a.reset();
  EXPECT_EQ(a.size(), 0u);
  EXPECT_EQ(a.last(), nullptr);
  EXPECT_EQ(a.appendSlot(), seen[0]);
  EXPECT_EQ(a.pageCount(), pages);
  a.clear();
  EXPECT_EQ(a.pageCount(), 0u);
  EXPECT_EQ(a.size(), 0u);
}

TEST(PagedArrayTest, RemoveAtShiftsFollowingElementsAcrossPages) {
  pagedArrayC<Record32> a;
  for (int i = 0; i < 12; ++i) a.append({0, 0, 0, i});
  a.removeAt(3);
  a.removeAt(100);  // out of range: nothing
  ASSERT_EQ(a.size(), 11u);
  std::vector<std::int64_t> ids;
  for (std::size_t i = 0; i < a.size(); ++i) ids.push_back(a[i].id);
  EXPECT_EQ(ids, (std::vector<std::int64_t>{0, 1, 2, 4, 5, 6, 7, 8, 9, 10, 11}));
}

TEST(PagedArrayTest, CopiesAssignAndAppendAllIncludingItself) {
  pagedArrayC<int> a;
  for (int i = 0; i < 10; ++i) a.append(i);
  pagedArrayC<int> b(a);
  EXPECT_EQ(b.shift(), 3);
  a.assign(a);
  ASSERT_EQ(a.size(), 10u);
  EXPECT_EQ(a.appendAll(a), 10u);
  ASSERT_EQ(a.size(), 20u);
  for (int i = 0; i < 20; ++i) EXPECT_EQ(a[i], i % 10);
  b = a;
  EXPECT_EQ(b.size(), 20u);
  EXPECT_EQ(b[19], 9);
  pagedArrayC<int> moved(std::move(b));
  EXPECT_EQ(moved.size(), 20u);
  EXPECT_EQ(b.size(), 0u);
}

TEST(PagedArrayTest, ClassElementsAreConstructedCopiedAndDestroyed) {
  memManCheckLeakC check;
  {
    pagedArrayC<str> keys;
    for (int i = 0; i < 20; ++i) keys.append(str(i));
    pagedArrayC<str> copy(keys);
    keys.removeAt(0);
    EXPECT_STREQ(keys[0].text(), "1");
    EXPECT_STREQ(copy[0].text(), "0");
    EXPECT_STREQ(copy.last()->text(), "19");
    pagedArrayC<pagedArrayC<str>> pools;  // pools of pools
    pools.append(copy);
    pools.append(keys);
    EXPECT_STREQ(pools[1][18].text(), "19");
  }
  EXPECT_EQ(check.difference(), 0);
}

TEST(PagedArrayTest, ImpossibleSizeThrowsBeforeAnythingChanges) {
  pagedArrayC<Record32> a;
  a.append({1, 2, 3, 4});
  EXPECT_THROW(a.resize(SIZE_MAX), RWxalloc);
  EXPECT_THROW(a.resize(SIZE_MAX / 8), RWxalloc);
  EXPECT_EQ(a.size(), 1u);
  EXPECT_EQ(a.pageCount(), 1u);
  EXPECT_EQ(a[0].id, 4);
}

TEST(PagedArrayTest, OddShiftsAreClamped) {
  pagedArrayC<char> small(-4);
  EXPECT_EQ(small.pageSize(), 1u);
  small.append('x');
  small.append('y');
  EXPECT_EQ(small.pageCount(), 2u);
  pagedArrayC<char> big(99);
  EXPECT_EQ(big.shift(), pagedArrayC<char>::maxShift);
}

TEST(PagedArrayTest, RandomOperationsMatchAVector) {
  std::mt19937 rng(7);
  pagedArrayC<std::int64_t> a;
  std::vector<std::int64_t> model;
  for (int step = 0; step < 5000; ++step) {
    const unsigned op = rng() % 20;
    if (op < 14) {
      const std::int64_t v = static_cast<std::int64_t>(rng());
      a.append(v);
      model.push_back(v);
    } else if (op < 18 && !model.empty()) {
      const std::size_t i = rng() % model.size();
      a.removeAt(i);
      model.erase(model.begin() + static_cast<std::ptrdiff_t>(i));
    } else if (op == 18) {
      const std::size_t n = rng() % (model.size() + 1);
      a.resize(n);
      model.resize(n);
    } else {
      a.reset();
      model.clear();
    }
    ASSERT_EQ(a.size(), model.size());
  }
  for (std::size_t i = 0; i < model.size(); ++i) ASSERT_EQ(a[i], model[i]);
}

}  // namespace
