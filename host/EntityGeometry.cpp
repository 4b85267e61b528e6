#include "host/EntityGeometry.h"

#include <cmath>
#include <limits>

namespace kxhost {

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kFar = std::numeric_limits<double>::max();

double segment(double x, double y, double ax, double ay, double bx, double by) {
  double dx = bx - ax, dy = by - ay;
  double len2 = dx * dx + dy * dy;
  double t = len2 > 0 ? ((x - ax) * dx + (y - ay) * dy) / len2 : 0.0;
  t = std::fmax(0.0, std::fmin(1.0, t));
  return std::hypot(x - (ax + t * dx), y - (ay + t * dy));
}

double normalise(double a) {
  a = std::fmod(a, 2 * kPi);
  return a < 0 ? a + 2 * kPi : a;
}

}  // namespace

double EntityGeometry::distance(const Entity& e, double x, double y) {
  const Group* p10 = e.find(10);
  auto real = [&](int code) { const Group* g = e.find(code); return g ? g->v[0] : 0.0; };
  if (e.type == "LINE") {
    const Group* p11 = e.find(11);
    return segment(x, y, p10->v[0], p10->v[1], p11->v[0], p11->v[1]);
  }
  if (e.type == "CIRCLE") return std::fabs(std::hypot(x - p10->v[0], y - p10->v[1]) - real(40));
  if (e.type == "ARC") {
    double cx = p10->v[0], cy = p10->v[1], r = real(40);
    double a0 = normalise(real(50)), a1 = normalise(real(51));
    double a = normalise(std::atan2(y - cy, x - cx));
    double span = normalise(a1 - a0);
    if (normalise(a - a0) <= span) return std::fabs(std::hypot(x - cx, y - cy) - r);
    double d0 = std::hypot(x - (cx + r * std::cos(a0)), y - (cy + r * std::sin(a0)));
    double d1 = std::hypot(x - (cx + r * std::cos(a1)), y - (cy + r * std::sin(a1)));
    return std::fmin(d0, d1);
  }
  if (e.type == "ELLIPSE") {
    const Group* ax = e.find(11);
    double ratio = real(40);
    double t0 = e.find(41) ? real(41) : 0.0, t1 = e.find(42) ? real(42) : 2 * kPi;
    if (t1 <= t0) t1 += 2 * kPi;
    double best = kFar, px = 0, py = 0;
    const int n = 256;
    for (int i = 0; i <= n; ++i) {
      double t = t0 + (t1 - t0) * i / n;
      double qx = p10->v[0] + ax->v[0] * std::cos(t) - ratio * ax->v[1] * std::sin(t);
      double qy = p10->v[1] + ax->v[1] * std::cos(t) + ratio * ax->v[0] * std::sin(t);
      if (i > 0) best = std::fmin(best, segment(x, y, px, py, qx, qy));
      px = qx;
      py = qy;
    }
    return best;
  }
  if (e.type == "POLYLINE") {
    double best = kFar;
    const Group* prev = nullptr;
    const Group* first = nullptr;
    for (const Entity& v : e.subs) {
      if (v.type != "VERTEX") continue;
      const Group* q = v.find(10);
      if (!first) first = q;
      if (prev) best = std::fmin(best, segment(x, y, prev->v[0], prev->v[1], q->v[0], q->v[1]));
      prev = q;
    }
    const Group* flags = e.find(70);
    if (flags && (flags->i & 1) && first && prev)
      best = std::fmin(best, segment(x, y, prev->v[0], prev->v[1], first->v[0], first->v[1]));
    return best;
  }
  if (p10 && e.type != "HATCH") return std::hypot(x - p10->v[0], y - p10->v[1]);
  return kFar;
}

bool EntityGeometry::nearest(const std::vector<Entity>& list, double x, double y, double box,
                             std::uint32_t& handle) {
  double best = kFar;
  bool found = false;
  for (const Entity& e : list) {
    double d = distance(e, x, y);
    if (d <= box && d <= best) {
      best = d;
      handle = e.handle;
      found = true;
    }
  }
  return found;
}

}  // namespace kxhost
