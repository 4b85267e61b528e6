#pragma once
// pathComponentIteratorC: walks the components of a path (the runs of characters between '/';
// empty runs are skipped) forwards and backwards, and gives the parts before and after the
// current one. It keeps its own copy of the path's text.

#include <cstddef>

#include "config/pathName.h"
#include "foundation/RWCString.h"

class pathComponentIteratorC {
 public:
  // Counts the components and stands on the first (on none for a path without components).
  explicit pathComponentIteratorC(const pathNameC& path);

  // Each returns 1 when it moved, 0 when there is no such component (the position then stays).
  int first();
  int last();
  int next();
  int previous();
  // Stands on component n (0-based): 1 for 0 <= n < count, else 0 and the position stays.
  int seek(std::size_t n);

  std::size_t count() const { return count_; }
  // The current component; empty when there is none.
  pathNameC current() const;
  // The text from the start up to the end of the preceding component ('/a/b/c' on 'c' gives
  // '/a/b'); empty on the first component.
  pathNameC head() const;
  // The components after the current one ('/a/b/c' on 'a' gives 'b/c'); empty on the last.
  pathNameC tail() const;

 private:
  RWCString text_;
  std::size_t start_ = 0;  // current component: [start_, end_)
  std::size_t end_ = 0;
  std::size_t count_ = 0;
};
