// Parts: geometry operations over their containers, view cosmetics and axis lines.

#include "model3d/m3dPart.h"

#include <cmath>

#include "meta/metaClassRegistrar.h"
#include "meta/metaTree.h"
#include "model3d/m3dCosSketchRet.h"
#include "model3d/m3dVectorOps.h"

namespace {

constexpr double kPi = 3.141592653589793;

m3dPartC::patternExpanderF expanderHook = nullptr;

metaClassRegistrarC<m3dPartC, m3dGeomOpBaseC> registerPartClass(m3dClassRegistry, "PART",
                                                                 m3dPartC::classDepth);
metaClassRegistrarC<m3dPartC, m3dDocumentC> registerPartDocument(m3dDocumentRegistry, "PART",
                                                                 m3dPartC::classDepth);

bool itemsHoldPattern(const m3dPartC& part) {
  metaTreeC* items = part.findChild("ITEMS");
  return items && metaTreeC::findKey(items->firstChild(), "FEATPATTERN", 0) != nullptr;
}

}  // namespace

void m3dPartC::setPatternExpander(patternExpanderF expander) { expanderHook = expander; }
m3dPartC::patternExpanderF m3dPartC::patternExpander() { return expanderHook; }

bool m3dPartC::isNegative() const {
  int found = 0;
  const char* type = getAttrKeyWord("MTYP", &found);
  return found && str(type).isEqual("NEG");
}

m3dCosSketchC m3dPartC::cosmeticSketchOf(const metaObjectC& feature) const {
  if (!node() || !feature.hasKey("SKETCH")) return m3dCosSketchC();
  str name(feature.getAttrString("NAME"));
  name.append("_COSMETIC");
  return cosmeticDraws().findByName(name.text());
}

double m3dPartC::minSketchMeasure(mBaseShape2dC* element) const {
  return items().minSketchMeasure(element);
}

int m3dPartC::sumSketchGaps(double threshold) const { return items().sumSketchGaps(threshold); }

int m3dPartC::scaleGeometry(double factor) {
  if (factor == 1.0) return 1;
  items().scaleChildren(factor, nullptr);
  connections().scaleChildren(factor, "CONNPOINT");
  cosmeticDraws().scaleChildren(factor, "COSSKETCH");
  return 1;
}

int m3dPartC::transformGeometry(const mMat4dC& transform) {
  items().transformChildren(transform, nullptr);
  connections().transformChildren(transform, "CONNPOINT");
  cosmeticDraws().transformChildren(transform, nullptr);
  return 1;
}

m3dNodeListC& m3dPartC::listPartNodes(m3dNodeListC& list) {
  list.reset();
  if (node()) list.append(node());
  return list;
}

m3dNodeListC& m3dPartC::listDocumentNodes(m3dNodeListC& list) { return listPartNodes(list); }

int m3dPartC::collectViewCosmetics(const mMat4dC& view, const metaObjectC& output) {
  if (!itemsHoldPattern(*this)) return collectOwnCosmetics(view, output);
  // The patterns are expanded on a copy, so this part's own tree stays as it is. The copy's
  // cosmetics are collected without looking for patterns again: a pattern that could not be
  // expanded must not send this operation round in circles.
  m3dPartC copy(cloneNode(1, 1), 1);
  if (expanderHook) expanderHook(copy);
  return copy.collectOwnCosmetics(view, output);
}

int m3dPartC::collectOwnCosmetics(const mMat4dC& view, const metaObjectC& output) const {
  const mVec3dC v = axisZ(view);
  // |z . v| at or above this counts as facing the view, either way round.
  const auto faces = [&v](const mMat4dC& m) { return std::fabs(dot(axisZ(m), v)) >= 0.99999999; };
  const int partNumber = getPartNumber();
  const m3dCosmeticDrawsC draws = cosmeticDraws();
  const std::int64_t count = draws.count();
  for (std::int64_t i = 0; i < count; ++i) {
    const m3dCosSketchC sketch = draws.item(i);
    const mMat4dC m = sketch.getMatrix();
    mMat4dC placed = m;
    if (!faces(m)) {
      mVec3dC p0, p1;
      if (!sketch.axisEndsInModel(p0, p1)) continue;
      const mVec3dC c = setLength(subtract(p1, p0), 1.0);
      if (std::fabs(dot(c, v)) > 1e-8) continue;
      // z . v may stray outside [-1, 1] by rounding when the axes are not unit vectors.
      const double cosine = std::fmax(-1.0, std::fmin(1.0, dot(axisZ(m), v)));
      const double angle = std::acos(cosine) * 180.0 / kPi;
      const auto turnedBy = [&](double degrees) {
        return translationMatrix(p0)
            .multiply(rotationFromAxisAngle(c, degrees))
            .multiply(translationMatrix(scaleBy(p0, -1.0)))
            .multiply(m);
      };
      // The turn by +angle about c is the rule and is kept wherever it ends facing the view: at a
      // right angle it always does (z then ends along -v or +v, as c was drawn). Otherwise it
      // faces only when c points along z x v; an axis line drawn the other way turns by -angle.
      placed = turnedBy(angle);
      if (!faces(placed)) placed = turnedBy(-angle);
    }
    metaTreeC* copy = sketch.cloneNode(1, 1);
    if (!copy) continue;
    const m3dCosSketchRetC produced(copy, 0);
    produced.setMatrix(placed);
    if (!output.appendChild(copy, 0)) {
      delete copy;  // no output node: nothing took the copy over
      continue;
    }
    produced.setOwnerPartNumber(partNumber);
  }
  return 1;
}

void m3dPartC::collectAxisLines(const mMat4dC& view, m3dAxisPoolC& pool, int allDirections) {
  m3dAxisPoolC working(3);
  if (metaTreeC* items = findChild("ITEMS")) {
    for (metaTreeC* child = items->firstChild(); child; child = child->nextSibling()) {
      m3dAxisPoolC fresh(3);
      m3dFeatGenC(child, 0).collectFeatureAxes(fresh);
      working.appendAll(fresh);
    }
  }
  const int partNumber = getPartNumber();
  const mVec3dC v = axisZ(view);
  for (std::size_t i = 0; i < working.size(); ++i) {
    const m3dAxisSegmentC& segment = working[i];
    const mVec3dC d = setLength(subtract(segment.end, segment.start), 1.0);
    if (!allDirections && std::fabs(dot(d, v)) > 1e-8) continue;
    m3dAxisSegmentC* added = pool.appendSlot();
    *added = m3dAxisSegmentC{segment.start, segment.end, 0, 0};
    added->tag = partNumber;
  }
}

int m3dPartC::setDocumentUnitValue(double value) {
  double factor = 1.0;
  bool changed = false;
  if (!unitChange("PARTPREFS", value, factor, changed)) return 0;
  if (changed) {
    scaleGeometry(factor);
    storeUnitValue("PARTPREFS", value);
  }
  return 1;
}
