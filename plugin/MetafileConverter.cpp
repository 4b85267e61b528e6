// The conversion of a metafile part into host entities: the metafile is read into a tree, viewed
// as a drawing or a figure, and every shape of every figure becomes one host entity on the layer,
// line type and colour of its pen class; hatches follow (HatchConversion.cpp). A figure that is a
// group, and every lone figure, becomes a named block with its INSERT; a drawing of several
// figures gets an outer block around them. Host lists are released right after use and every
// local selection set is freed on every path.
#include "plugin/MetafileConverter.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

#include "meta/m2d/m2dArc.h"
#include "meta/m2d/m2dCircle.h"
#include "meta/m2d/m2dDrawing.h"
#include "meta/m2d/m2dEllipse.h"
#include "meta/m2d/m2dEllipseArc.h"
#include "meta/m2d/m2dFigure.h"
#include "meta/m2d/m2dHatch.h"
#include "meta/m2d/m2dIntCrv.h"
#include "meta/m2d/m2dLine.h"
#include "meta/m2d/m2dShapeAttr.h"
#include "meta/m2d/m2dText.h"
#include "meta/metaObject.h"
#include "meta/metaTree.h"
#include "meta/metaTreeReader.h"
#include "meta/mPlaneGeometry.h"
#include "plugin/CommandContext.h"
#include "plugin/HatchConversion.h"
#include "plugin/HostBinding.h"

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr double kMillimetresToInch = 0.03937007874015748;
// The tolerance within which curves are split into line, arc and circle pieces.
constexpr double kCurveTolerance = 0.001;

// Releases a host list when it goes out of scope.
struct ListGuard {
  resbuf* list;
  ~ListGuard() {
    if (list) hostcall::relRb(list);
  }
};

// Makes the entity of a list (null lists are refused) and, on success, names it in out.
int makeEntity(resbuf* list, ads_name out) {
  ListGuard guard{list};
  if (!list) return RTREJ;
  const int rc = hostcall::entMake(list);
  if (rc == RTNORM) hostcall::entLast(out);
  return rc;
}

void clearName(ads_name name) { name[0] = name[1] = 0; }

// makeEntity for one entity maker: 1 with the entity's name in out, or -1 after printing
// failure. failure is a message-catalogue key without conversions, so it goes through the
// catalogue as the format itself (a "%s" format would bypass its translation).
std::int32_t makeReported(CommandContext& context, resbuf* list, ads_name out,
                          const char* failure) {
  if (makeEntity(list, out) == RTNORM) return 1;
  context.printMessage(failure);
  return -1;
}

// The list of an ELLIPSE around c whose major axis ends at axisEnd, from parameter start to end
// (radians); the host takes the inverse of the shape's radiusRatio as its axis ratio.
resbuf* ellipseList(const char* layer, const char* lineType, int colour,
                    const mVec2dC& c, const mVec2dC& axisEnd, double radiusRatio, double start,
                    double end) {
  const double centre[3] = {c.x, c.y, 0.0};
  const double axis[3] = {axisEnd.x - c.x, axisEnd.y - c.y, 0.0};
  const double ratio = 1.0 / radiusRatio;
  return hostcall::buildList(RTDXF0, "ELLIPSE", 100, "AcDbEntity", 8, layer, 6,
                             lineType, 100, "AcDbEllipse", 62, colour, 10, centre, 11,
                             axis, 40, ratio, 41, start, 42, end, 0);
}

// The value of group 71 for an attachment: the group is a 16-bit integer, so an attachment
// beyond that range is saturated to its nearer end, which keeps it outside 1..9 (the host
// refuses it) where a narrowing cast could wrap it into that range.
int attachmentGroup(std::int64_t attachment) {
  return static_cast<int>(std::clamp<std::int64_t>(attachment, INT16_MIN, INT16_MAX));
}

// Scales a figure's hatches like its shapes: the spacing, the default one included where
// "DISTANCE" is 0 or absent (it is in millimetres as well), and the pattern lines.
void scaleHatches(const m2dFigureC& figure, double factor) {
  if (!figure.hasHatches()) return;
  const m2dHatchListC hatches = figure.hatchList();
  const std::int64_t count = hatches.count();
  for (std::int64_t i = 0; i < count; ++i) {
    const m2dHatchC hatch = hatches.item(i);
    if (hatch.distance() == 0.0) hatch.setDistance(kDefaultHatchSpacing);
    hatch.scale(factor);
  }
}

}  // namespace

// ---- helpers without the host ---------------------------------------------------------------

double arcPieceBulge(const mVec2dC& s, const mVec2dC& m, const mVec2dC& e, const mVec2dC& c) {
  const double r = s.minus(c).length();
  const mVec2dC chord = e.minus(s);
  const double chordLength = chord.length();
  if (!(chordLength > 0.0)) return 0.0;
  const double h = c.minus(s).dot(chord.divided(chordLength));
  // The centre's distance from the chord; the sagitta is R less it for an arc of at most half a
  // turn, R plus it when the centre lies on the arc's side of the chord (more than half a turn).
  const double apart = std::sqrt(std::fmax(0.0, r * r - h * h));
  const mVec2dC toMid = m.minus(s);
  const mVec2dC toCentre = c.minus(s);
  const double midSide = chord.x * toMid.y - chord.y * toMid.x;
  const double centreSide = chord.x * toCentre.y - chord.y * toCentre.x;
  const bool major = midSide * centreSide > 0.0;
  double bulge = 2.0 * (major ? r + apart : r - apart) / chordLength;
  if (h < 0.0) bulge = -bulge;
  const mVec2dC b = e.minus(m);
  if (toMid.x * b.y - toMid.y * b.x < 0.0) bulge = -bulge;
  return bulge;
}

MTextPlacement placeMText(const mVec2dC& point, std::string_view text, int relPos, int align,
                          double boxWidth) {
  MTextPlacement p;
  p.x = std::trunc(point.x);
  p.y = std::trunc(point.y);
  p.attachment = attachmentGroup(relPos);
  const auto lineFeeds = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
  if (lineFeeds == 0) return p;
  p.lineFeeds = true;
  // Worked in 64 bits: relPos and align are any 32-bit values of the file, and the sums of two
  // of them do not fit in an int.
  const std::int64_t r = (std::int64_t{relPos} - 1) % 3;
  const double halfWidth = std::trunc(boxWidth / 2.0);
  const int half = std::isfinite(halfWidth) && std::fabs(halfWidth) < 1e9
                       ? static_cast<int>(halfWidth) : 0;
  p.x = p.x - static_cast<double>(half) * static_cast<double>(r) +
        static_cast<double>(std::int64_t{align} - 1) * half;
  p.attachment = attachmentGroup(std::int64_t{relPos} - r + (std::int64_t{align} - 1));
  p.text.reserve(text.size() + lineFeeds);
  for (char ch : text) {
    if (ch == '\n') p.text += "\\P";
    else p.text += ch;
  }
  return p;
}

metaObjectC splitCurve(const mBaseIntCrv2dC& curve) {
  metaObjectC pieces = createKeyNodeObj("tmp", 1);
  curve.convertToPrimitives(kCurveTolerance, pieces);
  return pieces;
}

mVec2dC FigurePlacement::position(double x, double y) const {
  return matrix.transformPoint(mVec2dC(x, y).times(scale));
}

// ---- pen classes ------------------------------------------------------------------------------

int CommandContext::penClassFor(int lineStyle, int width) {
  switch (lineStyle) {
    case 0: return width == 1 ? kPenSolidLight : kPenSolidHeavy;
    case 1: return kPenHidden;
    case 2:
      if (width == 1) return kPenCenter;
      if (width == 2 || width == 3) return kPenHeavyDashDot;
      return kPenSolidHeavy;
    default: return kPenSolidHeavy;
  }
}

CommandContext::EntityAttributes CommandContext::entityAttributes(int penClass,
                                                                  int cosmetic) const {
  // The answers of layerOfPenClass and lineTypeOfPenClass, read in place.
  const RWCString* layer = penTableEntry(penLayers_, penClass);
  const RWCString* lineType = penTableEntry(penLineTypes_, penClass);
  EntityAttributes a;
  a.layer = layer ? layer->data() : kPenLayerFallback;
  a.lineType = lineType ? lineType->data() : kPenLineTypeFallback;
  a.colour = colourOfPenClass(penClass);
  if (cosmetic != 0 && !cosmeticLayer().isEmpty()) a.layer = cosmeticLayer().data();
  return a;
}

// ---- loading and dispatch ---------------------------------------------------------------------

std::int32_t CommandContext::convertMetafile(const RWCString& fileName, const ads_name callerSet,
                                             std::uint8_t forceBlock, double x, double y,
                                             double angle) {
  // The view over the root owns the whole tree and deletes it when the conversion ends.
  metaObjectC root = loadMetaTreeFile(fileName.data(), 1);
  if (root.hasKey("DRAWING")) {
    m2dDrawingC drawing(root.node(), 0);
    return convertDrawing(drawing, callerSet, forceBlock, x, y, angle);
  }
  if (root.hasKey("FIGURE")) {
    m2dFigureC figure(root.node(), 0);
    return convertFigure(figure, callerSet, 1, x, y, angle);
  }
  printMessage("Fehler in der Metadatei!");
  return -1;
}

std::int32_t CommandContext::convertDrawing(const m2dDrawingC& drawing, const ads_name callerSet,
                                            std::uint8_t forceBlock, double x, double y,
                                            double angle) {
  const RWCString name(drawing.name());
  const int viewNumber = drawing.viewNumber();
  const std::int64_t figures = drawing.figureCount();

  // A drawing without a figure (a catalogue program that ended after writing its first word, or
  // one that handed over an empty item list) holds no part: nothing could be built or placed.
  if (figures == 0) {
    printMessage("Es wurde kein Teil übergeben!");
    return -1;
  }
  if (figures == 1) return convertFigure(drawing.figure(0), callerSet, forceBlock, x, y, angle);

  ads_name localSet = {0, 0};
  if (hostcall::ssAdd(nullptr, nullptr, localSet) != RTNORM) {
    printMessage("Fehler beim Erzeugen des Blocks %s", name.data());
    return -1;
  }
  std::int32_t result = 1;
  // The figures in order, along the item list in one walk. Asking for the i-th figure walks the
  // list from its start: every time through the drawing's fresh view of the list, and through a
  // view held here whenever the tree changed since the last question, as converting a figure
  // may change it.
  const m2dDrawingItemListC items = drawing.itemList();
  for (metaTreeC* node = items.node()->firstChild(); node; node = node->nextSibling())
    if (node->isKey(m2dFigureC::classKey()))
      result = convertFigure(m2dFigureC(node, 0), localSet, forceBlock, 0.0, 0.0, 0.0);
  // The outer block is made whatever the figures' results were; the caller's angle goes to the
  // INSERT as it is.
  if (makeBlockAndInsert(name, viewNumber, localSet, x, y, angle, callerSet) != 1) result = -1;
  return result;
}

std::int32_t CommandContext::convertFigure(const m2dFigureC& figure, const ads_name callerSet,
                                           std::uint8_t forceBlock, double x, double y,
                                           double angle) {
  const RWCString name(figure.name());
  const int viewNumber = figure.viewNumber();
  const m2dInsertPointC insertPoint = figure.insertPointObj();
  mVec2dC insertAt = insertPoint.point();
  const double rotation = insertPoint.rotation();
  const metaObjShapeListC items = figure.itemList();

  if (inchMode() != 0) insertAt = insertAt.divided(25.4);

  const bool blockMode = figure.isGroup() == 1 || forceBlock != 0;
  ads_name localSet = {0, 0};
  const std::int32_t* target = callerSet;
  // Texts and hatch patterns are no shapes of the shape list; they get the same scale, turns
  // and moves as the shapes through the figure placement, for this figure only.
  FigurePlacement placement;
  if (inchMode() != 0) {
    items.scaleShapes(kMillimetresToInch);
    scaleHatches(figure, kMillimetresToInch);
    placement.scale = kMillimetresToInch;
  }
  if (blockMode) {
    if (hostcall::ssAdd(nullptr, nullptr, localSet) != RTNORM) {
      printMessage("Fehler beim Erzeugen des Blocks %s", name.data());
      return -1;
    }
    target = localSet;
  } else {
    items.rotate(rotation);
    items.translate(insertAt);
    items.rotate(angle);
    items.translate(mVec2dC(x, y));
    placement.matrix = mMat3dC::translation(mVec2dC(x, y))
                       .multiply(mMat3dC::rotation(angle))
                       .multiply(mMat3dC::translation(insertAt))
                       .multiply(mMat3dC::rotation(rotation));
    placement.turn = rotation + angle;
  }
  struct PlacementScope {
    FigurePlacement& current;
    FigurePlacement saved;
    ~PlacementScope() { current = saved; }
  } scope{placement_, placement_};
  placement_ = placement;

  std::int32_t result = 1;
  int penClass = 0;
  int cosmetic = 0;
  int lineStyle = 0;
  metaTreeC* itemList = items.node();
  for (metaTreeC* item = itemList ? itemList->firstChild() : nullptr; item && result == 1;
       item = item->nextSibling()) {
    if (m2dShapeAttrC::isKindOf(item)) {
      const m2dShapeAttrC attr(item, 0);
      const int width = attr.shapeWidth();
      lineStyle = attr.shapeType();
      cosmetic = attr.cosmetic();
      penClass = penClassFor(lineStyle, width);
      continue;
    }
    if (lineStyle == 4) continue;

    ads_name made = {0, 0};
    std::int32_t rc = 0;
    bool recordShape = true;
    if (m2dLineC::isKindOf(item)) rc = makeLine(m2dLineC(item, 0), penClass, cosmetic, made);
    else if (m2dArcC::isKindOf(item)) rc = makeArc(m2dArcC(item, 0), penClass, cosmetic, made);
    else if (m2dCircleC::isKindOf(item))
      rc = makeCircle(m2dCircleC(item, 0), penClass, cosmetic, made);
    else if (m2dEllipseC::isKindOf(item))
      rc = makeEllipse(m2dEllipseC(item, 0), penClass, cosmetic, made);
    else if (m2dEllipseArcC::isKindOf(item))
      rc = makeEllipseArc(m2dEllipseArcC(item, 0), penClass, cosmetic, made);
    else if (m2dTextC::isKindOf(item)) {
      rc = makeMText(m2dTextC(item, 0), penClass, cosmetic, made);
      recordShape = false;
    } else if (m2dIntCrvC::isKindOf(item))
      rc = makePolyline(m2dIntCrvC(item, 0), penClass, cosmetic, made);
    else
      continue;  // other keys are no shapes of their own

    result = rc;
    // A curve that gave no piece made no entity: nothing joins the set.
    if (rc == 1 && (made[0] != 0 || made[1] != 0)) {
      hostcall::ssAdd(made, target, const_cast<std::int32_t*>(target));
      if (recordShape) shapeReferences().addShape(item, made);
    }
  }

  if (result == 1 && figure.hasHatches()) {
    const m2dHatchListC hatches = figure.hatchList();
    const std::int64_t count = hatches.count();
    for (std::int64_t i = 0; i < count; ++i) {
      ads_name made = {0, 0};
      if (makeHatch(hatches.item(i), made) == 1)
        hostcall::ssAdd(made, target, const_cast<std::int32_t*>(target));
    }
  }

  if (!blockMode) return result;
  if (result != 1) {
    hostcall::ssFree(localSet);
    return result;
  }
  return makeBlockAndInsert(name, viewNumber, localSet, insertAt.x, insertAt.y, hostRadians(rotation),
                            callerSet);
}

// ---- blocks -----------------------------------------------------------------------------------

RWCString CommandContext::uniqueBlockName(const RWCString& base) {
  RWCString candidate = base;
  for (long n = 0; hasBlock(candidate); ++n) {
    candidate = base;
    candidate += std::to_string(n).c_str();
  }
  return candidate;
}

std::int32_t CommandContext::makeBlockAndInsert(const RWCString& name, int viewNumber,
                                                const ads_name localSet, double x, double y,
                                                double angleRadians, const ads_name targetSet) {
  RWCString blockName = composeBlockName(name, viewNumber);
  if (blockName.isEmpty()) blockName = "TROVSOL";
  blockName = uniqueBlockName(blockName);

  const double base[3] = {0.0, 0.0, 0.0};
  hostcall::command(RTSTR, "_.BLOCK", RTSTR, blockName.data(), RTPOINT, base, RTPICKS, localSet,
                    RTSTR, "", RTNONE);
  const double at[3] = {x, y, 0.0};
  ads_name insert = {0, 0};
  const int rc = makeEntity(hostcall::buildList(RTDXF0, "INSERT", 2, blockName.data(), 10, at, 50,
                                                angleRadians, 0),
                            insert);
  hostcall::ssFree(localSet);
  if (rc != RTNORM) {
    printMessage("Fehler beim Erzeugen des Blocks %s", blockName.data());
    return -1;
  }
  hostcall::ssAdd(insert, targetSet, const_cast<std::int32_t*>(targetSet));
  return 1;
}

// ---- entity makers ----------------------------------------------------------------------------

std::int32_t CommandContext::makeLine(const m2dLineC& shape, int penClass, int cosmetic,
                                      ads_name out) {
  const EntityAttributes pen = entityAttributes(penClass, cosmetic);
  const mVec2dC s = shape.startPoint();
  const mVec2dC e = shape.endPoint();
  const double p1[3] = {s.x, s.y, 0.0};
  const double p2[3] = {e.x, e.y, 0.0};
  return makeReported(*this,
                      hostcall::buildList(RTDXF0, "LINE", 8, pen.layer, 6, pen.lineType, 62,
                                          pen.colour, 10, p1, 11, p2, 0),
                      out, "Linie konnte nicht erzeugt werden!");
}

std::int32_t CommandContext::makeArc(const m2dArcC& shape, int penClass, int cosmetic,
                                     ads_name out) {
  const EntityAttributes pen = entityAttributes(penClass, cosmetic);
  const mArcValues2dC arc = shape.values();
  double start = arc.startAngle;
  double end = arc.endAngle;
  if (arc.clockwise) std::swap(start, end);
  const double centre[3] = {arc.centre.x, arc.centre.y, 0.0};
  return makeReported(*this,
                      hostcall::buildList(RTDXF0, "ARC", 8, pen.layer, 6, pen.lineType, 62,
                                          pen.colour, 10, centre, 40, arc.radius, 50, hostRadians(start),
                                          51, hostRadians(end), 0),
                      out, "Bogen konnte nicht erzeugt werden!");
}

std::int32_t CommandContext::makeCircle(const mBaseCircle2dC& shape, int penClass, int cosmetic,
                                        ads_name out) {
  const EntityAttributes pen = entityAttributes(penClass, cosmetic);
  const mVec2dC c = shape.centre();
  const double centre[3] = {c.x, c.y, 0.0};
  return makeReported(*this,
                      hostcall::buildList(RTDXF0, "CIRCLE", 8, pen.layer, 6, pen.lineType,
                                          62, pen.colour, 10, centre, 40, shape.radius(), 0),
                      out, "Kreis konnte nicht erzeugt werden!");
}

std::int32_t CommandContext::makeEllipse(const m2dEllipseC& shape, int penClass, int cosmetic,
                                         ads_name out) {
  const EntityAttributes pen = entityAttributes(penClass, cosmetic);
  return makeReported(*this,
                      ellipseList(pen.layer, pen.lineType, pen.colour, shape.centre(), shape.majorAxisEnd(),
                                  shape.radiusRatio(), 0.0, kTwoPi),
                      out, "Ellipse konnte nicht erzeugt werden!");
}

// The elliptical arc carries its pen class's colour like every other entity.
std::int32_t CommandContext::makeEllipseArc(const m2dEllipseArcC& shape, int penClass,
                                            int cosmetic, ads_name out) {
  const EntityAttributes pen = entityAttributes(penClass, cosmetic);
  return makeReported(*this,
                      ellipseList(pen.layer, pen.lineType, pen.colour, shape.centre(), shape.majorAxisEnd(),
                                  shape.radiusRatio(), hostRadians(shape.startAngle()),
                                  hostRadians(shape.endAngle())),
                      out, "Ellipsenbogen konnte nicht erzeugt werden!");
}

// The text carries its pen class's colour like every other entity.
std::int32_t CommandContext::makeMText(const m2dTextC& shape, int penClass, int cosmetic,
                                       ads_name out) {
  const EntityAttributes pen = entityAttributes(penClass, cosmetic);
  // The position is worked out in the metafile's own units and then placed with the figure.
  const char* stored = shape.text();
  MTextPlacement p =
      placeMText(shape.point(), stored, shape.relPos(), shape.align(), shape.boxWidth());
  const mVec2dC at = placement_.position(p.x, p.y);
  const double position[3] = {at.x, at.y, 0.0};
  const double height = shape.height() * placement_.scale;
  const double angle = hostRadians(shape.angle() + placement_.turn);
  resbuf* list = hostcall::buildList(RTDXF0, "MTEXT", 100, "AcDbEntity", 8, pen.layer, 6,
                                     pen.lineType, 62, pen.colour, 100, "AcDbMText", 10,
                                     position, 40, height, 71, p.attachment, 72, 1, 1,
                                     p.lineFeeds ? p.text.c_str() : stored, 50, angle, 0);
  // The list holds its own copy of the text; the one made here goes before the host copies it
  // once more into its entity.
  std::string().swap(p.text);
  return makeReported(*this, list, out, "Textelement konnte nicht erzeugt werden!");
}

std::int32_t CommandContext::makePolyline(const m2dIntCrvC& shape, int penClass, int cosmetic,
                                          ads_name out) {
  clearName(out);
  const metaObjectC pieces = splitCurve(shape);
  metaTreeC* first = pieces.node() ? pieces.node()->firstChild() : nullptr;
  if (!first) return 1;
  if (m2dCircleC::isKindOf(first)) return makeCircle(mBaseCircle2dC(first, 0), penClass, cosmetic, out);

  const EntityAttributes pen = entityAttributes(penClass, cosmetic);
  const double origin[3] = {0.0, 0.0, 0.0};
  ads_name ignored = {0, 0};
  if (makeReported(*this,
                   hostcall::buildList(RTDXF0, "POLYLINE", 100, "AcDbEntity", 8, pen.layer, 6,
                                       pen.lineType, 62, pen.colour, 100, "AcDb2dPolyline", 66, 1,
                                       70, shape.isClosed() ? 1 : 0, 10, origin, 0),
                   ignored, "Polyline konnte nicht erzeugt werden!") != 1) {
    return -1;
  }

  auto vertex = [&](const mVec2dC& at, double bulge) {
    const double point[3] = {at.x, at.y, 0.0};
    ads_name unused = {0, 0};
    return makeReported(*this,
                        hostcall::buildList(RTDXF0, "VERTEX", 100, "AcDbEntity", 8, pen.layer,
                                            6, pen.lineType, 62, pen.colour, 100, "AcDbVertex",
                                            100, "AcDb2dVertex", 10, point, 42, bulge, 0),
                        unused, "Polyline-Vertex konnte nicht erzeugt werden!") == 1;
  };

  auto sequenceEnd = [&]() {
    return makeEntity(hostcall::buildList(RTDXF0, "SEQEND", 100, "AcDbEntity", 8, pen.layer, 6,
                                          pen.lineType, 62, pen.colour, 0),
                      out);
  };

  mVec2dC last;
  bool made = true;
  for (metaTreeC* piece = first; piece && made; piece = piece->nextSibling()) {
    if (m2dLineC::isKindOf(piece)) {
      const mBaseLine2dC line(piece, 0);
      made = vertex(line.startPoint(), 0.0);
      last = line.endPoint();
    } else if (m2dArcC::isKindOf(piece)) {
      const mBaseArc2dC arc(piece, 0);
      const mVec2dC s = arc.startPoint();
      made = vertex(s, arcPieceBulge(s, arc.midPoint(), arc.endPoint(), arc.centre()));
      last = arc.endPoint();
    } else if (m2dCircleC::isKindOf(piece)) {
      // A circle after other pieces starts and ends where they end: two half circles from
      // there, through the opposite point and back.
      const mVec2dC c = mBaseCircle2dC(piece, 0).centre();
      made = vertex(last, 1.0) && vertex(c.times(2.0).minus(last), 1.0);
    }
  }
  if (made) made = vertex(last, 0.0);
  if (!made) {
    // A refused vertex ends the polyline: it is closed and deleted at once, so that the host
    // takes the figure's other entities and no half-made polyline stays in the drawing. A
    // polyline with too few vertices for a SEQEND is discarded by the host itself.
    if (sequenceEnd() == RTNORM) hostcall::entDel(out);
    clearName(out);
    return -1;
  }
  if (sequenceEnd() != RTNORM) {
    clearName(out);
    printMessage("Polyline konnte nicht erzeugt werden!");
    return -1;
  }
  return 1;
}
