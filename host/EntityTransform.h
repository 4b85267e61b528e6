#pragma once
// A similarity transform of the drawing plane as acedXformSS takes it: a 4x4 matrix given row by
// row with the translation in the last column, whose upper 3x3 part is a rotation about the z
// axis times a uniform scale. Anything else (shear, unequal scales, mirroring, a tilted plane,
// a projective last row) is refused, because the host's 2D entities cannot follow it.

#include <string>

#include "host/Entity.h"

namespace kxhost {

class EntityTransform {
public:
  // False with `error` for a matrix that is no such similarity or holds non-finite values.
  static bool fromMatrix(const double m[4][4], EntityTransform& out, std::string& error);

  double scale() const { return s_; }
  double rotation() const { return theta_; }   // radians, counterclockwise

  void applyPoint(double p[3]) const;
  void applyVector(double v[3]) const;

  // Applies the transform to every group of the entity and its sub-entities by its role.
  // False, with the entity unchanged, for an entity the host cannot transform (3DSOLID).
  bool apply(Entity& entity, std::string& error) const;

private:
  double m_[3][4] = {};
  double s_ = 1.0;
  double theta_ = 0.0;
};

}  // namespace kxhost
