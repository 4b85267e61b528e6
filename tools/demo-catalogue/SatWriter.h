#pragma once
// Writes 3D parts as SAT text: a header for the requested format version, one solid body per
// box (a closed boundary of six planar faces with their loops, coedges, edges, vertices, points,
// straight curves and plane surfaces, all pointers resolved inside the file) and the end marker.

#include <string>
#include <vector>

struct SatBox {
  double x = 0.0, y = 0.0, z = 0.0;        // lower corner, millimetres
  double dx = 1.0, dy = 1.0, dz = 1.0;     // edge lengths, positive
};

// The version number of the header for a format version text: "1.6" gives 106, "7.0" gives 700.
// 0 for a text that is not "MAJOR.MINOR" with MAJOR 1..99 and MINOR 0..99.
int satVersionNumber(const std::string& formatVersion);

// The SAT text of the boxes, one body each, in the given header version (as satVersionNumber
// gives it). The product line names `product`.
std::string writeSat(const std::vector<SatBox>& boxes, int versionNumber, const std::string& product);
