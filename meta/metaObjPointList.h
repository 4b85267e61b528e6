#pragma once
// metaObjPointListC: the "POINT" children of a node as 2D point views. point(n) makes the points up
// to n exist. It owns its node only when built with owns set.

#include <cstdint>

#include "meta/metaObjKeyContainerTemplate.h"
#include "meta/metaObjPoint2d.h"

class metaObjPointListC : public metaObjKeyContainerTemplateC<metaObjPoint2dC> {
public:
  static constexpr int classDepth = metaObjKeyContainerTemplateC<metaObjPoint2dC>::classDepth + 1;

  metaObjPointListC() = default;
  explicit metaObjPointListC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
      : metaObjKeyContainerTemplateC<metaObjPoint2dC>(node, owns, buildVirtualBase) {}

  // Appends empty "POINT" key nodes at the end until at least n + 1 exist, then returns the n-th
  // as a non-owning view. Unbound for an unbound list or a negative n.
  metaObjPoint2dC point(std::int64_t n) const;

  // point(n) on a node that no view holds, in one walk of its children and without a cache:
  // the first `count` "POINT" children of `list` into nodes[0 .. count - 1], appending empty
  // "POINT" key nodes at the end until that many exist. Nothing for a null list or count < 1.
  static void pointNodes(metaTreeC* list, std::int64_t count, metaTreeC** nodes);
  // The n-th "POINT" child of `list` in the same way; null for a null list or a negative n.
  static metaTreeC* pointNode(metaTreeC* list, std::int64_t n);
};
