// The pattern sketch of a feature pattern: its points and rotation centre, scaled with the sketch.

#include "meta/metaClassRegistrar.h"
#include "meta/metaObjRealList.h"
#include "meta/metaTree.h"
#include "model3d/m3dFeatPatternSketch.h"

namespace {

metaClassRegistrarC<m3dFeatPatternSketchC, m3dGeomOpBaseC> registerPatternSketch(
    m3dClassRegistry, "FPSKETCH", m3dFeatPatternSketchC::classDepth);

}  // namespace

mVec2dC m3dFeatPatternSketchC::rotationCentre() const {
  metaTreeC* centre = findChild("FPSKETCHROTCP");
  if (!centre) return mVec2dC();
  return metaObjRealListC(centre, 0).vector2d();
}

int m3dFeatPatternSketchC::scaleGeometry(double factor) {
  m3dSketchBaseC::scaleGeometry(factor);
  if (metaTreeC* points = pointsNode()) {
    for (metaTreeC* point = points->firstChild(); point; point = point->nextSibling())
      metaObjRealListC(point, 0).scale(factor);
  }
  if (metaTreeC* centre = findChild("FPSKETCHROTCP")) metaObjRealListC(centre, 0).scale(factor);
  return 1;
}
