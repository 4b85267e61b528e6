#pragma once
// What each group of an entity means geometrically, so that transforms and the DXF writer treat
// it right: a point moves, a vector turns and scales, a length scales, an absolute angle (radians
// in the host's lists) turns with the transform and is written in degrees where DXF wants them.

#include <vector>

#include "host/Entity.h"

namespace kxhost {

enum class Role {
  Plain,        // left alone
  Point,        // 3D point
  Point2d,      // 2D point (hatch edges, seeds): transformed like a point, written as x, y
  Vector,       // direction with length: rotates and scales, does not translate
  Vector2d,
  Length,       // scales
  Angle,        // absolute angle in radians: rotates; DXF writes degrees
  AngleRad,     // absolute angle in radians: rotates; DXF keeps radians
  EdgeParam,    // parameter of a hatch ellipse edge: DXF writes the point's geometric angle in degrees
  Elevation,    // point whose x, y are unused: only z moves
  PatBaseX,     // hatch pattern line base point, x then y in the next group
  PatOffsetX,   // hatch pattern line offset vector, x then y in the next group
};

class GroupRoles {
public:
  // Roles of every group of the entity (same length as entity.groups). False for an entity whose
  // list cannot be laid out (a HATCH that does not parse).
  static bool rolesOf(const Entity& entity, std::vector<Role>& roles);

  // Role of one group of a simple (non-HATCH) entity type.
  static Role roleOf(const std::string& type, int code);
};

}  // namespace kxhost
