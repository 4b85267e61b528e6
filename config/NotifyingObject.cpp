#include "config/NotifyingObject.h"

#include "config/ReferingObject.h"

namespace {
// Events go out while this is above 0. The system is single-threaded.
std::int32_t gNotificationCounter = 1;
}  // namespace

std::int32_t NotifyingObject::enableNotifications() { return ++gNotificationCounter; }
std::int32_t NotifyingObject::disableNotifications() { return --gNotificationCounter; }
std::int32_t NotifyingObject::notificationCounter() { return gNotificationCounter; }

NotifyingObject::~NotifyingObject() {
  while (ReceiverEntry* entry = receivers_.takeFirst()) {
    if (entry->owner && !entry->removed) entry->owner->detachSource(this);
    delete entry;
  }
}

bool NotifyingObject::releaseIfUnreferenced() {
  if (referenceCount_ > 0) return false;
  if (!receivers_.isEmpty()) {
    NotificationEventDying event(this);
    // Each entry leaves the list before its receiver hears of the end, so the receiver may add,
    // remove or destroy itself in its handler.
    while (ReceiverEntry* entry = receivers_.takeFirst()) {
      if (!entry->removed) {
        if (entry->owner) entry->owner->detachSource(this);
        deliver(entry, event);
      }
      delete entry;
    }
  }
  hasRemoved_ = false;
  return ReferencableObject::releaseIfUnreferenced();
}

void NotifyingObject::addReceiver(ReferingObject* receiver, void* userData) {
  if (!receiver) return;
  RWTPtrDoubleLinkListIterator<ReceiverEntry> it(receivers_);
  while (ReceiverEntry* entry = it.next())
    if (!entry->removed && entry->receiver == receiver && entry->userData == userData) return;
  auto* entry = new ReceiverEntry;
  entry->receiver = receiver;
  entry->userData = userData;
  entry->owner = receiver;
  receivers_.append(entry);
  receiver->attachSource(this);
}

void NotifyingObject::removeReceiver(ReferingObject* receiver, void* userData) {
  RWTPtrDoubleLinkListIterator<ReceiverEntry> it(receivers_);
  while (ReceiverEntry* entry = it.next()) {
    if (!entry->removed && entry->receiver == receiver && entry->userData == userData) {
      dropEntry(entry);
      return;
    }
  }
}

void NotifyingObject::removeAllOf(ReferingObject* receiver) {
  RWTValOrderedVector<ReceiverEntry*> matches;
  RWTPtrDoubleLinkListIterator<ReceiverEntry> it(receivers_);
  while (ReceiverEntry* entry = it.next())
    if (!entry->removed && entry->receiver == receiver) matches.append(entry);
  for (std::size_t i = 0; i < matches.count(); ++i) dropEntry(matches[i]);
}

void NotifyingObject::detachReceiver(ReferingObject* owner) {
  RWTValOrderedVector<ReceiverEntry*> matches;
  RWTPtrDoubleLinkListIterator<ReceiverEntry> it(receivers_);
  while (ReceiverEntry* entry = it.next())
    if (!entry->removed && entry->owner == owner) matches.append(entry);
  for (std::size_t i = 0; i < matches.count(); ++i) dropEntry(matches[i]);
}

void NotifyingObject::dropEntry(ReceiverEntry* entry) {
  if (entry->owner) entry->owner->detachSource(this);
  entry->owner = nullptr;
  if (deliveryDepth_ > 0) {
    // A delivery walks a snapshot of the entries: keep the record until it ends.
    entry->removed = true;
    entry->receiver = nullptr;
    hasRemoved_ = true;
    return;
  }
  receivers_.remove(entry);
  delete entry;
}

void NotifyingObject::purgeRemoved() {
  RWTValOrderedVector<ReceiverEntry*> gone;
  RWTPtrDoubleLinkListIterator<ReceiverEntry> it(receivers_);
  while (ReceiverEntry* entry = it.next())
    if (entry->removed) gone.append(entry);
  for (std::size_t i = 0; i < gone.count(); ++i) {
    receivers_.remove(gone[i]);
    delete gone[i];
  }
  hasRemoved_ = false;
}

void NotifyingObject::deliver(ReceiverEntry* entry, const NotificationEvent& event) {
  if (!entry->receiver || entry->removed) return;
  try {
    entry->receiver->receiveNotification(event, entry->userData);
  } catch (...) {
    // A failing receiver is cut off; the others still hear of the event.
    entry->receiver = nullptr;
  }
}

void NotifyingObject::notify(const NotificationEvent& event) {
  if (gNotificationCounter <= 0 || receivers_.isEmpty()) return;
  // Entries added during the round are not in the snapshot; removed ones are marked, not freed.
  RWTValOrderedVector<ReceiverEntry*> snapshot;
  RWTPtrDoubleLinkListIterator<ReceiverEntry> it(receivers_);
  while (ReceiverEntry* entry = it.next())
    if (!entry->removed) snapshot.append(entry);
  ++deliveryDepth_;
  for (std::size_t i = 0; i < snapshot.count(); ++i) deliver(snapshot[i], event);
  --deliveryDepth_;
  if (deliveryDepth_ == 0 && hasRemoved_) purgeRemoved();
}

RWTValOrderedVector<NotifyingObject::Registration> NotifyingObject::registrations() const {
  RWTValOrderedVector<Registration> out(64);
  auto& list = const_cast<RWTPtrDoubleLinkList<ReceiverEntry>&>(receivers_);
  RWTPtrDoubleLinkListIterator<ReceiverEntry> it(list);
  while (ReceiverEntry* entry = it.next())
    if (!entry->removed) out.append(Registration(entry->receiver, entry->userData));
  return out;
}

std::size_t NotifyingObject::countMatching(EntryPredicate predicate, void* data) const {
  std::size_t n = 0;
  auto& list = const_cast<RWTPtrDoubleLinkList<ReceiverEntry>&>(receivers_);
  RWTPtrDoubleLinkListIterator<ReceiverEntry> it(list);
  while (ReceiverEntry* entry = it.next())
    if (!entry->removed && predicate(entry, data)) ++n;
  return n;
}

std::size_t NotifyingObject::receiverCount() const {
  return countMatching([](const ReceiverEntry*, void*) { return 1; }, nullptr);
}
