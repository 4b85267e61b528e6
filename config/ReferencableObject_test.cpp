#include "config/ReferencableObject.h"

#include <gtest/gtest.h>

namespace {

class Tracked : public ReferencableObject {
 public:
  explicit Tracked(bool* gone) : gone_(gone) {}
  ~Tracked() override { *gone_ = true; }

 private:
  bool* gone_;
};

TEST(ReferencableObject, DeletesItselfOnlyWhenUnreferenced) {
  bool gone = false;
  auto* object = new Tracked(&gone);
  object->addReference();
  EXPECT_EQ(object->referenceCount(), 1);
  EXPECT_FALSE(object->releaseIfUnreferenced());
  object->removeReference();
  EXPECT_FALSE(gone);  // removeReference never deletes
  EXPECT_TRUE(object->releaseIfUnreferenced());
  EXPECT_TRUE(gone);
}

}  // namespace
