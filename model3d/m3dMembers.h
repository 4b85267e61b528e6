#pragma once
// m3dMembersC: the view on an assembly node itself whose elements are its "MEMBER" children.
// Its geometry operations forward by key. It owns its node only when built with owns set.

#include "meta/metaObjKeyContainerTemplate.h"
#include "model3d/m3dMember.h"

class m3dMembersC : public metaObjKeyContainerTemplateC<m3dMemberC>, public m3dGeomOpBaseC {
public:
  m3dMembersC() = default;
  explicit m3dMembersC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
      : metaObjKeyContainerTemplateC<m3dMemberC>(node, owns, buildVirtualBase),
        m3dGeomOpBaseC(node, owns, 0) {}
  // Copies only: a move would pass through the two view bases and unbind the handle.
  m3dMembersC(const m3dMembersC&) = default;
  m3dMembersC& operator=(const m3dMembersC&) = default;
};
