#pragma once
// Test instruments for the bounds-checked containers: the text of the RWBoundsErr a call raises,
// and the exact messages the index checks produce. Header-only.

#include <string>

#include "foundation/RWxmsg.h"

namespace foundationtesting {

// The text of the RWBoundsErr that `f()` raises, or "no throw".
template <class F>
std::string boundsText(F f) {
  try {
    f();
  } catch (const RWBoundsErr& e) {
    return e.text();
  }
  return "no throw";
}

// The message of an index `i` checked against a collection of `n` elements.
inline std::string indexErr(unsigned i, unsigned n) {
  return "[INDEXERR] Illegal Index (" + std::to_string(i) + ") for collection or string with " +
         std::to_string(n) + " elements";
}

// The message of RW_NPOS used as an index.
inline const std::string kNpos = "[NPOSINDEX] The value RW_NPOS cannot be used as an index.";

}  // namespace foundationtesting
