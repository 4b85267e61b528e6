#include "host/Entity.h"

namespace kxhost {

std::string Entity::layer() const {
  const Group* g = find(8);
  return g ? g->s : std::string("0");
}

}  // namespace kxhost
