#pragma once
// RWTPtrDoubleLinkList<T>: a doubly linked list of T pointers. The list owns its links, never the
// pointed-to entries.

#include <cstddef>

#include "foundation/RWDoubleLinkList.h"

template <class T>
class RWTPtrDoubleLinkList {
 public:
  struct Link : RWDlink {
    explicit Link(T* p) : item(p) {}
    T* item;
  };
  using ApplyFunction = void (*)(T* entry, void* userData);
  using Predicate = int (*)(T* entry, void* userData);  // non-zero: a match

  RWTPtrDoubleLinkList() = default;
  RWTPtrDoubleLinkList(const RWTPtrDoubleLinkList&) = delete;
  RWTPtrDoubleLinkList& operator=(const RWTPtrDoubleLinkList&) = delete;
  ~RWTPtrDoubleLinkList() { clear(); }

  std::size_t count() const { return list_.count(); }
  std::size_t entries() const { return list_.count(); }
  bool isEmpty() const { return list_.isEmpty(); }

  void append(T* p) { list_.append(new Link(p)); }
  T* first() const { return list_.isEmpty() ? nullptr : item(list_.first()); }
  T* last() const { return list_.isEmpty() ? nullptr : item(list_.last()); }
  // Unlinks the first link and returns its entry; null when empty.
  T* takeFirst() {
    if (list_.isEmpty()) return nullptr;
    return take(list_.first());
  }
  void apply(ApplyFunction fn, void* userData) {
    for (RWDlink* l = list_.head()->next(); l != list_.end();) {
      RWDlink* following = l->next();  // read ahead: fn may remove its own entry
      fn(item(l), userData);
      l = following;
    }
  }
  T* find(Predicate pred, void* userData) const {
    for (RWDlink* l = list_.head()->next(); l != list_.end(); l = l->next())
      if (pred(item(l), userData)) return item(l);
    return nullptr;
  }
  T* removeFirstMatch(Predicate pred, void* userData) {
    for (RWDlink* l = list_.head()->next(); l != list_.end(); l = l->next())
      if (pred(item(l), userData)) return take(l);
    return nullptr;
  }
  bool contains(const T* p) const {
    for (RWDlink* l = list_.head()->next(); l != list_.end(); l = l->next())
      if (item(l) == p) return true;
    return false;
  }
  // Removes the first link holding p and returns p; null when p is not in the list.
  T* remove(const T* p) {
    for (RWDlink* l = list_.head()->next(); l != list_.end(); l = l->next())
      if (item(l) == p) return take(l);
    return nullptr;
  }
  // Deletes every link (not the entries).
  void clear() {
    while (!list_.isEmpty()) delete static_cast<Link*>(list_.remove(list_.first()));
  }

  RWDoubleLinkList& links() { return list_; }
  const RWDoubleLinkList& links() const { return list_; }

 private:
  static T* item(RWDlink* l) { return static_cast<Link*>(l)->item; }
  T* take(RWDlink* l) {
    Link* link = static_cast<Link*>(list_.remove(l));
    T* p = link->item;
    delete link;
    return p;
  }
  RWDoubleLinkList list_;
};
