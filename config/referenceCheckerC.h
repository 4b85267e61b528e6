#pragma once
// Graph traversal receivers: TraversalReceiverI is told of every object a traversal visits and
// leaves; an object that can be walked implements TraversableI and calls visit on itself, going
// into its references only when visit returns true. referenceCheckerC answers whether a target
// object can be reached from a start object, visiting every object at most once. Objects are
// identified by address; a TraversableI passes its own TraversableI address.

#include "foundation/RWTHashDict.h"

class TraversalReceiverI {
 public:
  virtual ~TraversalReceiverI() = default;
  // True to go on into the object's references.
  virtual bool visit(void* object) = 0;
  virtual void leave(void* object) = 0;
};

class TraversableI {
 public:
  virtual ~TraversableI() = default;
  // Calls receiver.visit(this object); when that returns true, traverses every referenced
  // object the same way; then receiver.leave(this object).
  virtual void traverse(TraversalReceiverI& receiver) = 0;
};

// A receiver that sees each object once: the visited set is keyed by address (64 buckets).
class SingleTraversalReceiverAC : public TraversalReceiverI {
 public:
  SingleTraversalReceiverAC() : visited_(RWHashPointer, 64) {}

 protected:
  // Records the object; false when it had been visited already.
  bool markVisited(void* object);
  void clearVisited() { visited_.clear(); }

 private:
  RWTHashDict<void*, void*> visited_;  // VisitedObjectMap
};

class referenceCheckerC : public SingleTraversalReceiverAC {
 public:
  // True when target is the start object or reachable from it. start may not be null.
  bool check(TraversableI* start, void* target);
  bool visit(void* object) override;
  void leave(void* object) override {}

 private:
  void* target_ = nullptr;
  unsigned char found_ = 0;
};
