#pragma once
// The arithmetic of the metafile conversion that does not need the host: the split of a curve
// into pieces, the bulge of an arc piece of a polyline and the placement of a multi-line text.
// The conversion itself is made of CommandContext members (MetafileConverter.cpp); these helpers
// own nothing but the pieces they hand back.

#include <string>
#include <string_view>

#include "meta/mMat3d.h"
#include "meta/mVec2d.h"

class mBaseIntCrv2dC;
class metaObjectC;

// Bulge of the polyline vertex that starts an arc piece with start s, mid point m, end e and
// centre c: positive for a counterclockwise piece, negative for a clockwise one.
double arcPieceBulge(const mVec2dC& s, const mVec2dC& m, const mVec2dC& e, const mVec2dC& c);

// The pieces of a curve split within the conversion's tolerance (0.001): "LINE", "ARC" and
// "CIRCLE" children, in order, of a temporary node that the returned view owns. A circle piece
// is always the last; after other pieces it starts and ends at their end point.
metaObjectC splitCurve(const mBaseIntCrv2dC& curve);

// Position, attachment and text of an MTEXT made from a metafile text. The position is the
// text's point truncated toward zero; a text with line feeds is moved and re-attached so that
// its lines keep their alignment in the text box, and its line feeds become "\P". The
// attachment is worked out exactly and stays outside 1..9 when it lies there, so that the host
// refuses such a text; beyond the 16-bit range of its group it is held at that range's end.
struct MTextPlacement {
  double x = 0.0;
  double y = 0.0;
  int attachment = 0;
  bool lineFeeds = false;   // the text holds a line feed
  std::string text;         // with lineFeeds the text with "\P" for them; otherwise empty: the
                            // stored text is the MTEXT's as it is, and is not copied
};
MTextPlacement placeMText(const mVec2dC& point, std::string_view text, int relPos, int align,
                          double boxWidth);

// How the texts and hatch patterns of the figure being converted follow the figure's placement;
// its shapes are scaled, turned and moved in the tree itself. A point worked out from the stored
// figure (a text's MTEXT position from placeMText, a pattern's base point) is scaled about the
// origin by `scale` (the unit scale of inch mode) and then moved by `matrix` (the turns and
// moves of a figure without a block); a text's height is scaled, and text and pattern angles
// turn by `turn` degrees. The default leaves a figure as stored.
struct FigurePlacement {
  double scale = 1.0;
  mMat3dC matrix = mMat3dC::identity();
  double turn = 0.0;

  mVec2dC position(double x, double y) const;
};
