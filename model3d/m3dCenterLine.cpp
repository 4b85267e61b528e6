// Registration of the sketch axis line in the 2D shape registry: a "CENTER" node dispatches to
// the line bodies. Depth: one below m3dLineC.

#include "model3d/m3dCenterLine.h"

#include "meta/metaClassRegistrar.h"

namespace {
metaClassRegistrarC<m3dCenterLineC, mBaseShape2dC> registerCenterLine(
    mBaseShape2dC::registry(), "CENTER", m3dCenterLineC::classDepth);
}  // namespace
