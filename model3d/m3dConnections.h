#pragma once
// m3dConnectionsC: the view on a part's "CONNECT" container; its elements are the "CONNPOINT"
// children. Its geometry operations forward by key ("CONNECT" is not registered, so they answer
// 0); the part walks the elements itself. It owns its node only when built with owns set.

#include "meta/metaObjKeyContainerTemplate.h"
#include "model3d/m3dConnPoint.h"

class m3dConnectionsC : public metaObjKeyContainerTemplateC<m3dConnPointC>, public m3dGeomOpBaseC {
public:
  m3dConnectionsC() = default;
  explicit m3dConnectionsC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
      : metaObjKeyContainerTemplateC<m3dConnPointC>(node, owns, buildVirtualBase),
        m3dGeomOpBaseC(node, owns, 0) {}
  // Copies only: a move would pass through the two view bases and unbind the handle.
  m3dConnectionsC(const m3dConnectionsC&) = default;
  m3dConnectionsC& operator=(const m3dConnectionsC&) = default;

  // The first "CONNPOINT" child whose "NAME" equals `name` (str equality: null and "" are
  // equal); unbound when none.
  m3dConnPointC findByName(const char* name) const;
};
