#pragma once
// memberPathC: a cursor over a mate end's member path, 1-based member numbers joined by at signs,
// innermost first ("2@1": member 1 of the owning assembly, then member 2 of its sub-assembly).
// It keeps the whole path and the rest still to be consumed; numbers are taken from the end.

#include "foundation/str.h"

class memberPathC {
public:
  memberPathC() = default;
  explicit memberPathC(const str& path) : whole_(path), rest_(path) {}

  const str& whole() const { return whole_; }
  const str& rest() const { return rest_; }
  bool isExhausted() const { return rest_.isEmpty(); }

  // The number after the last at sign of the rest (the rest keeps what stands before it), or,
  // without an at sign, the whole rest (the rest becomes empty); read with atoi.
  int next();

private:
  str whole_;
  str rest_;
};
