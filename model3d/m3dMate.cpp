// Mates: member paths, resolution of the two ends, mating sense and grouping; the "TRANSZ" mate.

#include "model3d/m3dMate.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <vector>

#include "meta/metaClassRegistrar.h"
#include "meta/metaObjListContainer.h"
#include "meta/metaTree.h"
#include "model3d/m3dMateTransZ.h"
#include "model3d/m3dMates.h"
#include "model3d/m3dPart.h"
#include "model3d/m3dVectorOps.h"

namespace {

metaClassRegistrarC<m3dMateTransZC, m3dGeomOpBaseC> registerTransZ(m3dClassRegistry, "TRANSZ",
                                                                    m3dMateTransZC::classDepth);

// atoi's reading (leading blanks and sign, digits up to the first other byte, 0 for none),
// with numbers beyond the int range clamped instead of undefined.
int readNumber(const char* text) {
  errno = 0;
  const long value = std::strtol(text, nullptr, 10);
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

// The two end texts of a mate: strings 0 and 1 of its "MEMBER" list (found or created).
void endTexts(const m3dMateC& mate, str& a, str& b) {
  const metaObjListContainerC list(mate.findOrAddChild("MEMBER"), 0);
  a = list.childTextAt(0);
  b = list.childTextAt(1);
}

// Both end texts with the position of their '@' (name before it, member path after it); false
// when either end has none.
bool splitEndTexts(const m3dMateC& mate, str& a, long& atA, str& b, long& atB) {
  endTexts(mate, a, b);
  atA = a.findChar('@');
  atB = b.findChar('@');
  return atA >= 0 && atB >= 0;
}

// Follows the path from the assembly node `assembly`; the member reached, or null.
metaTreeC* resolvePath(memberPathC path, metaTreeC* assembly) {
  while (isAssemblyNode(assembly)) {
    const m3dMembersC members(assembly, 0);
    const long i = static_cast<long>(path.next()) - 1;
    if (i < 0 || i >= members.count()) return nullptr;
    metaTreeC* member = members.itemNode(i);
    if (!member || !member->isKey("MEMBER") || path.isExhausted()) return member;
    assembly = metaObjectVirtualDataBaseC(member, 0).findOrAddChild("ASSEMBLY");
  }
  return nullptr;
}

metaTreeC* ownerAssembly(const m3dMateC& mate) {
  metaTreeC* list = mate.parent();
  return list ? list->parent() : nullptr;
}

}  // namespace

int memberPathC::next() {
  const long at = rest_.findLastChar('@');
  if (at < 0) {
    const int n = readNumber(rest_.text());
    rest_ = str();
    return n;
  }
  const int n = readNumber(rest_.text() + at + 1);
  rest_ = rest_.left(at);
  return n;
}

m3dMatesC m3dMateC::mates() const { return m3dMatesC(parent(), 0); }

int m3dMateC::endPaths(memberPathC& a, memberPathC& b) const {
  str textA, textB;
  long atA, atB;
  if (!splitEndTexts(*this, textA, atA, textB, atB)) return 0;
  a = memberPathC(textA.substring(atA + 1, textA.length()));
  b = memberPathC(textB.substring(atB + 1, textB.length()));
  return 1;
}

int m3dMateC::endNames(str& a, str& b) const {
  str textA, textB;
  long atA, atB;
  if (!splitEndTexts(*this, textA, atA, textB, atB)) return 0;
  a = textA.left(atA);
  b = textB.left(atB);
  return 1;
}

int m3dMateC::resolveMembers(m3dMemberC& a, m3dMemberC& b) const {
  metaTreeC* owner = ownerAssembly(*this);
  if (!isAssemblyNode(owner)) return 0;
  memberPathC pathA, pathB;
  if (!endPaths(pathA, pathB)) return 0;
  metaTreeC* memberA = resolvePath(pathA, owner);
  metaTreeC* memberB = resolvePath(pathB, owner);
  a.reset(memberA, 0);
  b.reset(memberB, 0);
  return memberA && memberA->isKey("MEMBER") && memberB && memberB->isKey("MEMBER") ? 1 : 0;
}

int m3dMateC::resolveConnections(m3dConnPointC& a, m3dConnPointC& b) const {
  m3dMemberC memberA, memberB;
  if (!resolveMembers(memberA, memberB)) return 0;
  metaTreeC* partA = memberA.findChild("PART");
  metaTreeC* partB = memberB.findChild("PART");
  if (!partA || !partB) return 0;
  str nameA, nameB;
  if (!endNames(nameA, nameB)) return 0;
  const m3dConnPointC pointA = m3dPartC(partA, 0).connections().findByName(nameA.text());
  const m3dConnPointC pointB = m3dPartC(partB, 0).connections().findByName(nameB.text());
  a.reset(pointA.node(), 0);
  b.reset(pointB.node(), 0);
  // A name that no connection point carries leaves the mate without an end.
  return pointA.isBound() && pointB.isBound() ? 1 : 0;
}

int m3dMateC::matingSense() const {
  metaTreeC* owner = ownerAssembly(*this);
  if (!isAssemblyNode(owner)) return 0;
  m3dMemberC memberA, memberB;
  if (!resolveMembers(memberA, memberB)) return 0;
  const m3dAsmC top(owner, 0);
  mMat4dC placeA, placeB;
  if (!memberA.memberTransform(top, placeA) || !memberB.memberTransform(top, placeB)) return 0;
  m3dConnPointC pointA, pointB;
  if (!resolveConnections(pointA, pointB)) return 0;
  const mVec3dC zA = axisZ(placeA.multiply(pointA.getMatrix()));
  const mVec3dC zB = axisZ(placeB.multiply(pointB.getMatrix()));
  return dot(zA, zB) < 0.0 ? 1 : 2;
}

void m3dMateC::groupMates(const m3dMatesC& mates, groupPoolC& groups) {
  struct keyC {
    str pathA, pathB, nameA, nameB;
    bool matches(const keyC& o) const {
      return pathA.equalsStr(o.pathA) && pathB.equalsStr(o.pathB) && nameA.equalsStr(o.nameA) &&
             nameB.equalsStr(o.nameB);
    }
  };
  std::vector<keyC> keys;
  std::vector<std::vector<std::int64_t>> found;  // mate indexes per group
  const std::int64_t count = mates.count();
  for (std::int64_t i = 0; i < count; ++i) {
    const m3dMateC mate = mates.item(i);
    keyC key;
    m3dConnPointC pointA, pointB;
    mate.resolveConnections(pointA, pointB);
    if (pointA.isBound()) key.nameA = pointA.getName();
    if (pointB.isBound()) key.nameB = pointB.getName();
    memberPathC pathA, pathB;
    if (mate.endPaths(pathA, pathB)) {
      key.pathA = pathA.whole();
      key.pathB = pathB.whole();
    }
    bool placed = false;
    for (auto& group : found) {
      for (std::int64_t k : group) {
        if (keys[static_cast<std::size_t>(k)].matches(key)) {
          group.push_back(i);
          placed = true;
          break;
        }
      }
      if (placed) break;
    }
    if (!placed) found.push_back({i});
    keys.push_back(key);
  }
  groups.clear();
  for (const auto& group : found) {
    groupC* out = groups.appendSlot();
    for (std::int64_t k : group) out->appendSlot()->reset(mates.childNode(k), 0);
  }
}

int m3dMateTransZC::scaleGeometry(double factor) {
  if (hasValue()) setValue(getValue() * factor);
  return 1;
}
