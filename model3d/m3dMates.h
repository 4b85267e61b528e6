#pragma once
// m3dMatesC: the view on an assembly's "MATES" list; its children, whatever their keys, are
// handed out by position as m3dMateC views. It owns its node only when built with owns set.

#include "model3d/m3dAsm.h"
#include "model3d/m3dMate.h"
#include "model3d/metaObjListObjectCommonBaseTemplate.h"

class m3dMatesC : public metaObjListObjectCommonBaseTemplateC<m3dMateC>, public m3dGeomOpBaseC {
public:
  m3dMatesC() = default;
  explicit m3dMatesC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
      : metaObjListObjectCommonBaseTemplateC<m3dMateC>(node, owns, buildVirtualBase),
        m3dGeomOpBaseC(node, owns, 0) {}
  // Copies only: a move would pass through the two view bases and unbind the handle.
  m3dMatesC(const m3dMatesC&) = default;
  m3dMatesC& operator=(const m3dMatesC&) = default;

  // The assembly that holds the list (the parent node).
  m3dAsmC owner() const { return m3dAsmC(parent(), 0); }
};
