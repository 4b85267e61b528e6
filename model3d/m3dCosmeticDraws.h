#pragma once
// m3dCosmeticDrawsC: the view on a part's "COSDRAW" container; its elements are the "COSSKETCH"
// children. Its geometry operations forward by key ("COSDRAW" is not registered, so they answer
// 0); the part walks the elements itself. It owns its node only when built with owns set.

#include "meta/metaObjKeyContainerTemplate.h"
#include "model3d/m3dCosSketch.h"

class m3dPartC;

class m3dCosmeticDrawsC : public metaObjKeyContainerTemplateC<m3dCosSketchC>,
                          public m3dGeomOpBaseC {
public:
  m3dCosmeticDrawsC() = default;
  explicit m3dCosmeticDrawsC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
      : metaObjKeyContainerTemplateC<m3dCosSketchC>(node, owns, buildVirtualBase),
        m3dGeomOpBaseC(node, owns, 0) {}
  // Copies only: a move would pass through the two view bases and unbind the handle.
  m3dCosmeticDrawsC(const m3dCosmeticDrawsC&) = default;
  m3dCosmeticDrawsC& operator=(const m3dCosmeticDrawsC&) = default;

  // The first "COSSKETCH" child whose "NAME" equals `name` (str equality); unbound when none.
  m3dCosSketchC findByName(const char* name) const;
  // The part that holds this container (its parent node).
  m3dPartC part() const;
};
