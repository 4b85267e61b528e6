#pragma once
// The plain vector and matrix functions of the 3D model on mVec3dC and mMat4dC: differences,
// scaling, lengths, cross products, point transforms, handedness, axis-angle rotations and the
// inverse of a rigid transform. Values in, values out; no state.

#include "meta/mMat4d.h"
#include "meta/mVec3d.h"

// a - b, component by component.
mVec3dC subtract(const mVec3dC& a, const mVec3dC& b);
// Every component times k.
mVec3dC scaleBy(const mVec3dC& a, double k);
// a scaled to length L (a unit vector for L = 1.0). The zero vector has no direction and comes
// back unchanged.
mVec3dC setLength(const mVec3dC& a, double L);
// Square root of the sum of squares.
double length(const mVec3dC& a);
// (a.y b.z - a.z b.y, a.z b.x - a.x b.z, a.x b.y - a.y b.x)
mVec3dC cross(const mVec3dC& a, const mVec3dC& b);
double dot(const mVec3dC& a, const mVec3dC& b);
// M (p.x, p.y, p.z, 1.0), first three components.
mVec3dC transformPoint(const mMat4dC& M, const mVec3dC& p);

// The frame axes of a placement: columns 0, 1, 2 (elements 0-2, 4-6, 8-10) and the origin
// (elements 12-14).
mVec3dC axisX(const mMat4dC& M);
mVec3dC axisY(const mMat4dC& M);
mVec3dC axisZ(const mMat4dC& M);
mVec3dC origin(const mMat4dC& M);
void setAxisY(mMat4dC& M, const mVec3dC& y);

// (X x Y) . Z < 0 for M's three axis columns.
bool isLeftHanded(const mMat4dC& M);
// The identity with its upper-left 3x3 block replaced by the rotation of `degrees` about the
// normalised axis (Rodrigues' formula). A zero axis gives the identity.
mMat4dC rotationFromAxisAngle(const mVec3dC& axis, double degrees);
// The inverse of a rotation-plus-translation matrix: the rotation block transposed and the
// translation set to -(R^T t).
mMat4dC invertRigidTransform(const mMat4dC& M);
// The identity with translation p.
mMat4dC translationMatrix(const mVec3dC& p);
