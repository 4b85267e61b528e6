#pragma once
// An entity of the drawing as the host keeps it: its handle, its type and its group list in the
// order the plug-in gave it (without the type group), and for a POLYLINE its VERTEX entities and
// the closing SEQEND. Owned by the container that holds it (model space or a block definition).

#include <cstdint>
#include <string>
#include <vector>

#include "host/Group.h"

namespace kxhost {

struct Entity {
  std::uint32_t handle = 0;
  std::string type;        // upper case: "LINE", "HATCH", ...
  GroupList groups;
  std::vector<Entity> subs;

  const Group* find(int code) const { return findGroup(groups, code); }
  Group* find(int code) { return findGroup(groups, code); }
  // Group 8, or "0" when the list names none.
  std::string layer() const;
};

}  // namespace kxhost
