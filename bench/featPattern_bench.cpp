// Feature pattern expansion: expandPartPatterns on a part holding one extruded body, its sketch
// and cosmetic sketch, and one pattern of n points, for each kind of expansion: parallel (the
// copies lie on the base sketch's plane), crossing (the pattern sketch stands across the base
// sketch, so every copy gets a new offset plane), and each of the two with a rotation centre.
// A fresh copy of the part is made before and deleted after every expansion, both outside the
// timed region. Pairs for a ratio:
// BM_PatternExpand<Kind>/8000 with BM_PatternExpand<Kind>/1000 (linear expansion: about 8).

#include <benchmark/benchmark.h>

#include <cmath>
#include <string>

#include "meta/mMat4d.h"
#include "meta/metaTree.h"
#include "model3d/m3dFeatPattern.h"
#include "model3d/m3dPart.h"
#include "model3d/testing/m3dTestTree.h"

namespace {

using namespace m3dtesting;

enum patternKind { parallel, crossing, rotating, rotatingCrossing };

// The pattern sketch's plane: the base sketch's own (x-y) plane, or the upright x-z plane whose
// point (x, y) lies at (x, 0, y).
mMat4dC patternFrame(patternKind kind) {
  if (kind == crossing || kind == rotatingCrossing)
    return frame({1, 0, 0}, {0, 0, 1}, {0, -1, 0}, {0, 0, 0});
  return mMat4dC::identity();
}

// n points on a 100-column grid of step 10 from the origin; a rotating pattern puts them on the
// circle of radius 5 about its centre (0, 0) instead, starting at the reference point (5, 0).
std::string pointsText(patternKind kind, int n) {
  const bool rotates = kind == rotating || kind == rotatingCrossing;
  std::string out;
  for (int i = 0; i < n; ++i) {
    char buf[80];
    if (rotates) {
      const double a = 6.283185307179586 * i / n;
      std::snprintf(buf, sizeof buf, "POINT { %.17g %.17g } ", 5 * std::cos(a), 5 * std::sin(a));
    } else {
      std::snprintf(buf, sizeof buf, "POINT { %d %d } ", 10 * (i % 100), 10 * (i / 100));
    }
    out += buf;
  }
  return out;
}

treeP patternPart(patternKind kind, int n) {
  const bool rotates = kind == rotating || kind == rotatingCrossing;
  const std::string sketchFrame = matText(rotates ? translation(5, 0, 0) : mMat4dC::identity());
  return readTree(
      "PART { ITEMS { PLANE { NAME { \"Plane XY\" } TYP { XY } " +
      matText(mMat4dC::identity()) + " } "
      "SKETCH { NAME { \"S\" } " + sketchFrame + " SKETCHON { PLANE { \"Plane XY\" } } "
      "LOOP { CIRCLE { POINT { 0 0 } RAD { 1 } } } } "
      "BASE { NAME { \"B\" } TYP { EXTRUDE } USED { \"S\" } PARAM { 5 0 0 } } "
      "FEATPATTERN { NAME { \"P1\" } FPBASEFEAT { NAME { \"B\" } POINT3D { " +
      (rotates ? "5 0 0" : "0 0 0") + " } } "
      "FPSKETCH { " + matText(patternFrame(kind)) + " SKETCHON { PLANE { \"Plane XY\" } } "
      "FPSKETCHPOINTS { " + pointsText(kind, n) + "} " +
      (rotates ? "FPSKETCHROTCP { 0 0 } " : "") + "} } } "
      "COSDRAW { COSSKETCH { NAME { \"S_COSMETIC\" } " + sketchFrame +
      " SKETCHON { PLANE { \"Plane XY\" } } } } }");
}

void expandPattern(benchmark::State& state, patternKind kind) {
  const int n = static_cast<int>(state.range(0));
  const treeP source = patternPart(kind, n);
  if (!source) {
    state.SkipWithError("the pattern part could not be read");
    return;
  }
  for (auto _ : state) {
    state.PauseTiming();
    treeP tree(source->cloneSubtree());
    m3dPartC part(tree.get(), 0);
    state.ResumeTiming();
    if (expandPartPatterns(part) != 1) {
      state.SkipWithError("the pattern was not expanded");
      return;
    }
    state.PauseTiming();
    tree.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * n);
}

void BM_PatternExpandParallel(benchmark::State& state) { expandPattern(state, parallel); }
void BM_PatternExpandCrossing(benchmark::State& state) { expandPattern(state, crossing); }
void BM_PatternExpandRotating(benchmark::State& state) { expandPattern(state, rotating); }
void BM_PatternExpandRotatingCrossing(benchmark::State& state) {
  expandPattern(state, rotatingCrossing);
}

}  // namespace

BENCHMARK(BM_PatternExpandParallel)->Arg(1000)->Arg(8000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PatternExpandCrossing)->Arg(1000)->Arg(8000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PatternExpandRotating)->Arg(1000)->Arg(8000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PatternExpandRotatingCrossing)->Arg(1000)->Arg(8000)->Unit(benchmark::kMillisecond);
