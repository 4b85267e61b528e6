#pragma once
// m3dMemberAsmC: a view on an assembly that is the document of a member, with the way back to
// that member. A view: it owns its node only when built with owns set.

#include "model3d/m3dAsm.h"
#include "model3d/m3dMember.h"

class m3dMemberAsmC : public m3dAsmC {
public:
  static constexpr int classDepth = m3dAsmC::classDepth + 1;

  m3dMemberAsmC() = default;
  explicit m3dMemberAsmC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
      : m3dAsmC(node, owns, buildVirtualBase) {}

  // The member that holds this assembly (the parent node).
  m3dMemberC memberOf() const { return m3dMemberC(parent(), 0); }
};
