#pragma once
// The arithmetic of the metafile conversion that does not need the host: the bulge of an arc
// piece of a polyline and the placement of a multi-line text. The conversion itself is made of
// CommandContext members (MetafileConverter.cpp); these helpers own nothing.

#include <string>

#include "meta/mVec2d.h"

// Bulge of the polyline vertex that starts an arc piece with start s, mid point m, end e and
// centre c: positive for a counterclockwise piece, negative for a clockwise one.
double arcPieceBulge(const mVec2dC& s, const mVec2dC& m, const mVec2dC& e, const mVec2dC& c);

// Position, attachment and text of an MTEXT made from a metafile text. The position is the
// text's point truncated toward zero; a text with line feeds is moved and re-attached so that
// its lines keep their alignment in the text box, and its line feeds become "\P".
struct MTextPlacement {
  double x = 0.0;
  double y = 0.0;
  int attachment = 0;
  std::string text;
};
MTextPlacement placeMText(const mVec2dC& point, const std::string& text, int relPos, int align,
                          double boxWidth);
