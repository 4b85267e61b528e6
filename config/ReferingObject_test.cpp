#include "config/ReferingObject.h"

#include <gtest/gtest.h>

#include "config/NotifyingObject.h"

namespace {

class Counter : public ReferingObject {
 public:
  void receiveNotification(const NotificationEvent&, void*) override { ++heard; }
  int heard = 0;
};

TEST(ReferingObject, DestroyedReceiverLeavesEverySource) {
  NotifyingObject first, second;
  int data = 0;
  {
    Counter c;
    first.addReceiver(&c);
    first.addReceiver(&c, &data);
    second.addReceiver(&c);
    EXPECT_EQ(first.receiverCount(), 2u);
  }
  EXPECT_EQ(first.receiverCount(), 0u);
  EXPECT_EQ(second.receiverCount(), 0u);
  first.notify(NotificationEvent(&first));  // nobody left to call (ASan watches)
}

TEST(ReferingObject, SourceDestroyedFirstIsForgotten) {
  Counter c;
  {
    NotifyingObject source;
    source.addReceiver(&c);
  }
  // c's destructor must not touch the dead source; a copy starts with no registrations.
  Counter copy(c);
  NotifyingObject other;
  other.addReceiver(&copy);
  other.notify(NotificationEvent(&other));
  EXPECT_EQ(copy.heard, 1);
  EXPECT_EQ(c.heard, 0);
}

}  // namespace
