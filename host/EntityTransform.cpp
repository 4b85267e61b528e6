#include "host/EntityTransform.h"

#include <algorithm>
#include <cmath>

#include "host/GroupRoles.h"

namespace kxhost {

bool EntityTransform::fromMatrix(const double m[4][4], EntityTransform& out, std::string& error) {
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c)
      if (!std::isfinite(m[r][c])) {
        error = "the matrix holds a value that is not finite";
        return false;
      }
  double a = m[0][0], b = m[0][1], c = m[1][0], d = m[1][1];
  double s = std::hypot(a, c);
  double tol = 1e-9 * std::max(1.0, s);
  if (std::fabs(m[3][0]) > 1e-12 || std::fabs(m[3][1]) > 1e-12 || std::fabs(m[3][2]) > 1e-12 ||
      std::fabs(m[3][3] - 1.0) > 1e-12) {
    error = "the matrix's last row is not (0, 0, 0, 1)";
    return false;
  }
  if (!(s > 1e-12)) {
    error = "the matrix collapses the plane (scale 0)";
    return false;
  }
  if (std::fabs(m[0][2]) > tol || std::fabs(m[1][2]) > tol || std::fabs(m[2][0]) > tol ||
      std::fabs(m[2][1]) > tol) {
    error = "the matrix tilts the drawing plane";
    return false;
  }
  if (std::fabs(a + d) <= tol && std::fabs(b - c) <= tol && s > tol) {
    error = "the matrix mirrors; only rotations with a uniform scale are accepted";
    return false;
  }
  if (std::fabs(a - d) > tol || std::fabs(b + c) > tol || std::fabs(m[2][2] - s) > tol) {
    error = "the matrix is not a similarity (shear or unequal scales)";
    return false;
  }
  for (int r = 0; r < 3; ++r)
    for (int k = 0; k < 4; ++k) out.m_[r][k] = m[r][k];
  out.s_ = s;
  out.theta_ = std::atan2(c, a);
  return true;
}

void EntityTransform::applyPoint(double p[3]) const {
  double x = p[0], y = p[1], z = p[2];
  for (int r = 0; r < 3; ++r) p[r] = m_[r][0] * x + m_[r][1] * y + m_[r][2] * z + m_[r][3];
}

void EntityTransform::applyVector(double v[3]) const {
  double x = v[0], y = v[1], z = v[2];
  for (int r = 0; r < 3; ++r) v[r] = m_[r][0] * x + m_[r][1] * y + m_[r][2] * z;
}

namespace {

void applyRoles(const EntityTransform& t, Entity& e, const std::vector<Role>& roles) {
  for (std::size_t i = 0; i < e.groups.size(); ++i) {
    Group& g = e.groups[i];
    switch (roles[i]) {
      case Role::Point:
      case Role::Point2d: t.applyPoint(g.v); break;
      case Role::Vector:
      case Role::Vector2d: t.applyVector(g.v); break;
      case Role::Length: g.v[0] *= t.scale(); break;
      case Role::Angle:
      case Role::AngleRad: g.v[0] += t.rotation(); break;
      case Role::Elevation: {
        double p[3] = {0.0, 0.0, g.v[2]};
        t.applyPoint(p);
        g.v[2] = p[2];
        break;
      }
      case Role::PatBaseX:
      case Role::PatOffsetX:
        if (i + 1 < e.groups.size()) {
          double p[3] = {g.v[0], e.groups[i + 1].v[0], 0.0};
          if (roles[i] == Role::PatBaseX)
            t.applyPoint(p);
          else
            t.applyVector(p);
          g.v[0] = p[0];
          e.groups[i + 1].v[0] = p[1];
        }
        break;
      case Role::Plain:
      case Role::EdgeParam: break;
    }
  }
}

}  // namespace

bool EntityTransform::apply(Entity& entity, std::string& error) const {
  if (entity.type == "3DSOLID") {
    error = "a 3DSOLID cannot be transformed by this host";
    return false;
  }
  std::vector<Role> roles;
  if (!GroupRoles::rolesOf(entity, roles)) {
    error = "the " + entity.type + " cannot be laid out";
    return false;
  }
  applyRoles(*this, entity, roles);
  for (Entity& sub : entity.subs) {
    std::vector<Role> subRoles;
    GroupRoles::rolesOf(sub, subRoles);
    applyRoles(*this, sub, subRoles);
  }
  return true;
}

}  // namespace kxhost
