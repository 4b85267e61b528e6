// The cosmetic sketch container of a part.

#include "model3d/m3dCosmeticDraws.h"

#include "meta/metaTree.h"
#include "model3d/m3dPart.h"

m3dCosSketchC m3dCosmeticDrawsC::findByName(const char* name) const {
  if (node()) {
    for (metaTreeC* child = node()->firstChild(); child; child = child->nextSibling()) {
      if (!child->isKey("COSSKETCH")) continue;
      if (str(m3dCosSketchC(child, 0).getName()).isEqual(name)) return m3dCosSketchC(child, 0);
    }
  }
  return m3dCosSketchC();
}

m3dPartC m3dCosmeticDrawsC::part() const { return m3dPartC(parent(), 0); }
