#pragma once
// The events a NotifyingObject sends to its receivers: the base NotificationEvent, which names the
// sender, and its two kinds, a change of a configuration and the sender's own end. Events are
// built by the sender, usually on its stack, and live only for one delivery round.

class NotifyingObject;

class NotificationEvent {
 public:
  explicit NotificationEvent(NotifyingObject* source) : source_(source) {}
  virtual ~NotificationEvent() = default;

  NotifyingObject* source() const { return source_; }

 private:
  NotifyingObject* source_;
};

// Sent by a configuration after a reload or a removal of a block or key.
class NotificationEventConfigChanged : public NotificationEvent {
 public:
  using NotificationEvent::NotificationEvent;
};

// Sent once when the sender releases itself; each receiver gets it after it has been taken off the
// sender's list, so it may destroy itself in its handler.
class NotificationEventDying : public NotificationEvent {
 public:
  using NotificationEvent::NotificationEvent;
};
