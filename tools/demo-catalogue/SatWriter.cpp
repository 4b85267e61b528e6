#include "tools/demo-catalogue/SatWriter.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <map>
#include <utility>

int satVersionNumber(const std::string& formatVersion) {
  int major = 0, minor = 0, used = 0;
  if (std::sscanf(formatVersion.c_str(), "%d.%d%n", &major, &minor, &used) != 2) return 0;
  if (std::size_t(used) != formatVersion.size()) return 0;
  if (major < 1 || major > 99 || minor < 0 || minor > 99) return 0;
  return major * 100 + minor;
}

namespace {

std::string num(double v) {
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%.17g", v == 0.0 ? 0.0 : v);
  return buffer;
}

std::string ref(int index) { return "$" + std::to_string(index); }

// One body's records, numbered from `base`.
void writeBox(const SatBox& box, int base, std::vector<std::string>& records) {
  // Corner i has x = bit 0, y = bit 1, z = bit 2.
  std::array<std::array<double, 3>, 8> corner;
  for (int i = 0; i < 8; ++i) {
    corner[i] = {box.x + ((i & 1) ? box.dx : 0.0), box.y + ((i & 2) ? box.dy : 0.0),
                 box.z + ((i & 4) ? box.dz : 0.0)};
  }
  // Faces with their corners counterclockwise seen from outside, and their outward normals.
  struct Face { std::array<int, 4> v; std::array<double, 3> n; };
  const std::array<Face, 6> faces = {{
      {{0, 2, 3, 1}, {0, 0, -1}}, {{4, 5, 7, 6}, {0, 0, 1}},
      {{0, 1, 5, 4}, {0, -1, 0}}, {{2, 6, 7, 3}, {0, 1, 0}},
      {{0, 4, 6, 2}, {-1, 0, 0}}, {{1, 3, 7, 5}, {1, 0, 0}},
  }};
  const int body = base, lump = base + 1, shell = base + 2, face0 = base + 3, loop0 = face0 + 6,
            coedge0 = loop0 + 6, edge0 = coedge0 + 24, vertex0 = edge0 + 12, point0 = vertex0 + 8,
            surface0 = point0 + 8, curve0 = surface0 + 6;

  // Edges by their corner pair (low, high), each running from low to high.
  std::map<std::pair<int, int>, int> edgeOf;
  std::vector<std::pair<int, int>> edgeEnds;
  std::vector<std::array<int, 2>> edgeCoedges;
  std::array<int, 24> coedgeEdge{};
  std::array<bool, 24> coedgeForward{};
  for (int f = 0; f < 6; ++f) {
    for (int k = 0; k < 4; ++k) {
      int a = faces[f].v[k], b = faces[f].v[(k + 1) % 4];
      auto key = std::minmax(a, b);
      auto [it, added] = edgeOf.try_emplace(key, int(edgeEnds.size()));
      if (added) {
        edgeEnds.push_back(key);
        edgeCoedges.push_back({-1, -1});
      }
      int c = f * 4 + k;
      coedgeEdge[c] = it->second;
      coedgeForward[c] = (a == key.first);
      edgeCoedges[it->second][added ? 0 : 1] = c;
    }
  }
  std::array<int, 8> vertexEdge{};
  for (int e = 0; e < 12; ++e) {
    vertexEdge[edgeEnds[e].first] = e;
    vertexEdge[edgeEnds[e].second] = e;
  }

  records.push_back("body $-1 " + ref(lump) + " $-1 $-1 #");
  records.push_back("lump $-1 $-1 " + ref(shell) + " " + ref(body) + " #");
  records.push_back("shell $-1 $-1 $-1 " + ref(face0) + " $-1 " + ref(lump) + " #");
  for (int f = 0; f < 6; ++f) {
    std::string next = f < 5 ? ref(face0 + f + 1) : "$-1";
    records.push_back("face $-1 " + next + " " + ref(loop0 + f) + " " + ref(shell) + " $-1 " +
                      ref(surface0 + f) + " forward single #");
  }
  for (int f = 0; f < 6; ++f) {
    records.push_back("loop $-1 $-1 " + ref(coedge0 + f * 4) + " " + ref(face0 + f) + " #");
  }
  for (int c = 0; c < 24; ++c) {
    int f = c / 4, k = c % 4;
    int next = f * 4 + (k + 1) % 4, prev = f * 4 + (k + 3) % 4;
    const auto& pair = edgeCoedges[coedgeEdge[c]];
    int partner = pair[0] == c ? pair[1] : pair[0];
    records.push_back("coedge $-1 " + ref(coedge0 + next) + " " + ref(coedge0 + prev) + " " +
                      ref(coedge0 + partner) + " " + ref(edge0 + coedgeEdge[c]) + " " +
                      (coedgeForward[c] ? "forward " : "reversed ") + ref(loop0 + f) + " $-1 #");
  }
  for (int e = 0; e < 12; ++e) {
    records.push_back("edge $-1 " + ref(vertex0 + edgeEnds[e].first) + " " +
                      ref(vertex0 + edgeEnds[e].second) + " " + ref(coedge0 + edgeCoedges[e][0]) +
                      " " + ref(curve0 + e) + " forward #");
  }
  for (int v = 0; v < 8; ++v) {
    records.push_back("vertex $-1 " + ref(edge0 + vertexEdge[v]) + " " + ref(point0 + v) + " #");
  }
  for (int v = 0; v < 8; ++v) {
    records.push_back("point $-1 " + num(corner[v][0]) + " " + num(corner[v][1]) + " " +
                      num(corner[v][2]) + " #");
  }
  for (int f = 0; f < 6; ++f) {
    const auto& p = corner[faces[f].v[0]];
    const auto& q = corner[faces[f].v[1]];
    std::array<double, 3> u = {q[0] - p[0], q[1] - p[1], q[2] - p[2]};
    double length = std::abs(u[0]) + std::abs(u[1]) + std::abs(u[2]);  // axis-parallel
    for (double& c : u) c /= length;
    const auto& n = faces[f].n;
    records.push_back("plane-surface $-1 " + num(p[0]) + " " + num(p[1]) + " " + num(p[2]) + " " +
                      num(n[0]) + " " + num(n[1]) + " " + num(n[2]) + " " + num(u[0]) + " " +
                      num(u[1]) + " " + num(u[2]) + " forward_v I I I I #");
  }
  for (int e = 0; e < 12; ++e) {
    const auto& p = corner[edgeEnds[e].first];
    const auto& q = corner[edgeEnds[e].second];
    std::array<double, 3> d = {q[0] - p[0], q[1] - p[1], q[2] - p[2]};
    double length = std::abs(d[0]) + std::abs(d[1]) + std::abs(d[2]);
    for (double& c : d) c /= length;
    records.push_back("straight-curve $-1 " + num(p[0]) + " " + num(p[1]) + " " + num(p[2]) + " " +
                      num(d[0]) + " " + num(d[1]) + " " + num(d[2]) + " I I #");
  }
}

}  // namespace

std::string writeSat(const std::vector<SatBox>& boxes, int versionNumber, const std::string& product) {
  std::vector<std::string> records;
  for (const SatBox& box : boxes) writeBox(box, int(records.size()), records);

  const std::string version =
      "ACIS " + std::to_string(versionNumber / 100) + "." + std::to_string(versionNumber % 100);
  const std::string date = "Thu Jan 01 00:00:00 1998";
  // From version 7.0 on the header's texts carry an '@' before their length.
  const std::string mark = versionNumber >= 700 ? "@" : "";
  std::string out = std::to_string(versionNumber) + " " + std::to_string(records.size()) + " " +
                    std::to_string(boxes.size()) + " 0\n";
  out += mark + std::to_string(product.size()) + " " + product + " " + mark +
         std::to_string(version.size()) + " " + version + " " + mark +
         std::to_string(date.size()) + " " + date + "\n";
  out += "1 9.9999999999999995e-007 1e-010\n";
  for (const std::string& record : records) out += record + "\n";
  out += "End-of-ACIS-data\n";
  return out;
}
