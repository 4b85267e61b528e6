#pragma once
// m3dMateC: a mate of an assembly, a child of "MATES" whose key word names the mate class. Its
// "MEMBER" list holds two end texts "<connection point name>@<member path>"; the ends resolve to
// members and their parts' connection points. Nothing here changes the tree beyond what the
// keyed getters add. A view: it owns its node only when built with owns set.

#include "foundation/pagedArray.h"
#include "foundation/str.h"
#include "model3d/m3dConnPoint.h"
#include "model3d/m3dGeomOpBase.h"
#include "model3d/m3dMember.h"
#include "model3d/memberPath.h"

class m3dMatesC;

class m3dMateC : public m3dGeomOpBaseC {
public:
  static constexpr int classDepth = m3dGeomOpBaseC::classDepth + 1;

  // Groups of mates that join the same connection points of the same members.
  using groupC = pagedArrayC<m3dMateC>;
  using groupPoolC = pagedArrayC<groupC>;

  m3dMateC() = default;
  explicit m3dMateC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
      : m3dGeomOpBaseC(node, owns, buildVirtualBase) {}

  // The "MATES" list that holds this mate (the parent node).
  m3dMatesC mates() const;

  // The member paths of both ends (the text after the first at sign); 0 when an end has none.
  int endPaths(memberPathC& a, memberPathC& b) const;
  // The connection point names of both ends (the text before the first at sign); 0 when an end
  // has no at sign.
  int endNames(str& a, str& b) const;
  // Both ends resolved to members, starting at the assembly that owns "MATES"; 1 when both are
  // "MEMBER" nodes.
  int resolveMembers(m3dMemberC& a, m3dMemberC& b) const;
  // Both ends resolved to connection points of their members' parts; 1 when both members have a
  // part and both connection points are found.
  int resolveConnections(m3dConnPointC& a, m3dConnPointC& b) const;
  // 1 when the two connection axes, placed in the owning assembly, point against each other,
  // 2 otherwise; 0 when the mate does not resolve.
  int matingSense() const;

  // Puts every mate of `mates` into the group of the first earlier mate with equal member paths
  // and connection point names, or into a new group; `groups` receives the groups in order.
  static void groupMates(const m3dMatesC& mates, groupPoolC& groups);
};
