#pragma once
// Test helper: a tree read from metafile text, with or without the post-load pass; the caller
// owns the tree. A text with a reading error fails the calling test. Header-only.

#include <sstream>

#include <gtest/gtest.h>

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

}  // namespace metatesting
