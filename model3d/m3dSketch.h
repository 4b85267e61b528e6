#pragma once
// m3dSketchC: a sketch item ("SKETCH") of a part's "ITEMS" list: a sketch that is also a feature.
// Its two geometry operations, reached from either side, move the frame, the "SKETCHON" record
// and the loops; as a feature it collects no axes and is of kind 2 ("SKETCH" is not in the
// feature registry). Registered under "SKETCH" in the 3D class registry. A view: it owns its
// node only when built with owns set.

#include "model3d/m3dFeatGen.h"
#include "model3d/m3dSketchBase.h"

class m3dSketchC : public m3dSketchBaseC, public m3dFeatGenC {
public:
  static constexpr int classDepth = m3dSketchBaseC::classDepth + 1;
  static const char* classKey() { return "SKETCH"; }

  m3dSketchC() = default;
  explicit m3dSketchC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
      : m3dSketchBaseC(node, owns, buildVirtualBase), m3dFeatGenC(node, owns, 0) {}
  // Copies only: a move would pass through the two view bases and unbind the handle.
  m3dSketchC(const m3dSketchC&) = default;
  m3dSketchC& operator=(const m3dSketchC&) = default;

  // Both bases read the same node's attributes; the sketch side answers.
  using m3dSketchBaseC::getName;
  using m3dSketchBaseC::getMatrix;
  using m3dSketchBaseC::setMatrix;

  // The base operation, then every loop scaled about the sketch origin (last loop first); 1.
  int scaleGeometry(double factor) override;
  // The base operation, "SKETCHON" transformed, and, when the transform mirrors the frame, every
  // loop mirrored in y; 1.
  int transformGeometry(const mMat4dC& transform) override;
};
