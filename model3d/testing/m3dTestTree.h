#pragma once
// Test instruments for the 3D model: trees read from metafile text (owned by the caller through
// a unique_ptr), placement text for a matrix, and a one-line dump. Header-only.

#include <cstdio>
#include <memory>
#include <sstream>
#include <string>

#include "meta/mMat4d.h"
#include "meta/metaTree.h"
#include "meta/metaTreeReader.h"
#include "meta/testing/metaTreeDump.h"

namespace m3dtesting {

struct treeDeleter {
  void operator()(metaTreeC* node) const { delete node; }
};
using treeP = std::unique_ptr<metaTreeC, treeDeleter>;

// The tree of `text`; null (and a failed expectation in the caller) on a reader error.
inline treeP readTree(const std::string& text) {
  std::istringstream in(text);
  metaTreeReaderC reader;
  reader.setInput(&in);
  return treeP(reader.read(1));
}

// "MAT { m0 m1 ... m15 }" for a placement.
inline std::string matText(const mMat4dC& m) {
  std::string out = "MAT {";
  for (double v : m.m) {
    char buf[40];
    std::snprintf(buf, sizeof buf, " %.17g", v);
    out += buf;
  }
  return out + " }";
}

// A placement with the given axes and origin.
inline mMat4dC frame(const mVec3dC& x, const mVec3dC& y, const mVec3dC& z, const mVec3dC& o) {
  mMat4dC m = mMat4dC::identity();
  const mVec3dC cols[4] = {x, y, z, o};
  for (int c = 0; c < 4; ++c) {
    m.m[4 * c] = cols[c].x;
    m.m[4 * c + 1] = cols[c].y;
    m.m[4 * c + 2] = cols[c].z;
  }
  return m;
}

inline mMat4dC translation(double x, double y, double z) {
  return frame({1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {x, y, z});
}

inline std::string dump(const metaTreeC* node) { return metatesting::dumpTree(node); }

}  // namespace m3dtesting
