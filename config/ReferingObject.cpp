#include "config/ReferingObject.h"

#include <algorithm>

#include "config/NotifyingObject.h"

ReferingObject::~ReferingObject() {
  // Each source takes every entry of this receiver off its list and calls forgetSource, which
  // erases it here; the loop ends when no source is left.
  while (!sources_.empty()) {
    NotifyingObject* source = sources_.back();
    source->detachReceiver(this);
    forgetSource(source);  // in case the source had nothing left to detach
  }
}

void ReferingObject::receiveNotification(const NotificationEvent&, void*) {}

void ReferingObject::attachSource(NotifyingObject* source) { sources_.push_back(source); }

void ReferingObject::detachSource(NotifyingObject* source) {
  auto it = std::find(sources_.begin(), sources_.end(), source);
  if (it != sources_.end()) sources_.erase(it);
}

void ReferingObject::forgetSource(NotifyingObject* source) {
  sources_.erase(std::remove(sources_.begin(), sources_.end(), source), sources_.end());
}
