// Sketch items: geometry operations over frame, record and loops; registered under "SKETCH".

#include "model3d/m3dSketch.h"

#include "meta/metaClassRegistrar.h"
#include "meta/metaTree.h"

namespace {

// The registry stores the address of the m3dGeomOpBaseC part; a sketch has two (one per side),
// and the sketch side is the one stored. It sits at the start of m3dSketchBaseC, so the
// m3dSketchBaseC address is that part's address.
metaClassRegistrarC<m3dSketchC, m3dSketchBaseC> registerSketch(m3dClassRegistry, "SKETCH",
                                                                m3dSketchC::classDepth);

}  // namespace

int m3dSketchC::scaleGeometry(double factor) {
  m3dSketchBaseC::scaleGeometry(factor);
  scaleLoops(factor);
  return 1;
}

int m3dSketchC::transformGeometry(const mMat4dC& transform) {
  const bool mirror = mirrorsFrame(transform);
  m3dSketchBaseC::transformGeometry(transform);
  if (metaTreeC* on = m3dSketchBaseC::findChild("SKETCHON")) {
    m3dSketchOnC(on, 0).transformGeometry(transform);
  }
  if (mirror) mirrorLoops();
  return 1;
}
