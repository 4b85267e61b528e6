#include "config/pathComponentIterator.h"

pathComponentIteratorC::pathComponentIteratorC(const pathNameC& path) : text_(path.text()) {
  const std::size_t n = text_.length();
  for (std::size_t i = 0; i < n;) {
    while (i < n && text_[i] == '/') ++i;
    if (i == n) break;
    ++count_;
    while (i < n && text_[i] != '/') ++i;
  }
  next();
}

int pathComponentIteratorC::next() {
  const std::size_t n = text_.length();
  std::size_t i = end_;
  while (i < n && text_[i] == '/') ++i;
  if (i >= n) return 0;
  std::size_t e = i;
  while (e < n && text_[e] != '/') ++e;
  start_ = i;
  end_ = e;
  return 1;
}

int pathComponentIteratorC::previous() {
  if (start_ == 0) return 0;
  std::size_t i = start_;  // one past the character to look at
  while (i > 0 && text_[i - 1] == '/') --i;
  if (i == 0) return 0;
  std::size_t e = i;
  while (i > 0 && text_[i - 1] != '/') --i;
  start_ = i;
  end_ = e;
  return 1;
}

int pathComponentIteratorC::first() {
  std::size_t oldStart = start_, oldEnd = end_;
  start_ = end_ = 0;
  if (next()) return 1;
  start_ = oldStart;
  end_ = oldEnd;
  return 0;
}

int pathComponentIteratorC::last() {
  std::size_t oldStart = start_, oldEnd = end_;
  start_ = end_ = text_.length();
  if (previous()) return 1;
  start_ = oldStart;
  end_ = oldEnd;
  return 0;
}

int pathComponentIteratorC::seek(std::size_t n) {
  if (n >= count_) return 0;
  first();
  for (std::size_t i = 0; i < n; ++i) next();
  return 1;
}

pathNameC pathComponentIteratorC::current() const {
  if (end_ <= start_) return pathNameC();
  return pathNameC(RWCString(text_.data() + start_, end_ - start_));
}

pathNameC pathComponentIteratorC::head() const {
  std::size_t i = start_;
  while (i > 0 && text_[i - 1] == '/') --i;
  if (i == 0) return pathNameC();
  return pathNameC(RWCString(text_.data(), i));
}

pathNameC pathComponentIteratorC::tail() const {
  const std::size_t n = text_.length();
  std::size_t i = end_;
  while (i < n && text_[i] == '/') ++i;
  if (i >= n) return pathNameC();
  return pathNameC(RWCString(text_.data() + i, n - i));
}
