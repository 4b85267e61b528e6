// Builds a drawing through the host API, in-process, the way a plug-in would, and saves it as
// DXF and as the host's dump, for the independent DXF check (dxf_check.py).
//
//   host_dxf_fixture CASE OUTDIR      writes OUTDIR/CASE.dxf and OUTDIR/CASE.dump
//
// Cases: entities (every entity type), block (blocks with INSERTs, one nested), hatch (hatches
// with their boundary links, moved and turned), solid (3DSOLIDs from a SAT import, made a block
// as the 3D commands do), layers (layers with colours and loaded line types).

#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>

#include "host/DrawingDump.h"
#include "host/DxfWriter.h"
#include "host/HostSession.h"
#include "host/api.h"

namespace {

constexpr double kPi = 3.141592653589793;
int failures = 0;
std::string outDir;   // every file the fixture writes goes here

void check(int rc, const char* what) {
  if (rc != RTNORM) {
    std::fprintf(stderr, "host_dxf_fixture: %s failed (%d)\n", what, rc);
    ++failures;
  }
}

int make(resbuf* list) {
  int rc = acdbEntMake(list);
  acutRelRb(list);
  return rc;
}

void line(double x1, double y1, double x2, double y2, const char* layer = "0") {
  ads_point a = {x1, y1, 0}, b = {x2, y2, 0};
  check(make(acutBuildList(RTDXF0, "LINE", 8, layer, 6, "BYLAYER", 62, 256, 10, a, 11, b, 0)), "LINE");
}

void addLast(ads_name set) {
  ads_name e;
  acdbEntLast(e);
  acedSSAdd(e, set, set);
}

// Makes a block of the set's entities, as the plug-in does, and frees the set.
void block(const char* name, ads_name set) {
  ads_point base = {0, 0, 0};
  check(acedCommand(RTSTR, "_.BLOCK", RTSTR, name, RTPOINT, base, RTPICKS, set, RTSTR, "", RTNONE),
        "_.BLOCK");
  acedSSFree(set);
}

void insert(const char* name, double x, double y, double degrees) {
  ads_point at = {x, y, 0};
  check(make(acutBuildList(RTDXF0, "INSERT", 2, name, 10, at, 50, degrees * kPi / 180.0, 0)), "INSERT");
}

void polyline(double x, double y, const char* layer) {
  ads_point zero = {0, 0, 0};
  check(make(acutBuildList(RTDXF0, "POLYLINE", 100, "AcDbEntity", 8, layer, 6, "BYLAYER", 62, 256,
                           100, "AcDb2dPolyline", 66, 1, 70, 1, 10, zero, 0)),
        "POLYLINE");
  double pts[4][3] = {{x, y, 0}, {x + 10, y, 0}, {x + 10, y + 5, 0}, {x, y + 5, 0}};
  double bulge[4] = {0.0, 0.5, 0.0, -0.25};
  for (int i = 0; i < 4; ++i)
    check(make(acutBuildList(RTDXF0, "VERTEX", 100, "AcDbEntity", 8, layer, 6, "BYLAYER", 62, 256,
                             100, "AcDbVertex", 100, "AcDb2dVertex", 10, pts[i], 42, bulge[i], 0)),
          "VERTEX");
  check(make(acutBuildList(RTDXF0, "SEQEND", 100, "AcDbEntity", 8, layer, 6, "BYLAYER", 62, 256, 0)),
        "SEQEND");
}

// A square of four lines with a circle inside, hatched with two loops linked to them, the way
// the plug-in's hatch conversion builds it.
void hatchedSquare(double x, double y, ads_name set) {
  ads_name edges[5];
  double c[5][2] = {{x, y}, {x + 20, y}, {x + 20, y + 20}, {x, y + 20}, {x, y}};
  for (int i = 0; i < 4; ++i) {
    line(c[i][0], c[i][1], c[i + 1][0], c[i + 1][1]);
    acdbEntLast(edges[i]);
    if (set) addLast(set);
  }
  ads_point centre = {x + 10, y + 10, 0}, zero = {0, 0, 0}, z = {0, 0, 1};
  check(make(acutBuildList(RTDXF0, "CIRCLE", 8, "0", 10, centre, 40, 4.0, 0)), "CIRCLE");
  acdbEntLast(edges[4]);
  if (set) addLast(set);
  double a = (0 + 45) / 180.0 * kPi, d = 3.0;
  resbuf* head = acutBuildList(RTDXF0, "HATCH", 100, "AcDbEntity", 8, "0", 100, "AcDbHatch", 62, 1,
                               10, zero, 210, z, 2, "_U", 70, 0, 71, 1, 91, 2, 92, 1, 93, 4, 0);
  resbuf* tail = head;
  auto append = [&](resbuf* chain) {
    while (tail->rbnext) tail = tail->rbnext;
    tail->rbnext = chain;
  };
  for (int i = 0; i < 4; ++i) {
    ads_point p = {c[i][0], c[i][1], 0}, q = {c[i + 1][0], c[i + 1][1], 0};
    append(acutBuildList(72, 1, 10, p, 11, q, 0));
  }
  append(acutBuildList(97, 4, 330, edges[0], 330, edges[1], 330, edges[2], 330, edges[3], 0));
  append(acutBuildList(92, 16, 93, 1, 72, 2, 10, centre, 40, 4.0, 50, 0.0, 51, 2 * kPi, 73, 1,
                       97, 1, 330, edges[4], 0));
  append(acutBuildList(75, 0, 76, 1, 52, a, 41, d, 77, 0, 78, 1, 53, a, 43, 0.0, 44, 0.0, 45,
                       std::cos(a + kPi / 2) * d, 46, std::sin(a + kPi / 2) * d, 79, 0, 98, 1, 10,
                       zero, 0));
  check(make(head), "HATCH");
  if (set) addLast(set);
}

void entities() {
  ads_point c = {30, 0, 0}, axis = {8, 2, 0}, zero = {0, 0, 0}, t = {0, 40, 0};
  line(0, 0, 20, 10);
  check(make(acutBuildList(RTDXF0, "ARC", 8, "0", 6, "BYLAYER", 62, 2, 10, c, 40, 5.0, 50,
                           kPi / 6, 51, kPi * 1.25, 0)),
        "ARC");
  check(make(acutBuildList(RTDXF0, "CIRCLE", 8, "0", 62, 3, 10, c, 40, 2.0, 0)), "CIRCLE");
  ads_point ec = {60, 0, 0};
  check(make(acutBuildList(RTDXF0, "ELLIPSE", 100, "AcDbEntity", 8, "0", 6, "BYLAYER", 100,
                           "AcDbEllipse", 62, 4, 10, ec, 11, axis, 40, 0.5, 41, 0.0, 42, 2 * kPi, 0)),
        "ELLIPSE");
  ads_point ea = {60, 20, 0};
  check(make(acutBuildList(RTDXF0, "ELLIPSE", 100, "AcDbEntity", 8, "0", 6, "BYLAYER", 100,
                           "AcDbEllipse", 10, ea, 11, axis, 40, 0.3, 41, 0.5, 42, 2.5, 0)),
        "elliptical arc");
  std::string longText(300, 'x');
  longText += " Ma\xC3\x9F und Gr\xC3\xB6\xC3\x9F" "e\\Pzweite Zeile";
  check(make(acutBuildList(RTDXF0, "MTEXT", 100, "AcDbEntity", 8, "0", 6, "BYLAYER", 100,
                           "AcDbMText", 10, t, 40, 2.5, 71, 4, 72, 1, 1, longText.c_str(), 50,
                           kPi / 12, 0)),
        "MTEXT");
  ads_point tp = {0, 50, 0};
  check(make(acutBuildList(RTDXF0, "TEXT", 8, "0", 10, tp, 40, 3.0, 1, "Text 10^-3 mm^2", 50,
                           kPi / 2, 0)),
        "TEXT");
  check(make(acutBuildList(RTDXF0, "POINT", 8, "0", 10, zero, 0)), "POINT");
  polyline(0, -30, "0");
  hatchedSquare(100, 0, nullptr);

  ads_name set;
  acedSSAdd(nullptr, nullptr, set);
  line(0, 0, 5, 0);
  addLast(set);
  block("SMALL", set);
  insert("SMALL", 80, -20, 30);

  std::string sat = outDir + "/solid1.sat";
  std::ofstream(sat) << "700 0 1 0\n@7 unknown 14 ACIS 7.0 NT 24 Thu Jan 01 00:00:00 2026\n"
                                 "1 9.9999999999999995e-007 1e-010\n"
                                 "-0 body $-1 $1 $-1 $-1 #\n-1 lump $-1 $-1 $-1 $0 #\n"
                                 "End-of-ACIS-data\n";
  check(acedCommand(RTSTR, "_acisin", RTSTR, sat.c_str(), RTNONE), "_acisin");
}

void blocks() {
  ads_name set;
  acedSSAdd(nullptr, nullptr, set);
  line(0, 0, 10, 0);
  addLast(set);
  line(10, 0, 10, 10);
  addLast(set);
  ads_point c = {5, 5, 0};
  check(make(acutBuildList(RTDXF0, "ARC", 8, "0", 10, c, 40, 5.0, 50, 0.0, 51, kPi, 0)), "ARC");
  addLast(set);
  block("Bracket View3", set);
  // An outer block holding two INSERTs of the inner one, as a drawing of several figures gives.
  acedSSAdd(nullptr, nullptr, set);
  insert("Bracket View3", 0, 0, 0);
  addLast(set);
  insert("Bracket View3", 20, 0, 90);
  addLast(set);
  block("ASSEMBLY", set);
  insert("ASSEMBLY", 100, 50, 0);
  // Placed as the plug-in places a part: moved, then turned about the insertion point.
  ads_name last, placed;
  acdbEntLast(last);
  acedSSAdd(last, nullptr, placed);
  ads_matrix move = {{1, 0, 0, 5}, {0, 1, 0, 5}, {0, 0, 1, 0}, {0, 0, 0, 1}};
  check(acedXformSS(placed, move), "move");
  double a = kPi / 4, px = 105, py = 55, cs = std::cos(a), sn = std::sin(a);
  ads_matrix turn = {{cs, -sn, 0, px - cs * px + sn * py}, {sn, cs, 0, py - sn * px - cs * py},
                     {0, 0, 1, 0}, {0, 0, 0, 1}};
  check(acedXformSS(placed, turn), "turn");
  acedSSFree(placed);
}

void hatches() {
  ads_name set;
  acedSSAdd(nullptr, nullptr, set);
  hatchedSquare(0, 0, set);
  ads_matrix m = {{0, -1, 0, 50}, {1, 0, 0, 10}, {0, 0, 1, 0}, {0, 0, 0, 1}};
  check(acedXformSS(set, m), "turn the hatch");
  acedSSFree(set);
  // A hatched figure made a block, as block-mode conversion does.
  acedSSAdd(nullptr, nullptr, set);
  hatchedSquare(100, 0, set);
  block("HATCHED", set);
  insert("HATCHED", 0, 60, 15);
  // A second loop without edges, as a boundary curve that turns into one circle leaves it,
  // and a loop whose source made no entity (fewer links than announced).
  ads_point zero = {0, 0, 0}, z = {0, 0, 1}, a = {0, -40, 0}, b = {30, -40, 0}, c = {15, -20, 0};
  check(make(acutBuildList(RTDXF0, "HATCH", 100, "AcDbEntity", 8, "0", 100, "AcDbHatch", 62, 5, 10,
                           zero, 210, z, 2, "_U", 70, 0, 71, 1, 91, 2, 92, 1, 93, 3, 72, 1, 10, a,
                           11, b, 72, 1, 10, b, 11, c, 72, 1, 10, c, 11, a, 97, 3, 92, 16, 93, 0,
                           97, 1, 75, 0, 76, 1, 52, kPi / 4, 41, 5.0, 77, 0, 78, 1, 53, kPi / 4,
                           43, 0.0, 44, 0.0, 45, -3.5, 46, 3.5, 79, 0, 98, 1, 10, zero, 0)),
        "HATCH with an empty loop");
}

void solids() {
  std::string sat = outDir + "/solid2.sat";
  std::ofstream(sat) << "700 0 2 0\n@7 unknown 14 ACIS 7.0 NT 24 Thu Jan 01 00:00:00 2026\n"
                                 "1 9.9999999999999995e-007 1e-010\n"
                                 "-0 body $-1 $2 $-1 $-1 #\n-1 body $-1 $3 $-1 $-1 #\n"
                                 "-2 lump $-1 $-1 $-1 $0 #\n-3 lump $-1 $-1 $-1 $1 #\n"
                                 "End-of-ACIS-data\n";
  line(0, 0, 1, 1);
  ads_name last, set, e;
  acdbEntLast(last);
  check(acedCommand(RTSTR, "_acisin", RTSTR, sat.c_str(), RTNONE), "_acisin");
  acedSSAdd(nullptr, nullptr, set);
  for (int rc = acdbEntNext(last, e); rc == RTNORM; rc = acdbEntNext(e, e)) acedSSAdd(e, set, set);
  block("TROVSOL", set);
  insert("TROVSOL", 10, 10, 0);
}

void layers() {
  check(acedCommand(RTSTR, "_.linetype", RTSTR, "_load", RTSTR, "HIDDEN", RTSTR, "acad.lin", RTSTR,
                    "", RTNONE),
        "load HIDDEN");
  check(acedCommand(RTSTR, "_.linetype", RTSTR, "_load", RTSTR, "CENTER", RTSTR, "acad.lin", RTSTR,
                    "", RTNONE),
        "load CENTER");
  const char* names[] = {"SOLIDHEAVY", "HIDDEN", "CENTER", "COSM"};
  const char* lts[] = {"CONTINUOUS", "HIDDEN", "CENTER", nullptr};
  short colours[] = {7, 1, 5, 3};
  for (int i = 0; i < 4; ++i) {
    check(acedCommand(RTSTR, "_.layer", RTSTR, "_new", RTSTR, names[i], RTSTR, "", RTNONE), "layer");
    if (lts[i])
      check(acedCommand(RTSTR, "_.layer", RTSTR, "_ltype", RTSTR, lts[i], RTSTR, names[i], RTSTR, "",
                        RTNONE),
            "layer ltype");
    check(acedCommand(RTSTR, "_.layer", RTSTR, "_color", RTSHORT, colours[i], RTSTR, names[i], RTSTR,
                      "", RTNONE),
          "layer colour");
    line(0, i * 5.0, 50, i * 5.0, names[i]);
  }
  ads_point a = {0, 30, 0}, b = {50, 30, 0};
  check(make(acutBuildList(RTDXF0, "LINE", 8, "HIDDEN", 6, "CENTER", 62, 6, 10, a, 11, b, 0)),
        "LINE with its own line type");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: host_dxf_fixture entities|block|hatch|solid|layers OUTDIR\n");
    return 2;
  }
  std::string which = argv[1], out = argv[2];
  outDir = out;
  kxhost::HostSession& host = kxhost::HostSession::instance();
  // The host's own support folder, where "acad.lin" lies.
  host.supportFolders().push_back(KXHOST_SUPPORT_DIR);
  if (which == "entities")
    entities();
  else if (which == "block")
    blocks();
  else if (which == "hatch")
    hatches();
  else if (which == "solid")
    solids();
  else if (which == "layers")
    layers();
  else {
    std::fprintf(stderr, "host_dxf_fixture: unknown case %s\n", which.c_str());
    return 2;
  }
  std::string error;
  if (!kxhost::DxfWriter(host.database(), host.variables()).save(out + "/" + which + ".dxf", error) ||
      !kxhost::DrawingDump(host).save(out + "/" + which + ".dump", error)) {
    std::fprintf(stderr, "host_dxf_fixture: %s\n", error.c_str());
    return 1;
  }
  if (!host.transcript().text().empty()) std::fputs(host.transcript().text().c_str(), stderr);
  return failures ? 1 : 0;
}
