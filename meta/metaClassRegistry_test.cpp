#include "meta/metaClassRegistry.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

// Distinct addresses standing for prototypes.
int prototypes[16];

struct registryT {
  metaClassRegistryC* registry = nullptr;
  ~registryT() { metaClassRegistryC::destroy(registry); }
};

TEST(metaClassRegistry, DeepestClassWinsWhateverTheOrder) {
  for (bool deepFirst : {true, false}) {
    registryT r;
    if (deepFirst) {
      EXPECT_EQ(metaClassRegistryC::insert(r.registry, "LINE", &prototypes[3], 3),
                metaClassRegistryC::inserted);
      EXPECT_EQ(metaClassRegistryC::insert(r.registry, "LINE", &prototypes[2], 2),
                metaClassRegistryC::ignored);
    } else {
      metaClassRegistryC::insert(r.registry, "LINE", &prototypes[2], 2);
      EXPECT_EQ(metaClassRegistryC::insert(r.registry, "LINE", &prototypes[3], 3),
                metaClassRegistryC::replaced);
    }
    EXPECT_EQ(metaClassRegistryC::find(r.registry, "LINE"), &prototypes[3]);
    EXPECT_EQ(r.registry->depthOf("LINE"), 3);
    EXPECT_EQ(r.registry->count(), 1u);
  }
}

TEST(metaClassRegistry, EqualDepthKeepsTheFirstAndIsCountedAsIgnored) {
  registryT r;
  metaClassRegistryC::insert(r.registry, "ARC", &prototypes[0], 2);
  const auto ignoredBefore = metaClassRegistryC::ignoredCount();
  EXPECT_EQ(metaClassRegistryC::insert(r.registry, "ARC", &prototypes[1], 2),
            metaClassRegistryC::ignored);
  EXPECT_EQ(metaClassRegistryC::ignoredCount(), ignoredBefore + 1);
  EXPECT_EQ(metaClassRegistryC::find(r.registry, "ARC"), &prototypes[0]);
}

// Both lookups (scan up to five entries, binary search above) find every key in any insertion
// order and nothing else; the entries stay sorted.
TEST(metaClassRegistry, FindsEveryKeyByScanAndByBinarySearch) {
  const std::vector<std::string> keys = {"LINE", "ARC", "SPOINT", "CIRCLE", "ELLIPSEARC",
                                         "ICRV2D", "ELLIPSE", "CENTER"};
  for (std::size_t n : {1u, 5u, 6u, 8u}) {
    registryT r;
    for (std::size_t i = 0; i < n; ++i) {
      metaClassRegistryC::insert(r.registry, keys[i].c_str(), &prototypes[i], 2);
    }
    ASSERT_EQ(r.registry->count(), n);
    for (std::size_t i = 0; i + 1 < n; ++i) {
      EXPECT_LT(std::string(r.registry->entry(i).key.text()), r.registry->entry(i + 1).key.text());
    }
    for (std::size_t i = 0; i < keys.size(); ++i) {
      void* expected = i < n ? &prototypes[i] : nullptr;
      EXPECT_EQ(metaClassRegistryC::find(r.registry, keys[i].c_str()), expected)
          << keys[i] << " with " << n << " entries";
    }
    for (const char* absent : {"A", "LINEX", "LIN", "ZZZ", "CIRCLF"}) {
      EXPECT_EQ(metaClassRegistryC::find(r.registry, absent), nullptr) << absent;
    }
  }
}

TEST(metaClassRegistry, NullAndEmptyAnswerNull) {
  registryT r;
  EXPECT_EQ(metaClassRegistryC::find(r.registry, "LINE"), nullptr);  // no registry yet
  EXPECT_EQ(metaClassRegistryC::insert(r.registry, "", &prototypes[0], 2),
            metaClassRegistryC::ignored);
  EXPECT_EQ(metaClassRegistryC::insert(r.registry, nullptr, &prototypes[0], 2),
            metaClassRegistryC::ignored);
  metaClassRegistryC::insert(r.registry, "LINE", &prototypes[0], 2);
  EXPECT_EQ(metaClassRegistryC::find(r.registry, ""), nullptr);
  EXPECT_EQ(metaClassRegistryC::find(r.registry, nullptr), nullptr);
  metaClassRegistryC::destroy(r.registry);
  EXPECT_EQ(r.registry, nullptr);
  EXPECT_EQ(metaClassRegistryC::find(r.registry, "LINE"), nullptr);
}

}  // namespace
