// Feature patterns: the expansion of one body over the points of a pattern sketch, its merge
// into the part, the axes the copies would yield, and the part-wide expander.

#include "model3d/m3dFeatPattern.h"

#include <cmath>
#include <string>
#include <vector>

#include "meta/mPlaneGeometry.h"
#include "meta/metaClassRegistrar.h"
#include "meta/metaObjRealList.h"
#include "meta/metaTree.h"
#include "model3d/m3dOffsetPlane.h"
#include "model3d/m3dSketchOn.h"
#include "model3d/m3dVectorOps.h"

namespace {

metaClassRegistrarC<m3dFeatPatternC, m3dFeatGenC> registerPatternFeature(
    m3dFeatureRegistry, "FEATPATTERN", m3dFeatPatternC::classDepth);
metaClassRegistrarC<m3dFeatPatternC, m3dGeomOpBaseC> registerPatternClass(
    m3dClassRegistry, "FEATPATTERN", m3dFeatPatternC::classDepth);

// The part's operations reach the expansion through this hook (the part code sits below this).
const bool expanderRegistered = (m3dPartC::setPatternExpander(&expandPartPatterns), true);

// Detaches and deletes the "SKETCHON" child of a copied sketch.
void dropSketchOn(metaTreeC* copy) {
  if (metaTreeC* on = metaObjectC(copy, 0).findChild("SKETCHON")) {
    on->unlink();
    delete on;
  }
}

// Appends a hooked copy of `on` (a "SKETCHON" node) to the copied sketch; returns the copy.
metaTreeC* appendSketchOnCopy(metaTreeC* copy, const metaTreeC* on) {
  if (!copy || !on) return nullptr;
  return metaObjectC(copy, 0).appendChild(const_cast<metaTreeC*>(on), 1);
}

mVec3dC point3(const mVec2dC& p) { return mVec3dC(p.x, p.y, 0.0); }

}  // namespace

m3dFeatPatternBaseFeatC m3dFeatPatternC::baseFeature() const {
  return m3dFeatPatternBaseFeatC(findOrAddChild("FPBASEFEAT"), 0);
}

m3dFeatPatternSketchC m3dFeatPatternC::patternSketch() const {
  return m3dFeatPatternSketchC(findOrAddChild("FPSKETCH"), 0);
}

m3dFeatBodyC m3dFeatPatternC::baseBody() const {
  if (!node()) return m3dFeatBodyC();
  const m3dFeatGenC found = partItems().findByName(baseFeature().getName());
  // A pattern cannot repeat a pattern: its copies would be expanded again without end.
  if (!found.node() || found.hasKey("FEATPATTERN")) return m3dFeatBodyC();
  return m3dFeatBodyC(found.node(), 0);
}

m3dSketchC m3dFeatPatternC::baseSketch() const {
  const m3dFeatBodyC body = baseBody();
  if (!body.node()) return m3dSketchC();
  const m3dFeatGenC found = partItems().findByName(body.getUsed());
  if (!found.node() || !found.hasKey("SKETCH")) return m3dSketchC();
  return m3dSketchC(found.node(), 0);
}

int m3dFeatPatternC::normalsParallel() const {
  const m3dSketchC sketch = baseSketch();
  if (!sketch.node()) return 0;
  const mVec3dC a = axisZ(sketch.getMatrix());
  const mVec3dC b = axisZ(patternSketch().getMatrix());
  const double la = length(a), lb = length(b);
  if (la == 0.0 || lb == 0.0) return 0;  // a degenerate frame has no normal
  const double cosine = dot(a, b) / (la * lb);
  return std::fabs(1.0 - std::fabs(cosine)) <= 1e-10 ? 1 : 0;
}

int m3dFeatPatternC::normalsPerpendicular() const {
  const m3dSketchC sketch = baseSketch();
  if (!sketch.node()) return 0;
  const double d = dot(axisZ(sketch.getMatrix()), axisZ(patternSketch().getMatrix()));
  return std::fabs(d) < 1e-10 ? 1 : 0;
}

int m3dFeatPatternC::referenceOnPatternPlane() const {
  const mMat4dC r = patternSketch().getMatrix();
  const mVec3dC p = baseFeature().referencePoint();
  return std::fabs(dot(axisZ(r), subtract(p, origin(r)))) < 1e-8 ? 1 : 0;
}

int m3dFeatPatternC::referenceOnParallelPlane() const {
  return normalsParallel() ? referenceOnPatternPlane() : 0;
}

int m3dFeatPatternC::scaleGeometry(double factor) {
  baseFeature().scaleGeometry(factor);
  patternSketch().scaleGeometry(factor);
  return 1;
}

int m3dFeatPatternC::expand(const m3dPartC& part, const m3dFeatPatternListsC& lists) const {
  lists.clearResults();
  const m3dFeatBodyC body = baseBody();
  const m3dSketchC sketch = baseSketch();
  if (!body.node() || !sketch.node()) return 0;

  const mMat4dC q = sketch.getMatrix();
  const m3dSketchOnC baseOn = sketch.sketchOn();
  const bool onPlane = baseOn.hasPlane();
  const bool parallel = normalsParallel() != 0;
  if (!onPlane && !parallel) return 0;
  const bool newPlanes = onPlane && !parallel;

  const mVec3dC ref = baseFeature().referencePoint();
  const m3dFeatPatternSketchC pattern = patternSketch();
  const mMat4dC r = pattern.getMatrix();
  const mMat4dC rInverse = invertRigidTransform(r);
  const m3dCosSketchC cosmetic = part.cosmeticSketchOf(metaObjectC(sketch.node(), 0));
  const metaTreeC* patternOn = pattern.findOrAddChild("SKETCHON");

  const bool rotates = pattern.hasRotationCentre();
  const mVec2dC centre = pattern.rotationCentre();
  mVec2dC w0;
  if (rotates) {
    const mVec3dC z = axisZ(r);
    const mVec3dC onPatternPlane = subtract(ref, scaleBy(z, dot(subtract(ref, origin(r)), z)));
    const mVec3dC local = transformPoint(rInverse, onPatternPlane);
    w0 = mVec2dC(local.x, local.y).minus(centre);
  }

  const str sketchName(sketch.getName());
  const str bodyName(body.getName());
  const str patternName(getName());
  const str basePlaneName(baseOn.planeName());
  const mVec3dC zQ = axisZ(q);
  const m3dPartItemsC partItemsList = part.node() ? part.items() : m3dPartItemsC();
  const m3dPlaneC basePlane(partItemsList.findByName(basePlaneName.text()).node(), 0);

  // Each copy goes last into its list, linked at the list's kept tail.
  m3dChildAppenderC planeList(lists.list(m3dFeatPatternListsC::planes));
  m3dChildAppenderC sketchList(lists.list(m3dFeatPatternListsC::sketches));
  m3dChildAppenderC bodyList(lists.list(m3dFeatPatternListsC::bodies));
  m3dChildAppenderC cosmeticList(lists.list(m3dFeatPatternListsC::cosmetics));

  metaTreeC* points = pattern.pointsNode();
  int n = 1;
  for (metaTreeC* child = points ? points->firstChild() : nullptr; child;
       child = child->nextSibling(), ++n) {
    const mVec2dC s = metaObjRealListC(child, 0).vector2d();
    const mVec3dC p = transformPoint(r, point3(s));
    const std::string number = std::to_string(n);

    metaTreeC* sketchCopy = sketch.cloneNode(1, 1);
    metaTreeC* cosmeticCopy = cosmetic.node() ? cosmetic.cloneNode(1, 1) : nullptr;
    if (!sketchCopy) {
      delete cosmeticCopy;
      return 0;
    }
    dropSketchOn(sketchCopy);
    if (cosmeticCopy) dropSketchOn(cosmeticCopy);

    if (newPlanes) {
      str planeName(basePlaneName);
      planeName.append(sketchName.text());
      planeName.append(number.c_str());
      const mVec3dC d = subtract(p, ref);
      const double along = dot(d, zQ);
      const m3dOffsetPlaneC plane =
          makeOffsetPlane(basePlane, planeName.text(), along < 0.0 ? 1 : 0, std::fabs(along), 0);
      planeList.append(plane.node());
      if (metaTreeC* on = appendSketchOnCopy(sketchCopy, baseOn.node()))
        m3dSketchOnC(on, 0).setPlaneName(planeName.text());
      if (cosmeticCopy) {
        if (metaTreeC* on = appendSketchOnCopy(cosmeticCopy, cosmetic.sketchOn().node()))
          m3dSketchOnC(on, 0).setPlaneName(planeName.text());
      }
    } else {
      appendSketchOnCopy(sketchCopy, patternOn);
      if (cosmeticCopy) appendSketchOnCopy(cosmeticCopy, patternOn);
    }

    mMat4dC u = q;
    const mVec3dC moved = origin(q).plus(subtract(p, ref));
    u.m[12] = moved.x;
    u.m[13] = moved.y;
    u.m[14] = moved.z;
    if (rotates) {
      const double angle = vectorAngleDeg(w0, s.minus(centre));
      u = translationMatrix(p)
              .multiply(rotationFromAxisAngle(axisZ(u), angle))
              .multiply(translationMatrix(scaleBy(p, -1.0)))
              .multiply(u);
    }

    str copyName(patternName);
    copyName.append("_SKETCH_");
    copyName.append(number.c_str());
    const m3dSketchBaseC sketchView(sketchCopy, 0);
    sketchView.setMatrix(u);
    sketchView.setAttrString("NAME", copyName.text());
    if (cosmeticCopy) {
      const m3dSketchBaseC cosmeticView(cosmeticCopy, 0);
      cosmeticView.setMatrix(u);
      str cosmeticName(copyName);
      cosmeticName.append("_COSMETIC");
      cosmeticView.setAttrString("NAME", cosmeticName.text());
    }

    metaTreeC* bodyCopy = body.cloneNode(1, 1);
    if (bodyCopy) {
      const m3dFeatGenC bodyView(bodyCopy, 0);
      str copyBodyName(bodyName);
      copyBodyName.append("_");
      copyBodyName.append(number.c_str());
      bodyView.setName(copyBodyName.text());
      bodyView.setUsed(copyName.text());
    }

    sketchList.append(sketchCopy);
    bodyList.append(bodyCopy);
    cosmeticList.append(cosmeticCopy);
  }
  return 1;
}

int m3dFeatPatternC::expandIntoPart() {
  const m3dPartItemsC items = partItems();
  if (!items.node()) return 0;
  metaTreeC* partNode = items.parent();
  if (!partNode || !partNode->isKey("PART")) return 0;
  const m3dPartC part(partNode, 0);
  m3dFeatPatternListsC lists;
  if (!expand(part, lists)) return 0;
  lists.mergeLists(node(), 1);
  m3dChildAppenderC draws(part.cosmeticDraws().node());
  for (metaTreeC* c = lists.list(m3dFeatPatternListsC::cosmetics)->firstChild(); c;
       c = c->nextSibling())
    draws.append(metaObjectC(c, 0).cloneNode(1, 1));
  return 1;
}

int m3dFeatPatternC::collectFeatureAxes(m3dAxisPoolC& pool) {
  m3dFeatPatternListsC lists;
  if (!expand(m3dPartC(), lists)) return static_cast<int>(pool.size());
  // The copies stand in a scratch items list of their own, so each body finds its sketch copy.
  const m3dPartItemsC scratch(metaTreeC::createKeyNode("ITEMS"), 1);
  if (metaTreeC* chain = lists.mergeLists(nullptr, 0)) chain->appendAsLastChild(scratch.node());
  for (metaTreeC* item = scratch.node()->firstChild(); item; item = item->nextSibling()) {
    m3dAxisPoolC fresh(3);
    m3dFeatGenC(item, 0).collectFeatureAxes(fresh);
    pool.appendAll(fresh);
  }
  return static_cast<int>(pool.size());
}

int expandPartPatterns(m3dDocumentC& document) {
  m3dNodeListC parts = makeNodeList();
  document.listPartNodes(parts);
  int expanded = 0;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    metaTreeC* items = metaObjectC(parts[i], 0).findChild("ITEMS");
    if (!items) continue;
    // The patterns are taken before any of them is expanded: the items an expansion adds are
    // not patterns to expand again.
    std::vector<metaTreeC*> patterns;
    for (metaTreeC* child = items->firstChild(); child; child = child->nextSibling())
      if (child->isKey("FEATPATTERN")) patterns.push_back(child);
    for (metaTreeC* pattern : patterns) expanded += m3dFeatPatternC(pattern, 0).expandIntoPart();
  }
  return expanded;
}
