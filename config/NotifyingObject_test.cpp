#include "config/NotifyingObject.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// Records what it hears in a shared log and runs an optional action from its handler.
class Recorder : public ReferingObject {
 public:
  Recorder(std::string name, std::vector<std::string>* log) : name_(std::move(name)), log_(log) {}
  void receiveNotification(const NotificationEvent& event, void* userData) override {
    std::string what = dynamic_cast<const NotificationEventDying*>(&event) ? "dying" : "event";
    log_->push_back(name_ + ":" + what + (userData ? ":" + *static_cast<std::string*>(userData) : ""));
    if (action) action();
  }
  std::function<void()> action;

 private:
  std::string name_;
  std::vector<std::string>* log_;
};

class Source : public NotifyingObject {};

TEST(NotifyingObject, RegistersPairsOnce) {
  std::vector<std::string> log;
  Source source;
  Recorder a("a", &log);
  std::string one = "1", two = "2";
  source.addReceiver(&a, &one);
  source.addReceiver(&a, &one);
  source.addReceiver(&a, &two);
  EXPECT_EQ(source.receiverCount(), 2u);
  RWTValOrderedVector<NotifyingObject::Registration> regs = source.registrations();
  ASSERT_EQ(regs.count(), 2u);
  EXPECT_EQ(regs[1].second, &two);
  source.notify(NotificationEvent(&source));
  EXPECT_EQ(log, (std::vector<std::string>{"a:event:1", "a:event:2"}));
  source.removeReceiver(&a, &one);
  EXPECT_EQ(source.receiverCount(), 1u);
  source.addReceiver(&a, &one);
  source.removeAllOf(&a);
  EXPECT_EQ(source.receiverCount(), 0u);
  EXPECT_EQ(source.countMatching([](const ReceiverEntry*, void*) { return 1; }, nullptr), 0u);
}

TEST(NotifyingObject, ThrowingReceiverIsCutOffAndOthersStillHear) {
  std::vector<std::string> log;
  Source source;
  Recorder a("a", &log), b("b", &log);
  a.action = [] { throw std::runtime_error("boom"); };
  source.addReceiver(&a);
  source.addReceiver(&b);
  source.notify(NotificationEvent(&source));
  source.notify(NotificationEvent(&source));
  EXPECT_EQ(log, (std::vector<std::string>{"a:event", "b:event", "b:event"}));
  EXPECT_EQ(source.receiverCount(), 2u);  // the cut-off entry stays
}

TEST(NotifyingObject, CounterGatesNotifyButNotTheDyingEvent) {
  std::vector<std::string> log;
  auto* source = new Source;
  Recorder a("a", &log);
  source->addReceiver(&a);
  EXPECT_EQ(NotifyingObject::disableNotifications(), 0);
  source->notify(NotificationEvent(source));
  EXPECT_TRUE(log.empty());
  EXPECT_TRUE(source->releaseIfUnreferenced());
  EXPECT_EQ(NotifyingObject::enableNotifications(), 1);
  EXPECT_EQ(log, (std::vector<std::string>{"a:dying"}));
}

TEST(NotifyingObject, ReleaseRespectsTheCount) {
  std::vector<std::string> log;
  auto* source = new Source;
  Recorder a("a", &log);
  source->addReceiver(&a);
  source->addReference();
  EXPECT_FALSE(source->releaseIfUnreferenced());
  EXPECT_EQ(source->receiverCount(), 1u);
  EXPECT_TRUE(log.empty());
  source->removeReference();
  source->removeReference();  // unbalanced: -1
  EXPECT_FALSE(source->releaseIfUnreferenced());  // the event goes out, nothing is deleted
  EXPECT_EQ(log, (std::vector<std::string>{"a:dying"}));
  EXPECT_EQ(source->receiverCount(), 0u);
  source->addReference();
  EXPECT_TRUE(source->releaseIfUnreferenced());
}

TEST(NotifyingObject, ReceiversMayChangeTheListDuringDelivery) {
  std::vector<std::string> log;
  Source source;
  Recorder a("a", &log), b("b", &log), c("c", &log), late("late", &log);
  source.addReceiver(&a);
  source.addReceiver(&b);
  source.addReceiver(&c);
  // a removes itself and b; c adds a newcomer, who hears only the next event.
  a.action = [&] {
    source.removeReceiver(&a);
    source.removeAllOf(&b);
  };
  c.action = [&] { source.addReceiver(&late); };
  source.notify(NotificationEvent(&source));
  EXPECT_EQ(log, (std::vector<std::string>{"a:event", "c:event"}));
  log.clear();
  c.action = nullptr;
  source.notify(NotificationEvent(&source));
  EXPECT_EQ(log, (std::vector<std::string>{"c:event", "late:event"}));
  EXPECT_EQ(source.receiverCount(), 2u);
}

TEST(NotifyingObject, ReceiverDestroyedDuringDeliveryIsNotCalledAgain) {
  std::vector<std::string> log;
  Source source;
  Recorder a("a", &log);
  auto* doomed = new Recorder("doomed", &log);
  Recorder after("after", &log);
  source.addReceiver(&a);
  source.addReceiver(doomed);
  source.addReceiver(&after);
  a.action = [&] { delete doomed; };
  source.notify(NotificationEvent(&source));
  EXPECT_EQ(log, (std::vector<std::string>{"a:event", "after:event"}));
  EXPECT_EQ(source.receiverCount(), 2u);
}

TEST(NotifyingObject, DyingEventLetsReceiversDestroyThemselves) {
  std::vector<std::string> log;
  auto* source = new Source;
  auto* selfDeleting = new Recorder("s", &log);
  Recorder other("o", &log);
  std::string tag = "t";
  source->addReceiver(selfDeleting);
  source->addReceiver(selfDeleting, &tag);
  source->addReceiver(&other);
  bool deleted = false;
  selfDeleting->action = [&] {
    if (!deleted) {
      deleted = true;
      delete selfDeleting;
    }
  };
  EXPECT_TRUE(source->releaseIfUnreferenced());
  EXPECT_EQ(log, (std::vector<std::string>{"s:dying", "o:dying"}));
}

}  // namespace
