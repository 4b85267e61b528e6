// Selection sets on their own: members stay once and in the order they were added, whatever the
// order of their handles, through additions and removals.

#include "host/SelectionSets.h"

#include <gtest/gtest.h>

#include <vector>

namespace kxhost {
namespace {

using Handles = std::vector<std::uint32_t>;

TEST(SelectionSetsTest, MembersKeepTheirOrderWhateverTheOrderOfTheirHandles) {
  SelectionSets sets;
  std::uint32_t mixed = sets.create();
  std::uint32_t rising = sets.create();
  for (std::uint32_t h : {5u, 7u, 3u, 7u, 5u, 9u}) sets.add(mixed, h);
  for (std::uint32_t h : {1u, 2u, 3u, 4u, 5u, 6u, 6u}) sets.add(rising, h);
  EXPECT_EQ(*sets.members(mixed), (Handles{5, 7, 3, 9}));
  EXPECT_EQ(*sets.members(rising), (Handles{1, 2, 3, 4, 5, 6}));

  sets.removeEverywhere(Handles{9, 7, 11, 2, 4});
  EXPECT_EQ(*sets.members(mixed), (Handles{5, 3}));
  EXPECT_EQ(*sets.members(rising), (Handles{1, 3, 5, 6}));

  for (std::uint32_t h : {7u, 3u, 5u}) sets.add(mixed, h);
  for (std::uint32_t h : {4u, 4u, 1u, 2u}) sets.add(rising, h);   // now out of order
  EXPECT_EQ(*sets.members(mixed), (Handles{5, 3, 7}));
  EXPECT_EQ(*sets.members(rising), (Handles{1, 3, 5, 6, 4, 2}));

  sets.removeEverywhere(5);
  sets.removeEverywhere(4);
  EXPECT_EQ(*sets.members(mixed), (Handles{3, 7}));
  EXPECT_EQ(*sets.members(rising), (Handles{1, 3, 6, 2}));
  sets.add(rising, 4);
  sets.add(rising, 6);
  EXPECT_EQ(*sets.members(rising), (Handles{1, 3, 6, 2, 4}));

  sets.removeEverywhere(Handles{1, 2, 3, 4, 6, 7});
  EXPECT_TRUE(sets.members(mixed)->empty());
  EXPECT_TRUE(sets.members(rising)->empty());
  sets.add(rising, 2);
  sets.add(rising, 2);
  EXPECT_EQ(*sets.members(rising), (Handles{2}));
}

}  // namespace
}  // namespace kxhost
