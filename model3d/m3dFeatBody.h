#pragma once
// m3dFeatBodyC: a solid body of a part's "ITEMS" list, built from the sketch named by its "USED":
// a revolved ("TYP" "ROTATE") or an extruded ("TYP" "EXTRUDE", "PARAM" = depth, reverse flag,
// symmetric flag) body. Scaling changes the extrusion depth only; the axes it collects are the
// revolution axis or the axes of the circular loops that are extruded. A view: it owns its node
// only when built with owns set.

#include "model3d/m3dFeatGen.h"

class m3dFeatBodyC : public m3dFeatGenC {
public:
  static constexpr int classDepth = m3dFeatGenC::classDepth + 1;

  m3dFeatBodyC() = default;
  explicit m3dFeatBodyC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
      : m3dFeatGenC(node, owns, buildVirtualBase) {}

  // An "EXTRUDE" body's depth times the factor (the two flags stay); other bodies are left as
  // they are. 1 in every case.
  int scaleGeometry(double factor) override;
  // The revolution axis of a "ROTATE" body, or the extrusion axes of an "EXTRUDE" body, appended
  // with tag 0; returns the pool's count.
  int collectFeatureAxes(m3dAxisPoolC& pool) override;

  bool isRotate() const;
  bool isExtrude() const;
};
