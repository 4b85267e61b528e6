#pragma once
// m3dBaseObjC: the root interface of the 3D model classes, without data: the two geometry
// operations every 3D view answers. Views implement it over their node; nothing is owned here.

#include "meta/mMat4d.h"

class m3dBaseObjC {
public:
  virtual ~m3dBaseObjC() = default;
  // Scales the geometry under the view's node by `factor`; 0 when nothing handles the node.
  virtual int scaleGeometry(double factor) = 0;
  // Applies the transform (column by column, translation in elements 12-14); 0 when nothing
  // handles the node.
  virtual int transformGeometry(const mMat4dC& transform) = 0;
};
