#pragma once
// m3dSketchOnC: the "SKETCHON" record of a sketch, what the sketch was drawn on: either a face
// ("FACE" with a point "POINT3D" and a direction "VEC3D") or a named plane ("PLANE", a string).
// Scaling and transforming move the face point and turn its direction. A view: it owns its node
// only when built with owns set.

#include "meta/mVec3d.h"
#include "model3d/m3dGeomOpBase.h"

class m3dSketchOnC : public m3dGeomOpBaseC {
public:
  static constexpr int classDepth = m3dGeomOpBaseC::classDepth + 1;
  static const char* classKey() { return "SKETCHON"; }

  m3dSketchOnC() = default;
  explicit m3dSketchOnC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
      : m3dGeomOpBaseC(node, owns, buildVirtualBase) {}

  bool hasFace() const { return hasChild("FACE"); }
  // "POINT3D" / "VEC3D" of "FACE"; the zero vector when there is no "FACE" (nothing is added).
  mVec3dC facePoint() const;
  mVec3dC faceVector() const;
  bool hasPlane() const { return hasChild("PLANE"); }
  // The "PLANE" string; "" when there is no "PLANE" (nothing is added).
  const char* planeName() const;
  // 0 when the view has no node; else removes a "FACE" child, sets "PLANE" to the text and
  // returns 1.
  int setPlaneName(const char* text) const;

  // "POINT3D" of "FACE" times the factor; 1.
  int scaleGeometry(double factor) override;
  // "POINT3D" := T applied to the point, "VEC3D" := T without translation applied to the
  // direction; 1.
  int transformGeometry(const mMat4dC& transform) override;
};
