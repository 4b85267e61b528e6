#pragma once
// ReferingObject: a receiver of NotificationEvents. It remembers every NotifyingObject it is
// registered with, so that destroying a receiver takes it off their lists: a destroyed receiver
// is never called. A copy starts with no registrations.

#include <vector>

class NotificationEvent;
class NotifyingObject;

class ReferingObject {
 public:
  ReferingObject() = default;
  ReferingObject(const ReferingObject&) {}
  ReferingObject& operator=(const ReferingObject&) { return *this; }
  virtual ~ReferingObject();

  // Called for each event; userData is what was given when this receiver was registered.
  // Does nothing by default. An exception thrown here disables this registration.
  virtual void receiveNotification(const NotificationEvent& event, void* userData);

 private:
  friend class NotifyingObject;
  void attachSource(NotifyingObject* source);   // one call per registration entry
  void detachSource(NotifyingObject* source);   // one entry of that source
  void forgetSource(NotifyingObject* source);   // every entry of that source

  std::vector<NotifyingObject*> sources_;       // one element per registration entry
};
