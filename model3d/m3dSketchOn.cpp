// The "SKETCHON" record: face point and direction, or plane name; registered under "SKETCHON".

#include "model3d/m3dSketchOn.h"

#include "meta/metaClassRegistrar.h"
#include "meta/metaObjPoint3d.h"
#include "meta/metaObjRealList.h"
#include "meta/metaTree.h"
#include "model3d/m3dVectorOps.h"

namespace {

metaClassRegistrarC<m3dSketchOnC, m3dGeomOpBaseC> registerSketchOn(m3dClassRegistry, "SKETCHON",
                                                                    m3dSketchOnC::classDepth);

// The three reals of child `key` of the face; the zero vector with found 0 otherwise.
mVec3dC faceTriple(metaTreeC* face, const char* key, int* found) {
  if (found) *found = 0;
  if (!face) return mVec3dC();
  const metaObjectC faceView(face, 0);
  metaTreeC* child = faceView.findChild(key);
  if (!child) return mVec3dC();
  return metaObjRealListC(child, 0).vector3d(found);
}

}  // namespace

mVec3dC m3dSketchOnC::facePoint() const { return faceTriple(findChild("FACE"), "POINT3D", nullptr); }

mVec3dC m3dSketchOnC::faceVector() const { return faceTriple(findChild("FACE"), "VEC3D", nullptr); }

const char* m3dSketchOnC::planeName() const {
  metaTreeC* plane = findChild("PLANE");
  if (!plane) return "";
  return metaObjectC(plane, 0).getString();
}

int m3dSketchOnC::setPlaneName(const char* text) const {
  if (!node()) return 0;
  if (metaTreeC* face = findChild("FACE")) {
    face->unlink();
    delete face;
  }
  setAttrString("PLANE", text ? text : "");
  return 1;
}

int m3dSketchOnC::scaleGeometry(double factor) {
  metaTreeC* face = findChild("FACE");
  if (!face) return 1;
  if (metaTreeC* point = metaObjectC(face, 0).findChild("POINT3D")) {
    metaObjRealListC(point, 0).scale(factor);
  }
  return 1;
}

int m3dSketchOnC::transformGeometry(const mMat4dC& transform) {
  metaTreeC* face = findChild("FACE");
  if (!face) return 1;
  const metaObjectC faceView(face, 0);
  // A point or direction that does not hold three reals is left as it is rather than replaced
  // by the image of the zero vector.
  if (metaTreeC* point = faceView.findChild("POINT3D")) {
    int found = 0;
    const metaObjRealListC list(point, 0);
    const mVec3dC p = list.vector3d(&found);
    if (found) list.setVector3d(transformPoint(transform, p));
  }
  if (metaTreeC* vector = faceView.findChild("VEC3D")) {
    int found = 0;
    const metaObjRealListC list(vector, 0);
    const mVec3dC v = list.vector3d(&found);
    mMat4dC turn = transform;
    turn.m[12] = turn.m[13] = turn.m[14] = 0.0;
    if (found) list.setVector3d(transformPoint(turn, v));
  }
  return 1;
}
