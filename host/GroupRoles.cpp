#include "host/GroupRoles.h"

#include "host/HatchLayout.h"

namespace kxhost {

Role GroupRoles::roleOf(const std::string& type, int code) {
  if (code == 39) return Role::Length;   // thickness
  if (type == "LINE") return (code == 10 || code == 11) ? Role::Point : Role::Plain;
  if (type == "ARC" || type == "CIRCLE") {
    if (code == 10) return Role::Point;
    if (code == 40) return Role::Length;
    if (code == 50 || code == 51) return Role::Angle;
    return Role::Plain;
  }
  if (type == "ELLIPSE") {
    if (code == 10) return Role::Point;
    if (code == 11) return Role::Vector;
    return Role::Plain;   // ratio and the parameters are relative to the axis
  }
  if (type == "TEXT") {
    if (code == 10 || code == 11) return Role::Point;
    if (code == 40) return Role::Length;
    if (code == 50) return Role::Angle;
    return Role::Plain;
  }
  if (type == "MTEXT") {
    if (code == 10) return Role::Point;
    if (code == 11) return Role::Vector;
    if (code == 40 || code == 41) return Role::Length;
    if (code == 50) return Role::Angle;
    return Role::Plain;
  }
  if (type == "POINT") return code == 10 ? Role::Point : code == 50 ? Role::Angle : Role::Plain;
  if (type == "POLYLINE") {
    if (code == 10) return Role::Elevation;
    if (code == 40 || code == 41) return Role::Length;
    return Role::Plain;
  }
  if (type == "VERTEX") {
    if (code == 10) return Role::Point;
    if (code == 40 || code == 41) return Role::Length;
    if (code == 50) return Role::Angle;
    return Role::Plain;
  }
  if (type == "INSERT") {
    if (code == 10) return Role::Point;
    if (code == 41 || code == 42 || code == 43 || code == 44 || code == 45) return Role::Length;
    if (code == 50) return Role::Angle;
    return Role::Plain;
  }
  return Role::Plain;
}

bool GroupRoles::rolesOf(const Entity& entity, std::vector<Role>& roles) {
  if (entity.type == "HATCH") {
    HatchLayout layout;
    std::string error;
    if (!layout.parse(entity.groups, nullptr, error)) return false;
    roles = layout.roles();
    return true;
  }
  roles.clear();
  roles.reserve(entity.groups.size());
  for (const Group& g : entity.groups) roles.push_back(roleOf(entity.type, g.code));
  return true;
}

}  // namespace kxhost
