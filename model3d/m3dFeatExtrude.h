#pragma once
// m3dFeatExtrudeC: the view of an extruded body ("TYP" "EXTRUDE") over its "PARAM" list (depth in
// model units, reverse flag, symmetric flag; a list that does not hold exactly three reals reads
// as zeros) and the axes of its extruded circles. Never registered; the body operations build
// it. A view: it owns its node only when built with owns set.

#include "model3d/m3dFeatBody.h"

class m3dFeatExtrudeC : public m3dFeatBodyC {
public:
  static constexpr int classDepth = m3dFeatBodyC::classDepth + 1;

  // Direction modes: along the sketch normal, against it, to both sides.
  enum : int { alongNormal = 0, reversed = 1, symmetric = 2 };

  m3dFeatExtrudeC() = default;
  explicit m3dFeatExtrudeC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
      : m3dFeatBodyC(node, owns, buildVirtualBase) {}

  double depth() const;
  // Rewrites the depth, keeps both flags.
  void setDepth(double depth) const;
  // 2 when the symmetric flag is 1.0, else 1 when the reverse flag is 1.0, else 0.
  int directionMode() const;
  // Mode 2 sets the symmetric flag to 1.0; modes 0 and 1 clear it and set the reverse flag to
  // 0.0 or 1.0, so the mode read back is the mode written. Other modes are ignored.
  void setDirectionMode(int mode) const;

  // One segment per one-circle loop of the used sketch (for a cut with several loops, loop 0,
  // its outer boundary, is skipped), from the circle's centre along the extrusion; tag 0.
  // Returns the pool's count.
  int extrusionAxes(m3dAxisPoolC& pool) const;
};
