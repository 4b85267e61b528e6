#pragma once
// The copy table of a deep copy of an object graph: each original object (by address) to its
// copy. CopyTableI is the interface copy passes use; CopyTableC keeps the map in a hash table of
// 64 buckets keyed by address. The table owns neither originals nor copies.

#include "foundation/RWTHashDict.h"

class CopyTableI {
 public:
  virtual ~CopyTableI() = default;
  virtual bool isCopied(void* object) = 0;
  // The stored copy; an entry with a null copy is made when the object has none.
  virtual void* copyOf(void* object) = 0;
  virtual void setCopy(void* object, void* copy) = 0;
  // The copy when the object was copied, else the object itself.
  virtual void* mapped(void* object) = 0;
  virtual void finish(void* argument) {}
};

class CopyTableC : public CopyTableI {
 public:
  CopyTableC() : copies_(RWHashPointer, 64) {}

  bool isCopied(void* object) override;
  void* copyOf(void* object) override;
  void setCopy(void* object, void* copy) override;
  void* mapped(void* object) override;
  void finish(void* argument) override {}

 private:
  RWTHashDict<void*, void*> copies_;  // CopyTableMap
};
