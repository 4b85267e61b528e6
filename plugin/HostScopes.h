#pragma once
// Scopes for what the host hands out and the plug-in must give back: a selection set that is
// freed and a result list that is released when the scope ends, on every path, an exception
// included. Each scope owns at most one set or list; copying is not allowed.

#include "host/api.h"
#include "plugin/HostBinding.h"

class SelectionSetScope {
 public:
  SelectionSetScope() = default;
  ~SelectionSetScope() { free(); }
  SelectionSetScope(const SelectionSetScope&) = delete;
  SelectionSetScope& operator=(const SelectionSetScope&) = delete;

  // Frees the set held so far and makes a new one, empty (no entity) or holding the entity.
  // False, holding nothing, when the host refuses.
  bool make(const std::int32_t* entity = nullptr) {
    free();
    held_ = hostcall::ssAdd(entity, nullptr, set_) == RTNORM;
    if (!held_) set_[0] = set_[1] = 0;
    return held_;
  }
  // The set's name, for the host calls that take it; zero while nothing is held.
  std::int32_t* get() { return set_; }
  // Frees the set now; afterwards the scope holds nothing.
  void free() {
    if (held_) hostcall::ssFree(set_);
    held_ = false;
    set_[0] = set_[1] = 0;
  }

 private:
  ads_name set_ = {0, 0};
  bool held_ = false;
};

class ResultListScope {
 public:
  // Takes over a list the host returned (null allowed).
  explicit ResultListScope(resbuf* list) : list_(list) {}
  ~ResultListScope() {
    if (list_) hostcall::relRb(list_);
  }
  ResultListScope(const ResultListScope&) = delete;
  ResultListScope& operator=(const ResultListScope&) = delete;
  resbuf* get() const { return list_; }

 private:
  resbuf* list_;
};
