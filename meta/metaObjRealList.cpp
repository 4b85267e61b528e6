#include "meta/metaObjRealList.h"

#include "meta/metaTree.h"

namespace {

metaTreeC* newReal(double v) {
  return new metaTreeC(metaNodeValueC(metaNodeValueC::typeReal, metaSourcePosC{}, v));
}

}  // namespace

realArrayC metaObjRealListC::getReals() const {
  const std::int64_t count = childCount();
  realArrayC values(count);
  for (std::int64_t i = 0; i < count; ++i) values.at(i) = childNode(i)->value().getReal();
  return values;
}

void metaObjRealListC::setReals(const double* values, std::int64_t count) const {
  setRealsOf(node(), values, count);
}

void metaObjRealListC::setRealsOf(metaTreeC* n, const double* values, std::int64_t count) {
  if (!n) return;
  n->deleteChildren();
  if (!values) return;
  metaTreeC* last = nullptr;
  for (std::int64_t i = 0; i < count; ++i) {
    metaTreeC* child = newReal(values[i]);
    if (last) {
      child->insertAfter(last);
    } else {
      child->insertAsFirstChild(n);
    }
    last = child;
  }
}

void metaObjRealListC::scale(double factor) const { scaleOf(node(), factor); }

// A scale changes values only, so the child chain can be walked as it stands.
void metaObjRealListC::scaleOf(metaTreeC* n, double factor) {
  for (metaTreeC* child = n ? n->firstChild() : nullptr; child; child = child->nextSibling()) {
    metaNodeValueC& value = child->value();
    if (value.isReal()) value.setReal(value.getReal() * factor);
  }
}

mVec2dC metaObjRealListC::vector2d(int* found) const { return vector2dOf(node(), found); }

mVec2dC metaObjRealListC::vector2dOf(const metaTreeC* n, int* found) {
  const metaTreeC* x = n ? n->firstChild() : nullptr;
  const metaTreeC* y = x ? x->nextSibling() : nullptr;
  const bool ok = y && !y->nextSibling();
  if (found) *found = ok ? 1 : 0;
  if (!ok) return mVec2dC();
  return mVec2dC(x->value().getReal(), y->value().getReal());
}

mVec3dC metaObjRealListC::vector3d(int* found) const {
  const bool ok = childCount() == 3;
  if (found) *found = ok ? 1 : 0;
  if (!ok) return mVec3dC();
  return mVec3dC(childNode(0)->value().getReal(), childNode(1)->value().getReal(),
                 childNode(2)->value().getReal());
}

mMat4dC metaObjRealListC::matrix4d(int* found) const {
  const bool ok = childCount() == 16;
  if (found) *found = ok ? 1 : 0;
  mMat4dC m = mMat4dC::identity();
  if (ok) {
    for (int i = 0; i < 16; ++i) m.m[i] = childNode(i)->value().getReal();
  }
  return m;
}

void metaObjRealListC::setVector2d(const mVec2dC& v) const {
  const double values[2] = {v.x, v.y};
  setReals(values, 2);
}

void metaObjRealListC::setVector3d(const mVec3dC& v) const {
  const double values[3] = {v.x, v.y, v.z};
  setReals(values, 3);
}

void metaObjRealListC::setMatrix4d(const mMat4dC& m) const { setReals(m.m, 16); }
