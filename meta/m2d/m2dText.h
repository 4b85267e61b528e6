#pragma once
// m2dTextC: the "TEXT" item of a figure: the text (a line feed separates lines), its position,
// height and rotation, its attachment point and the box its lines are aligned in. Every getter
// creates an absent key empty and then reads the type's empty value with found 0. Texts returned
// live in the tree. Owns its node only when built with owns set.

#include "meta/m2d/m2dShapeBase.h"
#include "meta/mVec2d.h"

class m2dTextC : public m2dShapeBaseC {
public:
    static constexpr int classDepth = m2dShapeBaseC::classDepth + 1;
    static const char* classKey() { return "TEXT"; }
    static int isKindOf(const metaTreeC* node);

    m2dTextC() = default;
    explicit m2dTextC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
        : m2dShapeBaseC(node, owns, buildVirtualBase) {}
    explicit m2dTextC(const metaObjectVirtualDataBaseC& handle) : metaObjectVirtualDataBaseC(handle) {}

    const char* text(int* found = nullptr) const { return getAttrString("TEXT", found); }
    mVec2dC point(int* found = nullptr) const { return pointObj().point(found); }
    double height(int* found = nullptr) const { return getAttrReal("HEIGHT", found); }
    double angle(int* found = nullptr) const { return getAttrReal("ANGLE", found); }  // degrees
    // "TEXTRELPOS": attachment 1 to 9 (top left, top centre, top right, middle left, ...).
    int relPos(int* found = nullptr) const { return getAttrInt("TEXTRELPOS", found); }
    // "TEXTALIGN": 1 left, 2 centre, 3 right.
    int align(int* found = nullptr) const { return getAttrInt("TEXTALIGN", found); }
    double boxWidth(int* found = nullptr) const { return getAttrReal("TEXTBW", found); }
    double boxHeight(int* found = nullptr) const { return getAttrReal("TEXTBH", found); }
};
