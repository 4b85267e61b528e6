#pragma once
// Plane geometry of entities for picking: the distance from a point to an entity's curve (its
// outline for lines, arcs, circles, ellipses and polylines, its insertion point otherwise).

#include <cstdint>
#include <vector>

#include "host/Entity.h"

namespace kxhost {

class EntityGeometry {
public:
  // Distance in the x-y plane from (x, y) to the entity; a very large value for an entity with
  // no usable geometry.
  static double distance(const Entity& e, double x, double y);

  // The entity of `list` nearest to (x, y) within the pick distance `box` (later entities win
  // ties, as the topmost one is picked). False when none lies within it.
  static bool nearest(const std::vector<Entity>& list, double x, double y, double box,
                      std::uint32_t& handle);
};

}  // namespace kxhost
