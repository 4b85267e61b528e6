#pragma once
// m3dFeatGenC: the general feature of a part's "ITEMS" list. Besides the two geometry operations
// it answers collectFeatureAxes and featureKind, both forwarded by the node's key word to the
// prototype registered in the feature registry, and reads the attributes every feature carries
// ("NAME", "TYP", "USED"); it also imports and exports foreign feature data files.
// Feature classes derive from it and override. A view: it owns its node only when built with
// owns set; the views it hands out never own their nodes.

#include "model3d/m3dAxisSegment.h"
#include "model3d/m3dGeomOpBase.h"
#include "model3d/m3dThreadRecord.h"

class m3dPartItemsC;
class m3dSketchC;

class m3dFeatGenC : public m3dGeomOpBaseC {
public:
  static constexpr int classDepth = m3dGeomOpBaseC::classDepth + 1;

  // Kinds of feature.
  enum : int { addsMaterial = 0, removesMaterial = 1, neither = 2 };

  m3dFeatGenC() = default;
  explicit m3dFeatGenC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
      : m3dGeomOpBaseC(node, owns, buildVirtualBase) {}

  // Appends the feature's axis segments to the pool and returns the pool's count after the
  // call; 0 when no other prototype is registered for the key.
  virtual int collectFeatureAxes(m3dAxisPoolC& pool);
  // 0 adds material, 1 removes material, 2 neither (also when no other prototype is registered).
  virtual int featureKind();

  // "NAME" string (found or created; "" when absent).
  const char* getName(int* found = nullptr) const { return getAttrString("NAME", found); }
  void setName(const char* text) const { setAttrString("NAME", text); }
  // "TYP" key word ("ROTATE", "EXTRUDE" for bodies; the plane kinds for planes).
  const char* getType(int* found = nullptr) const { return getAttrKeyWord("TYP", found); }
  void setType(const char* text) const { setAttrKeyWord("TYP", text); }
  // "USED": the "NAME" of the sketch item a body is built from.
  const char* getUsed(int* found = nullptr) const { return getAttrString("USED", found); }
  void setUsed(const char* text) const { setAttrString("USED", text); }
  bool hasUsed() const { return hasChild("USED"); }
  // "MAT" (found or created): 16 reals column by column, translation in elements 12-14; the
  // identity unless it holds exactly 16 reals.
  mMat4dC getMatrix() const { return placement(); }
  void setMatrix(const mMat4dC& m) const { setPlacement(m); }

  // The items list that holds this feature (the parent node); unbound for an unbound feature.
  m3dPartItemsC partItems() const;
  // The item of `items` named by this feature's "USED", as a sketch; unbound when none.
  m3dSketchC usedSketch(const m3dPartItemsC& items) const;
  m3dSketchC usedSketch() const;
  // The cosmetic threads of the cosmetic sketch that belongs to the sketch this feature uses;
  // `pool` is emptied first and stays empty when the part, the sketch or the cosmetic sketch is
  // missing.
  void usedCosmeticThreads(m3dThreadPoolC& pool) const;

  // Feature data files. Import reads the whole file at `path` (a program path) into the blob
  // "FEATDATA" and records the format and the file name in "FEATINFO"; 1 when every byte was
  // read, else 0 (the bytes read are stored all the same). Files above maxFeatureDataBytes are
  // not read past that size, and the import answers 0. Export writes the stored bytes to `path`;
  // 1 when every byte was written, 0 when there is nothing stored or writing fails.
  static constexpr std::int64_t maxFeatureDataBytes = std::int64_t(256) << 20;
  int importFeatureData(const char* formatName, const char* formatVersion, const char* path) const;
  int exportFeatureData(const char* path) const;
};
