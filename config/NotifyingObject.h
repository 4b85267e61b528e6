#pragma once
// NotifyingObject: a referencable object that sends events to its registered receivers in
// registration order. It owns its ReceiverEntry records, never the receivers; receivers may add,
// remove or destroy themselves during a delivery.

#include <cstddef>
#include <cstdint>

#include "config/NotificationEvent.h"
#include "config/ReferencableObject.h"
#include "config/ReferingObject.h"
#include "foundation/RWTPair.h"
#include "foundation/RWTPtrDoubleLinkList.h"
#include "foundation/RWTPtrDoubleLinkListIterator.h"
#include "foundation/RWTValOrderedVector.h"


// One registration. receiver is set to null when its handler threw: the entry then stays in the
// list and receives nothing.
struct ReceiverEntry {
  ReferingObject* receiver = nullptr;
  void* userData = nullptr;
  ReferingObject* owner = nullptr;  // the receiver as registered, kept for its back-link
  bool removed = false;             // taken off during a delivery; freed when it ends
};

class NotifyingObject : public ReferencableObject {
 public:
  using Registration = RWTPair<ReferingObject*, void*>;
  // Returns non-zero for a matching entry.
  using EntryPredicate = int (*)(const ReceiverEntry* entry, void* data);

  NotifyingObject() = default;
  // A copy is a new object without receivers.
  NotifyingObject(const NotifyingObject& other) : ReferencableObject(other) {}
  NotifyingObject& operator=(const NotifyingObject&) { return *this; }
  // Frees every entry without notifying.
  ~NotifyingObject() override;

  // With the count above 0: false. Otherwise every receiver is taken off the list and sent one
  // NotificationEventDying (whatever the notification counter); then, when the count is exactly
  // 0, the object deletes itself and the result is true (a negative count deletes nothing).
  bool releaseIfUnreferenced() override;

  // Appends an entry unless one with the same receiver and user data exists. A null receiver is
  // ignored.
  void addReceiver(ReferingObject* receiver, void* userData = nullptr);
  // Removes the first entry with both equal.
  void removeReceiver(ReferingObject* receiver, void* userData = nullptr);
  // Removes every entry of that receiver, whatever its user data.
  void removeAllOf(ReferingObject* receiver);

  // Delivers the event to every entry in list order, while the process-wide counter is above 0
  // (it starts at 1). An entry removed during the round is not called; one added during it hears
  // the next event. An entry whose handler throws is disabled and delivery goes on.
  void notify(const NotificationEvent& event);

  // The (receiver, user data) pairs in list order.
  RWTValOrderedVector<Registration> registrations() const;
  // The number of entries for which predicate(entry, data) is non-zero.
  std::size_t countMatching(EntryPredicate predicate, void* data) const;
  std::size_t receiverCount() const;

  // The process-wide counter; each returns the new value.
  static std::int32_t enableNotifications();
  static std::int32_t disableNotifications();
  static std::int32_t notificationCounter();

 private:
  friend class ReferingObject;
  void deliver(ReceiverEntry* entry, const NotificationEvent& event);
  void dropEntry(ReceiverEntry* entry);   // off the list (or marked, during a delivery) and freed
  void purgeRemoved();
  void detachReceiver(ReferingObject* owner);  // the receiver is being destroyed

  RWTPtrDoubleLinkList<ReceiverEntry> receivers_;
  int deliveryDepth_ = 0;   // nested notify calls in progress
  bool hasRemoved_ = false; // entries marked removed wait for the outermost notify to end
};
