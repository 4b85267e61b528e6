#pragma once
// m3dFeatPatternSketchC: the "FPSKETCH" pattern sketch of a feature pattern: a sketch frame and
// placement plus the pattern points "FPSKETCHPOINTS" (each a list of two reals in the sketch
// plane) and the optional rotation centre "FPSKETCHROTCP" (two reals). Registered under
// "FPSKETCH" in the 3D class registry. A view: it owns its node only when built with owns set.

#include "meta/mVec2d.h"
#include "model3d/m3dSketchBase.h"

class m3dFeatPatternSketchC : public m3dSketchBaseC {
public:
  static constexpr int classDepth = m3dSketchBaseC::classDepth + 1;
  static const char* classKey() { return "FPSKETCH"; }

  m3dFeatPatternSketchC() = default;
  explicit m3dFeatPatternSketchC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
      : m3dSketchBaseC(node, owns, buildVirtualBase) {}

  // "FPSKETCHPOINTS" (found or created); its children are the points.
  metaTreeC* pointsNode() const { return findOrAddChild("FPSKETCHPOINTS"); }
  bool hasRotationCentre() const { return hasChild("FPSKETCHROTCP"); }
  // The two reals of "FPSKETCHROTCP"; (0, 0) when absent or malformed (nothing is added).
  mVec2dC rotationCentre() const;

  // The sketch base's scale, then every pattern point and the rotation centre times the
  // factor; 1.
  int scaleGeometry(double factor) override;
};
