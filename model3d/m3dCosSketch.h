#pragma once
// m3dCosSketchC: a cosmetic sketch, a "COSSKETCH" element of a part's "COSDRAW": 2D annotations
// (such as thread lines) placed on a plane of the part. A view: it owns its node only when built
// with owns set.

#include "model3d/m3dSketchBase.h"

class m3dCosSketchC : public m3dSketchBaseC {
public:
  static constexpr int classDepth = m3dSketchBaseC::classDepth + 1;
  static const char* classKey() { return "COSSKETCH"; }

  m3dCosSketchC() = default;
  explicit m3dCosSketchC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
      : m3dSketchBaseC(node, owns, buildVirtualBase) {}
};
