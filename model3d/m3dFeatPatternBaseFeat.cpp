// The base feature reference of a feature pattern: the patterned body's name and reference point.

#include "meta/metaClassRegistrar.h"
#include "meta/metaObjRealList.h"
#include "meta/metaTree.h"
#include "model3d/m3dFeatPatternBaseFeat.h"

namespace {

metaClassRegistrarC<m3dFeatPatternBaseFeatC, m3dGeomOpBaseC> registerPatternBaseFeature(
    m3dClassRegistry, "FPBASEFEAT", m3dFeatPatternBaseFeatC::classDepth);

}  // namespace

mVec3dC m3dFeatPatternBaseFeatC::referencePoint(int* found) const {
  return metaObjRealListC(findOrAddChild("POINT3D"), 0).vector3d(found);
}

void m3dFeatPatternBaseFeatC::setReferencePoint(const mVec3dC& p) const {
  metaObjRealListC(findOrAddChild("POINT3D"), 0).setVector3d(p);
}

int m3dFeatPatternBaseFeatC::scaleGeometry(double factor) {
  metaObjRealListC(findOrAddChild("POINT3D"), 0).scale(factor);
  return 1;
}
