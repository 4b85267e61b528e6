#pragma once
// m3dPartItemsC: the view on a part's "ITEMS" list, the ordered features (sketches, planes,
// bodies, feature patterns) handed out by position as m3dFeatGenC views, with the searches by
// name and by the sketch a body uses, insertion of features, and the sketch measures a part
// forwards to. Its two geometry operations forward by key like every m3dGeomOpBaseC. It owns its
// node only when built with owns set; the views it hands out never own their nodes.

#include "model3d/m3dDocument.h"
#include "model3d/m3dFeatGen.h"
#include "model3d/metaObjListObjectCommonBaseTemplate.h"

class m3dFeatBodyC;
class mBaseShape2dC;

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

  // The view's own node (the "ITEMS" list).
  using metaObjectVirtualDataBaseC::node;
  // The first item whose key word is `key`, as a view sharing its node; unbound when none.
  m3dFeatGenC node(const char* key) const { return m3dFeatGenC(nodeByKey(key), 0); }
  // The first item whose key word is `key`; null when none.
  metaTreeC* nodeByKey(const char* key) const { return findChild(key); }
  // The first item whose "NAME" equals `name` (null and "" are equal); unbound when none.
  m3dFeatGenC findByName(const char* name) const;
  // The first item that has a "USED" child equal to `sketchName`; unbound when none.
  m3dFeatBodyC findBodyUsing(const char* sketchName) const;
  // Puts the feature's node into the list (with `copy`, a hooked deep copy of it) before
  // `before` when given, else after `after` when given, else last. Without `copy` the node is
  // taken out of wherever it was and the view no longer owns it. Returns the node inserted; null
  // when the feature or the list is unbound, when `before` / `after` is not an item of this list,
  // or when the node is the list itself or one of its ancestors.
  metaTreeC* insert(m3dFeatGenC& feature, int copy, metaTreeC* before, metaTreeC* after) const;
  // The document that holds the list (its parent node).
  m3dDocumentC part() const;
  // The shortest loop element over all "SKETCH" items, starting from 1e8; 0 when the list has no
  // items. `element` (may be null) is re-pointed at that element when one is found.
  double minSketchMeasure(mBaseShape2dC* element) const;
  // Sum over the "SKETCH" items of their closeGaps (threshold).
  int sumSketchGaps(double threshold) const;
};
