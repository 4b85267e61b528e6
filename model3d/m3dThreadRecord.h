#pragma once
// m3dThreadRecordC: one cosmetic thread found in a cosmetic sketch: a frame on the thread's axis
// at the thread's start (X radial, Z along the thread, Y = Z x X), the drawn length, the distance
// between the thread line and its partner across the axis, and the diameter of the body surface
// the thread sits on (0.0 when no body line is met). Plain record; pools own their records.

#include "foundation/pagedArray.h"
#include "meta/mMat4d.h"

class m3dCosSketchC;

struct m3dThreadRecordC {
  mMat4dC frame;
  double length = 0.0;
  double width = 0.0;
  double bodyDiameter = 0.0;
};

// Records in pages of 8.
using m3dThreadPoolC = pagedArrayC<m3dThreadRecordC>;

// The threads drawn in a cosmetic sketch named "<sketch>_COSMETIC" of a part, measured against
// the loops of the part's sketch item "<sketch>"; an empty pool when anything is missing. Reads
// only; the tree is not changed except for attributes that reading adds.
m3dThreadPoolC extractCosmeticThreads(const m3dCosSketchC& sketch);
