#pragma once
// m3dPlaneC: a reference plane item ("PLANE") of a part: the x-y plane of the frame "MAT", its
// normal the frame's z axis. "TYP" says how it was made ("ABS_PLANE", "OFF_TO_PLANE", or the
// standard "XY" / "ZX" / "YZ"); an offset plane keeps "PARAM" = (reverse flag, distance, base
// plane name). Registered under "PLANE" in the 3D class registry. A view: it owns its node only
// when built with owns set.

#include "foundation/str.h"
#include "meta/metaObjListContainer.h"
#include "model3d/m3dFeatGen.h"

class m3dPlaneC : public m3dFeatGenC {
public:
  static constexpr int classDepth = m3dFeatGenC::classDepth + 1;
  static const char* classKey() { return "PLANE"; }

  m3dPlaneC() = default;
  explicit m3dPlaneC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
      : m3dFeatGenC(node, owns, buildVirtualBase) {}

  // Bound, a key word, and the key is "PLANE".
  static bool isPlaneNode(const metaTreeC* node);
  bool isPlane() const { return isPlaneNode(node()); }
  bool isAbsPlane() const;
  bool isOffsetPlane() const;

  // "PARAM" as (reverse = first real non-zero, distance, base plane name); 0 (outputs untouched)
  // unless "PARAM" has exactly three children.
  int readOffsetParam(int& reverse, double& distance, str& baseName) const;
  // Replaces the children of "PARAM" by the real 1.0 or 0.0, the distance and the name string.
  void writeOffsetParam(int reverse, double distance, const char* baseName) const;
  // A list of (real number, string name, key word "PA_X" / "PA_Y" / "PA_Z" = axis 0 / 1 / 2);
  // 0 at the first child that does not fit (outputs may be partly written), else 1.
  static int readPlaneAxisRef(const metaObjListContainerC& list, double& number, str& name,
                              int& axis);

  // The frame's origin times the factor; an offset plane's distance too. 1.
  int scaleGeometry(double factor) override;
  // "MAT" := T "MAT", kept right-handed (a mirrored result has its y axis negated); any other
  // kind of plane becomes "ABS_PLANE". 0 when unbound, else 1.
  int transformGeometry(const mMat4dC& transform) override;
};

// A new detached "PLANE" key node viewed as a plane; with `owns` set the view deletes it.
m3dPlaneC createPlaneNode(int owns);
