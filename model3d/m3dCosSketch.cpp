// Cosmetic sketches: geometry operations over frame and cosmetic shapes; registered under
// "COSSKETCH".

#include "model3d/m3dCosSketch.h"

#include "meta/metaClassRegistrar.h"
#include "model3d/m3dCosmeticDraws.h"

namespace {
metaClassRegistrarC<m3dCosSketchC, m3dGeomOpBaseC> registerCosSketch(m3dClassRegistry, "COSSKETCH",
                                                                      m3dCosSketchC::classDepth);
}  // namespace

m3dCosmeticDrawsC m3dCosSketchC::cosmeticDrawsOf() const { return m3dCosmeticDrawsC(parent(), 0); }

int m3dCosSketchC::scaleGeometry(double factor) {
  m3dSketchBaseC::scaleGeometry(factor);
  if (hasCosShapes()) cosShapes().scaleShapes(factor);
  return 1;
}

int m3dCosSketchC::transformGeometry(const mMat4dC& transform) {
  const bool mirror = mirrorsFrame(transform);
  m3dSketchBaseC::transformGeometry(transform);
  if (mirror && hasCosShapes()) cosShapes().transformShapes(sketchYMirror());
  return 1;
}
