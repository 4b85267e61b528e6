#pragma once
// Test helpers: a tree read from metafile text, with or without the post-load pass, either owned
// by the caller (parseTree) or by an owning metaObjectC (Tree). A text with a reading error fails
// the calling test. Header-only.

#include <sstream>

#include <gtest/gtest.h>

#include "meta/metaObject.h"
#include "meta/metaTreeReader.h"

namespace metatesting {

inline metaTreeC* parseTree(const char* text, int postLoad = 0) {
  std::istringstream in(text);
  metaTreeReaderC reader;
  reader.setInput(&in);
  metaTreeC* tree = reader.read(postLoad);
  EXPECT_FALSE(reader.hasError()) << reader.errorMessage() << " in: " << text;
  return tree;
}

// A tree read from text, deleted with the value.
struct Tree {
  explicit Tree(const char* text, int postLoad = 0) : owner(parseTree(text, postLoad), 1) {}
  metaTreeC* node() const { return owner.node(); }
  metaObjectC owner;
};

}  // namespace metatesting
