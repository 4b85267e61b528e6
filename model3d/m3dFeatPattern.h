#pragma once
// m3dFeatPatternC: a feature pattern ("FEATPATTERN" item): one body of the part repeated at the
// points of a pattern sketch, each copy optionally turned about a rotation centre. Expanding it
// writes a copy of the body's sketch, of the body and of the sketch's cosmetic sketch per point
// (and an offset plane per point where the copies cannot lie on the base sketch's own plane).
// Registered under "FEATPATTERN" in the 3D class registry and the feature registry; at load it
// also registers expandPartPatterns as the part's pattern expander. A view: it owns its node
// only when built with owns set.

#include "model3d/m3dFeatBody.h"
#include "model3d/m3dFeatGen.h"
#include "model3d/m3dFeatPatternBaseFeat.h"
#include "model3d/m3dFeatPatternLists.h"
#include "model3d/m3dFeatPatternSketch.h"
#include "model3d/m3dPart.h"
#include "model3d/m3dSketch.h"

class m3dFeatPatternC : public m3dFeatGenC {
public:
  static constexpr int classDepth = m3dFeatGenC::classDepth + 1;
  static const char* classKey() { return "FEATPATTERN"; }

  m3dFeatPatternC() = default;
  explicit m3dFeatPatternC(metaTreeC* node, int owns = 0, int buildVirtualBase = 1)
      : m3dFeatGenC(node, owns, buildVirtualBase) {}

  m3dFeatPatternBaseFeatC baseFeature() const;
  m3dFeatPatternSketchC patternSketch() const;
  // The item named by the base feature's "NAME" (unbound when none, or when that item is a
  // pattern itself), and the sketch item named by that body's "USED".
  m3dFeatBodyC baseBody() const;
  m3dSketchC baseSketch() const;

  // The z axes of the base sketch's and the pattern sketch's frames are parallel or opposite.
  int normalsParallel() const;
  int normalsPerpendicular() const;
  // The base feature's reference point lies within 1e-8 of the pattern sketch's plane.
  int referenceOnPatternPlane() const;
  int referenceOnParallelPlane() const;

  // The base feature's reference point and the pattern sketch scaled; 1.
  int scaleGeometry(double factor) override;
  // The axes the expanded copies would yield, computed on a scratch list; the pool's count.
  int collectFeatureAxes(m3dAxisPoolC& pool) override;

  // Fills the lists with the copies for every pattern point; 1, or 0 when the copies cannot be
  // placed (no base body or sketch, or a base sketch on a face that the pattern sketch is not
  // parallel to). `part` may be unbound: the copies then get no cosmetic sketches and no
  // planes.
  int expand(const m3dPartC& part, const m3dFeatPatternListsC& lists) const;
  // Replaces this item in its part by its copies (planes, sketches, bodies) and appends the
  // cosmetic copies to the part's "COSDRAW"; 1, or 0 when this item is not in a part's items or
  // the expansion fails. With no pattern points the item stays and the answer is 1.
  int expandIntoPart();
};

// For every part of the document, every "FEATPATTERN" item expanded into its part; returns the
// number expanded with success. Items added by an expansion are not expanded again.
int expandPartPatterns(m3dDocumentC& document);
