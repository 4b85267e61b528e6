#include "platform/PageMemory.h"

#include <cstdint>
#include <cstring>

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(PageMemoryTest, BlocksAreWholeZeroFilledPagesThatKeepTheirContentsWhenResized) {
  const std::size_t page = pageBlockBytes(1);
  ASSERT_GT(page, 0u);
  EXPECT_EQ(pageBlockBytes(0), page);
  EXPECT_EQ(pageBlockBytes(page), page);
  EXPECT_EQ(pageBlockBytes(page + 1), 2 * page);
  EXPECT_EQ(pageBlockBytes(SIZE_MAX), 0u);   // cannot be rounded up

  auto* p = static_cast<unsigned char*>(allocatePages(3 * page));
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(p) % page, 0u);
  for (std::size_t i = 0; i < 3 * page; ++i) ASSERT_EQ(p[i], 0) << i;
  for (std::size_t i = 0; i < 3 * page; ++i) p[i] = static_cast<unsigned char>(i * 7);

  // Within the pages it holds a block stays where it is.
  EXPECT_EQ(resizePages(p, 3 * page, 3 * page - 10), p);
  // Growing keeps every byte and zero-fills the new pages.
  auto* q = static_cast<unsigned char*>(resizePages(p, 3 * page, 300 * page));
  ASSERT_NE(q, nullptr);
  for (std::size_t i = 0; i < 3 * page; ++i) ASSERT_EQ(q[i], static_cast<unsigned char>(i * 7)) << i;
  for (std::size_t i = 3 * page; i < 300 * page; i += 97) ASSERT_EQ(q[i], 0) << i;
  // Shrinking keeps what still fits.
  auto* r = static_cast<unsigned char*>(resizePages(q, 300 * page, page + 5));
  ASSERT_NE(r, nullptr);
  for (std::size_t i = 0; i < page + 5; ++i) ASSERT_EQ(r[i], static_cast<unsigned char>(i * 7)) << i;
  freePages(r, page + 5);
  freePages(nullptr, 10);   // nothing to give back

  // A size the system cannot give leaves the block as it was.
  auto* s = static_cast<unsigned char*>(allocatePages(page));
  ASSERT_NE(s, nullptr);
  s[0] = 42;
  EXPECT_EQ(resizePages(s, page, SIZE_MAX), nullptr);
  EXPECT_EQ(s[0], 42);
  freePages(s, page);
  EXPECT_EQ(allocatePages(SIZE_MAX - page), nullptr);
}

}  // namespace
}  // namespace platform
