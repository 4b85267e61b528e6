#pragma once
// m3dCosSketchC: a cosmetic sketch, a "COSSKETCH" element of a part's "COSDRAW": 2D annotations
// (such as thread lines) in "COSSHAPES", placed on a plane of the part; its operations move them
// with the frame. Registered under "COSSKETCH" in the 3D class registry. A view: it owns its
// node only when built with owns set.

#include "model3d/m3dSketchBase.h"

class m3dCosmeticDrawsC;

class m3dCosSketchC : public m3dSketchBaseC {
public:
  static constexpr int classDepth = m3dSketchBaseC::classDepth + 1;
  static const char* classKey() { return "COSSKETCH"; }

  m3dCosSketchC() = default;
  explicit m3dCosSketchC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
      : m3dSketchBaseC(node, owns, buildVirtualBase) {}

  // The container that holds this sketch (its parent node, the part's "COSDRAW").
  m3dCosmeticDrawsC cosmeticDrawsOf() const;

  // The base operation, then every shape of "COSSHAPES" scaled; 1.
  int scaleGeometry(double factor) override;
  // The base operation and, when the transform mirrors the frame, every shape of "COSSHAPES"
  // mirrored in y; 1.
  int transformGeometry(const mMat4dC& transform) override;
};
