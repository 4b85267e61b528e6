// Reference planes: offset parameters, scaling, transforming, and the functions that create
// absolute, offset and standard planes.

#include "model3d/m3dPlane.h"

#include <cstring>

#include "meta/metaClassRegistrar.h"
#include "meta/metaNodeValue.h"
#include "meta/metaObjRealList.h"
#include "meta/metaTree.h"
#include "model3d/m3dAbsPlane.h"
#include "model3d/m3dBasicPlane.h"
#include "model3d/m3dOffsetPlane.h"
#include "model3d/m3dVectorOps.h"

namespace {

metaClassRegistrarC<m3dPlaneC, m3dGeomOpBaseC> registerPlaneClass(m3dClassRegistry, "PLANE",
                                                                  m3dPlaneC::classDepth);

void appendValue(metaTreeC* list, const metaNodeValueC& value) {
  auto* child = new metaTreeC(value);
  child->appendAsLastChild(list);
}

}  // namespace

bool m3dPlaneC::isPlaneNode(const metaTreeC* node) {
  return node && node->value().type() == metaNodeValueC::typeKeyWord &&
         std::strcmp(node->value().textOrEmpty(), "PLANE") == 0;
}

bool m3dPlaneC::isAbsPlane() const { return str(getType()).isEqual("ABS_PLANE"); }
bool m3dPlaneC::isOffsetPlane() const { return str(getType()).isEqual("OFF_TO_PLANE"); }

int m3dPlaneC::readOffsetParam(int& reverse, double& distance, str& baseName) const {
  const metaObjListContainerC param(findOrAddChild("PARAM"), 0);
  if (!param.node() || param.childCount() != 3) return 0;
  reverse = param.childNode(0)->value().getReal() != 0.0 ? 1 : 0;
  distance = param.childNode(1)->value().getReal();
  baseName = str(param.childTextAt(2));
  return 1;
}

void m3dPlaneC::writeOffsetParam(int reverse, double distance, const char* baseName) const {
  metaTreeC* param = findOrAddChild("PARAM");
  if (!param) return;
  param->deleteChildren();
  appendValue(param, metaNodeValueC(metaNodeValueC::typeReal, metaSourcePosC{}, reverse ? 1.0 : 0.0));
  appendValue(param, metaNodeValueC(metaNodeValueC::typeReal, metaSourcePosC{}, distance));
  appendValue(param, metaNodeValueC(metaNodeValueC::typeString, metaSourcePosC{}, baseName ? baseName : ""));
}

int m3dPlaneC::readPlaneAxisRef(const metaObjListContainerC& list, double& number, str& name,
                                int& axis) {
  const metaTreeC* c0 = list.childNode(0);
  if (!c0 || c0->value().type() != metaNodeValueC::typeReal) return 0;
  number = c0->value().getReal();
  const metaTreeC* c1 = list.childNode(1);
  if (!c1 || c1->value().type() != metaNodeValueC::typeString) return 0;
  name = str(c1->value().textOrEmpty());
  const metaTreeC* c2 = list.childNode(2);
  if (!c2 || c2->value().type() != metaNodeValueC::typeKeyWord) return 0;
  static const char* const axes[3] = {"PA_X", "PA_Y", "PA_Z"};
  for (int i = 0; i < 3; ++i) {
    if (std::strcmp(c2->value().textOrEmpty(), axes[i]) == 0) {
      axis = i;
      return 1;
    }
  }
  return 0;
}

int m3dPlaneC::scaleGeometry(double factor) {
  scalePlacementOrigin(factor);
  if (isOffsetPlane()) {
    int reverse = 0;
    double distance = 0.0;
    str baseName;
    if (readOffsetParam(reverse, distance, baseName))
      writeOffsetParam(reverse, distance * factor, baseName.text());
  }
  return 1;
}

int m3dPlaneC::transformGeometry(const mMat4dC& transform) {
  if (!node()) return 0;
  if (!isAbsPlane()) setType("ABS_PLANE");  // "PARAM" stays, now only a record of the past
  mMat4dC m = transform.multiply(placement());
  if (isLeftHanded(m)) setAxisY(m, scaleBy(axisY(m), -1.0));
  setPlacement(m);
  return 1;
}

m3dPlaneC createPlaneNode(int owns) {
  return m3dPlaneC(metaTreeC::createKeyNode("PLANE"), owns);
}

m3dAbsPlaneC makeAbsPlane(const char* name, const mMat4dC& matrix, int owns) {
  m3dAbsPlaneC plane(metaTreeC::createKeyNode("PLANE"), owns);
  plane.setName(name);
  plane.setPlacement(matrix);
  plane.setType("ABS_PLANE");
  return plane;
}

m3dOffsetPlaneC makeOffsetPlane(const m3dPlaneC& base, const char* name, int reverse,
                                double distance, int owns) {
  if (!base.isPlane()) return m3dOffsetPlaneC();
  m3dOffsetPlaneC plane(metaTreeC::createKeyNode("PLANE"), owns);
  plane.setName(name);
  plane.setType("OFF_TO_PLANE");
  mMat4dC m = base.placement();
  const double s = reverse ? -1.0 : 1.0;
  const mVec3dC o = origin(m).plus(scaleBy(axisZ(m), s * distance));
  m.m[12] = o.x;
  m.m[13] = o.y;
  m.m[14] = o.z;
  plane.setPlacement(m);
  plane.writeOffsetParam(reverse, distance, base.getName());
  return plane;
}

m3dBasicPlaneC makeStandardPlane(const char* name, int owns) {
  mMat4dC m;  // all zero
  const char* planeName = nullptr;
  if (str(name).isEqual("XY")) {
    m.m[0] = m.m[5] = m.m[10] = 1.0;
    planeName = "Plane XY";
  } else if (str(name).isEqual("ZX")) {
    m.m[0] = 1.0;
    m.m[6] = -1.0;
    m.m[9] = 1.0;
    planeName = "Plane ZX";
  } else if (str(name).isEqual("YZ")) {
    m.m[2] = -1.0;
    m.m[5] = 1.0;
    m.m[8] = 1.0;
    planeName = "Plane YZ";
  } else {
    return m3dBasicPlaneC();
  }
  m.m[15] = 1.0;
  m3dBasicPlaneC plane(metaTreeC::createKeyNode("PLANE"), owns);
  plane.setName(planeName);
  plane.setType(name);
  plane.setPlacement(m);
  return plane;
}
