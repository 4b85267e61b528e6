#pragma once
// Comparers for the tree search (metaTreeC::find): metaNodeCompareInterfaceC answers whether a
// node matches; metaNodeCompareKeyC matches key-word nodes by text and owns its copy of the key.

#include "foundation/str.h"

class metaTreeC;

// Comparer for the tree search: answers 1 when a node matches, else 0.
class metaNodeCompareInterfaceC {
public:
  virtual ~metaNodeCompareInterfaceC() = default;
  virtual int match(const metaTreeC* node) const = 0;
};

// Matches a node whose value is a key word (type 1) equal to the held text by strcmp; no other
// value type ever matches, so a string node with the same text does not.
class metaNodeCompareKeyC : public metaNodeCompareInterfaceC {
public:
  explicit metaNodeCompareKeyC(const char* key);
  int match(const metaTreeC* node) const override;

private:
  str key_;
};
