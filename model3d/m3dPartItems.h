#pragma once
// m3dPartItemsC: the view on a part's "ITEMS" list, the ordered features (sketches, planes,
// bodies, feature patterns) handed out by position as m3dFeatGenC views. Its two geometry
// operations forward by key like every m3dGeomOpBaseC. It owns its node only when built with
// owns set.

#include "model3d/m3dFeatGen.h"
#include "model3d/metaObjListObjectCommonBaseTemplate.h"

class m3dPartItemsC : public metaObjListObjectCommonBaseTemplateC<m3dFeatGenC>,
                      public m3dGeomOpBaseC {
public:
  m3dPartItemsC() = default;
  explicit m3dPartItemsC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
      : metaObjListObjectCommonBaseTemplateC<m3dFeatGenC>(node, owns, buildVirtualBase),
        m3dGeomOpBaseC(node, owns, 0) {}
  // Copies only: a move would pass through the two view bases and unbind the handle.
  m3dPartItemsC(const m3dPartItemsC&) = default;
  m3dPartItemsC& operator=(const m3dPartItemsC&) = default;

  // A child whose key word is `key`; null when none.
  metaTreeC* nodeByKey(const char* key) const { return findChild(key); }
};
