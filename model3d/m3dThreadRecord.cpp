// Cosmetic threads: pairs of thread lines parallel to a cosmetic sketch's axis, measured against
// the body lines of the sketch the cosmetic sketch belongs to.

#include "model3d/m3dThreadRecord.h"

#include <cstring>

#include "foundation/str.h"
#include "meta/mPlaneGeometry.h"
#include "meta/metaObjRealList.h"
#include "meta/metaTree.h"
#include "model3d/m3dCosSketch.h"
#include "model3d/m3dLine.h"
#include "model3d/m3dShapeBase.h"
#include "model3d/m3dSketch.h"
#include "model3d/m3dVectorOps.h"

namespace {

struct segment2dC {
  mVec2dC start;
  mVec2dC end;
};
using segmentPoolC = pagedArrayC<segment2dC>;

const char* const cosmeticSuffix = "_COSMETIC";

// The string value of the node's "NAME" child; null when there is none. Nothing is added.
const char* nameOf(metaTreeC* node) {
  const metaObjectC view(node, 0);
  metaTreeC* name = view.findChild("NAME");
  return name ? metaObjectC(name, 0).getString() : nullptr;
}

// The first child of `items` whose "NAME" equals `name` (a missing name counts as "").
metaTreeC* findItemByName(metaTreeC* items, const char* name) {
  for (metaTreeC* item = items->firstChild(); item; item = item->nextSibling()) {
    if (str(nameOf(item)).isEqual(name)) return item;
  }
  return nullptr;
}

mVec3dC inSketchPlane(const mMat4dC& m, const mVec2dC& p) {
  return transformPoint(m, mVec3dC(p.x, p.y, 0.0));
}

bool same(const mVec2dC& a, const mVec2dC& b) { return a.equalsWithin(b, 1e-10) != 0; }

// Step 6: touching collinear segments become one; coinciding ones are dropped.
void mergeTouching(segmentPoolC& t) {
  for (std::size_t ti = t.size(); ti-- > 0;) {
    for (std::size_t ui = t.size(); ui-- > 0;) {
      if (ui == ti) continue;
      segment2dC& a = t[ti];
      segment2dC& b = t[ui];
      if (same(a.end, b.start)) {
        if (!same(a.start, b.end)) b.start = a.start;
      } else if (same(a.end, b.end)) {
        if (!same(a.start, b.start)) b.end = a.start;
      } else if (same(a.start, b.start)) {
        if (!same(a.end, b.end)) b.start = a.end;
      } else if (same(a.start, b.end)) {
        if (!same(a.end, b.start)) b.end = a.end;
      } else {
        continue;
      }
      t.removeAt(ti);
      break;
    }
  }
}

// The partner of segment t across the axis: the difference C (parallel to `across`) and the
// partner's near end D and far end E. False when no later segment qualifies.
bool findPartner(const segmentPoolC& t, std::size_t ti, const mVec2dC& across, mVec2dC& c,
                 mVec2dC& d, mVec2dC& e) {
  const segment2dC& s = t[ti];
  for (std::size_t ui = ti + 1; ui < t.size(); ++ui) {
    const segment2dC& u = t[ui];
    const struct {
      mVec2dC from, d, e;
    } tries[4] = {{s.start, u.start, u.end},
                  {s.start, u.end, u.start},
                  {s.end, u.start, u.end},
                  {s.end, u.end, u.start}};
    for (const auto& k : tries) {
      const mVec2dC diff = k.from.minus(k.d);
      if (isParallel2d(diff, across)) {
        c = diff;
        d = k.d;
        e = k.e;
        return true;
      }
    }
  }
  return false;
}

// Twice the axis distance of the body line nearest to the thread's middle along the probe
// through it; 0.0 when the probe meets none of them within its ends.
double bodyDiameter(const segment2dC& thread, const mVec2dC& c, const segmentPoolC& bodies,
                    const mVec2dC& a0, const mVec2dC& a1) {
  const mVec2dC mid = thread.start.plus(thread.end).times(0.5);
  const mVec2dC p0 = mid.minus(c.times(100000.0));
  const mVec2dC p1 = mid.plus(c.times(100000.0));
  double best = 1e8;
  double diameter = 0.0;
  for (std::size_t i = 0; i < bodies.size(); ++i) {
    const mVec2dC f = bodies[i].start, g = bodies[i].end;
    mVec2dC x;
    if (!lineIntersect2d(p0, p1, f, g, x)) continue;
    const mVec2dC h = g.minus(f);
    const double s1 = f.minus(x).dot(h);
    const double s2 = g.minus(x).dot(h);
    if (s1 != 0.0 && s2 != 0.0 && (s1 > 0.0) == (s2 > 0.0)) continue;
    const double dist = x.minus(mid).length();
    if (dist < best) {
      best = dist;
      diameter = 2.0 * pointLineDistance2d(f, a0, a1);
    }
  }
  return diameter;
}

}  // namespace

m3dThreadPoolC extractCosmeticThreads(const m3dCosSketchC& sketch) {
  m3dThreadPoolC records(3);
  metaTreeC* cosShapes = sketch.findChild("COSSHAPES");
  if (!sketch.hasAxis() || !cosShapes) return records;

  metaTreeC* matNode = sketch.findChild("MAT");
  const mMat4dC m = matNode ? metaObjRealListC(matNode, 0).matrix4d() : mMat4dC::identity();
  mVec2dC a0, a1;
  sketch.axisEnds(a0, a1);
  const mVec2dC axis = a1.minus(a0);

  const char* name = nameOf(sketch.node());
  const char* suffix = name ? std::strstr(name, cosmeticSuffix) : nullptr;
  if (!suffix) return records;
  const str baseName(name, suffix);

  // The sketch of the base name among the items of the part that holds the cosmetic sketch.
  metaTreeC* draws = sketch.parent();
  metaTreeC* part = draws ? draws->parent() : nullptr;
  metaTreeC* items = part ? metaObjectC(part, 0).findChild("ITEMS") : nullptr;
  metaTreeC* sketchItem = items ? findItemByName(items, baseName.text()) : nullptr;
  if (!sketchItem || !sketchItem->isKey("SKETCH")) return records;
  const m3dSketchC body(sketchItem, 0);

  // Lines of the body outline that run along the axis, off it.
  segmentPoolC bodies(3);
  for (std::int64_t i = 0, loops = body.loopCount(); i < loops; ++i) {
    for (metaTreeC* e = body.loop(i).node()->firstChild(); e; e = e->nextSibling()) {
      if (!isLineNode(e)) continue;
      const m3dLineC line(e, 0);
      const mVec2dC f = line.startPoint(), g = line.endPoint();
      if (isParallel2d(g.minus(f), axis) && pointLineDistance2d(f, a0, a1) >= 1e-6) {
        *bodies.appendSlot() = segment2dC{f, g};
      }
    }
  }

  // The drawn thread lines.
  segmentPoolC threads(3);
  for (metaTreeC* e = cosShapes->firstChild(); e; e = e->nextSibling()) {
    if (!isLineNode(e)) continue;
    const m3dLineC line(e, 0);
    const mVec2dC s = line.startPoint(), t = line.endPoint();
    if (s.equalsWithin(t, 1e-8)) continue;
    if (isParallel2d(s.minus(t), axis)) *threads.appendSlot() = segment2dC{s, t};
  }
  mergeTouching(threads);
  if (threads.isEmpty() || threads.size() % 2 != 0) return records;

  const mVec2dC across = axis.perpendicular();
  for (std::size_t ti = 0; ti < threads.size(); ++ti) {
    mVec2dC c, d, e;
    if (!findPartner(threads, ti, across, c, d, e)) continue;
    const double width = c.length();
    if (width == 0.0) continue;
    const segment2dC& s = threads[ti];
    m3dThreadRecordC record;
    const mVec2dC half = c.times(0.5);
    const mVec3dC o = inSketchPlane(m, d.plus(half));
    const mVec3dC z = setLength(subtract(inSketchPlane(m, e.plus(half)), o), 1.0);
    const mVec3dC x = setLength(subtract(inSketchPlane(m, d), o), 1.0);
    const mVec3dC y = cross(z, x);
    record.frame = mMat4dC::identity();
    const mVec3dC columns[4] = {x, y, z, o};
    for (int col = 0; col < 4; ++col) {
      record.frame.m[4 * col] = columns[col].x;
      record.frame.m[4 * col + 1] = columns[col].y;
      record.frame.m[4 * col + 2] = columns[col].z;
    }
    record.length = s.start.minus(s.end).length();
    record.width = width;
    record.bodyDiameter = bodyDiameter(s, c, bodies, a0, a1);
    *records.appendSlot() = record;
  }
  return records;
}
