#include "model3d/m3dDocument.h"

#include <regex>
#include <string>

#include <gtest/gtest.h>

#include "model3d/m3dAsm.h"
#include "model3d/m3dConnPoint.h"
#include "model3d/m3dMateTransZ.h"
#include "model3d/m3dMates.h"
#include "model3d/m3dMember.h"
#include "model3d/m3dPart.h"
#include "model3d/m3dRegistries.h"
#include "model3d/testing/m3dTestTree.h"

namespace {

using namespace m3dtesting;

// A part with one connection point at (2, 4, 6); `extra` goes inside the part node.
std::string partText(const std::string& extra = "") {
  return "PART { " + extra + " CONNECT { CONNPOINT { NAME { \"c\" } " +
         matText(translation(2, 4, 6)) + " } } }";
}

mVec3dC connOrigin(metaTreeC* part) {
  const mMat4dC m = m3dPartC(part, 0).connections().findByName("c").getMatrix();
  return {m.m[12], m.m[13], m.m[14]};
}

TEST(m3dDocument, ClassesAreRegisteredUnderTheirKeysAndDepths) {
  const int d = m3dGeomOpDepth;
  struct Case {
    metaClassRegistryC* registry;
    const char* key;
    int depth;
  } cases[] = {{m3dClassRegistry, "PART", d + 2},     {m3dClassRegistry, "CONNPOINT", d + 1},
               {m3dClassRegistry, "ASSEMBLY", d + 2}, {m3dClassRegistry, "MEMBER", d + 1},
               {m3dClassRegistry, "TRANSZ", d + 2},   {m3dDocumentRegistry, "PART", d + 2},
               {m3dDocumentRegistry, "ASSEMBLY", d + 2}};
  for (const Case& c : cases) {
    ASSERT_NE(c.registry, nullptr);
    EXPECT_EQ(c.registry->depthOf(c.key), c.depth) << c.key;
  }
  EXPECT_EQ(m3dDocumentRegistry->depthOf("MEMBER"), -1);
}

TEST(m3dDocument, ScaleForwardsByTheNodeKey) {
  treeP part = readTree(partText());
  // A plain base view on a "PART" node runs the part's override.
  EXPECT_EQ(m3dGeomOpBaseC(part.get(), 0).scaleGeometry(2.0), 1);
  const mVec3dC o = connOrigin(part.get());
  EXPECT_EQ(o.x, 4.0);
  EXPECT_EQ(o.z, 12.0);

  // Unregistered keys and non-key nodes answer 0 and change nothing.
  for (const char* text : {"FOO { MAT { 1 } }", "\"PART\"", "3"}) {
    treeP other = readTree(text);
    const std::string before = dump(other.get());
    EXPECT_EQ(m3dGeomOpBaseC(other.get(), 0).scaleGeometry(2.0), 0) << text;
    EXPECT_EQ(m3dGeomOpBaseC(other.get(), 0).transformGeometry(translation(1, 1, 1)), 0) << text;
    EXPECT_EQ(dump(other.get()), before);
  }
  EXPECT_EQ(m3dGeomOpBaseC().scaleGeometry(2.0), 0);
}

TEST(m3dDocument, APrototypeNeverForwardsToItself) {
  // The assembly keeps the forwarding transform: its own prototype answers 0 and nothing moves.
  treeP assembly = readTree("ASSEMBLY { MEMBER { " + matText(translation(1, 2, 3)) + " " +
                            partText() + " } }");
  const std::string before = dump(assembly.get());
  EXPECT_EQ(m3dGeomOpBaseC(assembly.get(), 0).transformGeometry(translation(5, 0, 0)), 0);
  EXPECT_EQ(m3dAsmC(assembly.get(), 0).transformGeometry(translation(5, 0, 0)), 0);
  EXPECT_EQ(dump(assembly.get()), before);
  // Document operations on a node with no document registration give the empty answers.
  treeP other = readTree("MEMBER { }");
  m3dNodeListC list = makeNodeList();
  list.append(other.get());
  EXPECT_EQ(m3dDocumentC(other.get(), 0).listPartNodes(list).size(), 0u);
  EXPECT_EQ(m3dDocumentC(other.get(), 0).setDocumentUnitValue(2.0), 0);
}

TEST(m3dDocument, MakeShortNameStripsOrGenerates) {
  const std::regex generated("QVL_([0-9]+)_-?[0-9]+");
  struct Case {
    const char* shortName;
    const char* expected;  // null: a generated name
  } cases[] = {{"AB-12", "AB-12"}, {"AB-12_xyz99", "AB1299"}, {"ABCDEFGHIJ", nullptr}};
  for (const Case& c : cases) {
    treeP part = readTree(std::string("PART { SHORTNAME { \"") + c.shortName + "\" } }");
    const str name = m3dPartC(part.get(), 0).makeShortName(8);
    if (c.expected) {
      EXPECT_STREQ(name.text(), c.expected);
    } else {
      EXPECT_TRUE(std::regex_match(name.text(), generated)) << name.text();
    }
    // Nothing is written back.
    EXPECT_STREQ(m3dPartC(part.get(), 0).getShortName(), c.shortName);
  }
  // An empty short name falls back to the name.
  treeP named = readTree("PART { NAME { \"Wheel\" } }");
  EXPECT_STREQ(m3dPartC(named.get(), 0).makeShortName(8).text(), "Wheel");
}

TEST(m3dDocument, GeneratedNamesCountUpAndAreNotStored) {
  treeP part = readTree("PART { }");
  const m3dPartC view(part.get(), 0);
  const std::regex generated("QVL_([0-9]+)_-?[0-9]+");
  std::cmatch first, second;
  const str a = view.makeName();
  const str b = view.makeName();
  ASSERT_TRUE(std::regex_match(a.text(), first, generated)) << a.text();
  ASSERT_TRUE(std::regex_match(b.text(), second, generated)) << b.text();
  EXPECT_EQ(std::stoul(second[1]), std::stoul(first[1]) + 1);
  EXPECT_STREQ(view.getName(), "");
}

TEST(m3dDocument, NumberPartsAndFindThem) {
  treeP assembly = readTree(
      "ASSEMBLY { MEMBER { PART { NAME { \"a\" } } } MEMBER { ASSEMBLY { MEMBER { PART { NAME { "
      "\"b\" } } } } } MEMBER { PART { NAME { \"c\" } } } }");
  m3dAsmC view(assembly.get(), 0);
  EXPECT_EQ(view.numberParts(1), 3);
  const char* names[] = {"a", "b", "c"};
  for (int n = 1; n <= 3; ++n) {
    metaTreeC* found = view.findPartByNumber(n);
    ASSERT_NE(found, nullptr) << n;
    EXPECT_STREQ(m3dPartC(found, 0).getName(), names[n - 1]);
    EXPECT_EQ(m3dPartC(found, 0).getPartNumber(), n);
  }
  EXPECT_EQ(view.findPartByNumber(4), nullptr);

  treeP empty = readTree("ASSEMBLY { }");
  EXPECT_EQ(m3dAsmC(empty.get(), 0).numberParts(1), 0);
  // A part numbers itself.
  treeP part = readTree("PART { }");
  EXPECT_EQ(m3dPartC(part.get(), 0).numberParts(7), 7);
}

TEST(m3dDocument, PartUnitValueScalesByOldOverNew) {
  struct Case {
    const char* prefs;
    double value;
    double scale;      // expected factor on the geometry
    bool stored;       // "UNITBASE" becomes the value
    int result;
  } cases[] = {
      {"PARTPREFS { UNITBASE { 0 } }", 2.0, 0.5, true, 1},  // a stored 0 counts as 1
      {"", 4.0, 0.25, true, 1},                             // so does an absent one
      {"PARTPREFS { UNITBASE { 3 } }", 1.5, 2.0, true, 1},
      {"PARTPREFS { UNITBASE { 2 } }", 2.0, 1.0, false, 1},  // equal: nothing at all
      {"PARTPREFS { UNITBASE { 2 } }", 0.0, 1.0, false, 0},  // would divide by zero: refused
  };
  for (const Case& c : cases) {
    treeP part = readTree(partText(c.prefs));
    m3dPartC view(part.get(), 0);
    int foundBefore = 0;
    const double before = view.preferences().getAttrReal("UNITBASE", &foundBefore);
    EXPECT_EQ(view.setDocumentUnitValue(c.value), c.result) << c.prefs << " " << c.value;
    EXPECT_DOUBLE_EQ(connOrigin(part.get()).y, 4.0 * c.scale);
    EXPECT_DOUBLE_EQ(view.preferences().getAttrReal("UNITBASE"), c.stored ? c.value : before);
  }
}

TEST(m3dDocument, AssemblyUnitValueReachesEveryPart) {
  treeP assembly = readTree(
      "ASSEMBLY { ASMPREFS { UNITBASE { 1 } } MEMBER { " + matText(translation(10, 0, 0)) + " " +
      partText("PARTPREFS { UNITBASE { 1 } }") + " } MEMBER { " + matText(translation(0, 20, 0)) +
      " ASSEMBLY { MEMBER { " + partText("PARTPREFS { UNITBASE { 2 } }") +
      " } } } MATES { TRANSZ { VALUE { 5 } } } }");
  m3dAsmC view(assembly.get(), 0);
  EXPECT_EQ(view.setDocumentUnitValue(10.0), 1);
  EXPECT_DOUBLE_EQ(view.preferences().getAttrReal("UNITBASE"), 10.0);
  EXPECT_DOUBLE_EQ(view.members().item(0).getMatrix().m[12], 1.0);
  EXPECT_DOUBLE_EQ(view.members().item(1).getMatrix().m[13], 2.0);
  m3dNodeListC parts = makeNodeList();
  view.listPartNodes(parts);
  ASSERT_EQ(parts.size(), 2u);
  EXPECT_DOUBLE_EQ(connOrigin(parts[0]).y, 0.4);  // 1 / 10
  EXPECT_DOUBLE_EQ(connOrigin(parts[1]).y, 0.8);  // 2 / 10
  for (int i = 0; i < 2; ++i)
    EXPECT_DOUBLE_EQ(m3dPartC(parts[i], 0).preferences().getAttrReal("UNITBASE"), 10.0);
  metaTreeC* mate = view.findChild("MATES")->firstChild();
  EXPECT_DOUBLE_EQ(metaObjectC(mate, 0).getAttrReal("VALUE"), 0.5);
}

// The connection point's origin in the coordinates of the outermost assembly: every member's
// placement on the way out applied in turn.
mVec3dC worldOrigin(metaTreeC* part) {
  mVec3dC p = connOrigin(part);
  for (metaTreeC* up = part->parent(); up; up = up->parent()) {
    if (metaObjectC(up, 0).hasKey("MEMBER")) p = m3dMemberC(up, 0).getMatrix().transformPoint(p);
  }
  return p;
}

TEST(m3dDocument, UnitValueReachesEveryLevelOfNestedAssemblies) {
  // top (unit 1) places middle by (10, 0, 0); middle (unit 1, one mate) places inner turned a
  // quarter about z and moved by (0, 4, 0); inner (no unit: 1) places the part (stored unit 0:
  // 1) by (0, 0, 6). The part's point (2, 4, 6) lies at (2, 4, 12) in inner, at
  // (-4, 2, 12) + (0, 4, 0) = (-4, 6, 12) in middle and at (6, 6, 12) in top. Unit 2 halves it.
  const mMat4dC quarter = frame({0, 1, 0}, {-1, 0, 0}, {0, 0, 1}, {0, 4, 0});
  const std::string inner = "ASSEMBLY { MEMBER { " + matText(translation(0, 0, 6)) + " " +
                            partText("PARTPREFS { UNITBASE { 0 } }") + " } }";
  const std::string middle = "ASSEMBLY { ASMPREFS { UNITBASE { 1 } } MEMBER { " + matText(quarter) +
                             " " + inner + " } MATES { TRANSZ { VALUE { 5 } } } }";
  treeP top = readTree("ASSEMBLY { ASMPREFS { UNITBASE { 1 } } MEMBER { " +
                       matText(translation(10, 0, 0)) + " " + middle + " } }");
  m3dAsmC view(top.get(), 0);
  m3dNodeListC parts = makeNodeList();
  view.listPartNodes(parts);
  ASSERT_EQ(parts.size(), 1u);
  metaTreeC* part = parts[0];
  const mVec3dC before = worldOrigin(part);
  EXPECT_DOUBLE_EQ(before.x, 6.0);
  EXPECT_DOUBLE_EQ(before.y, 6.0);
  EXPECT_DOUBLE_EQ(before.z, 12.0);

  for (int pass = 0; pass < 2; ++pass) {  // the second pass finds every unit already 2
    EXPECT_EQ(view.setDocumentUnitValue(2.0), 1);
    const mVec3dC after = worldOrigin(part);
    EXPECT_DOUBLE_EQ(after.x, 3.0) << pass;
    EXPECT_DOUBLE_EQ(after.y, 3.0) << pass;
    EXPECT_DOUBLE_EQ(after.z, 6.0) << pass;
    int levels = 0;
    for (metaTreeC* up = part; up; up = up->parent()) {
      if (isAssemblyNode(up)) {
        EXPECT_DOUBLE_EQ(m3dAsmC(up, 0).preferences().getAttrReal("UNITBASE"), 2.0) << levels;
        ++levels;
      }
    }
    EXPECT_EQ(levels, 3);
    EXPECT_DOUBLE_EQ(m3dPartC(part, 0).preferences().getAttrReal("UNITBASE"), 2.0);
    const m3dAsmC middleView(view.members().item(0).findChild("ASSEMBLY"), 0);
    EXPECT_DOUBLE_EQ(m3dMateTransZC(middleView.mates().item(0).node(), 0).getValue(), 2.5);
  }
}

TEST(m3dDocument, ParseIdentMakesExtendedAttributeRecords) {
  treeP part = readTree("PART { MIDENT { \"{NORM=DIN 912}{SIZE=M8}{NORM=x}\" } }");
  treeP out = readTree("OUT { }");
  EXPECT_EQ(m3dPartC(part.get(), 0).parseIdent(metaObjectC(out.get(), 0)), 3);
  EXPECT_EQ(dump(out.get()),
            "OUT { EXTATTRVAR { NAME { \"NORM\" } VALUE { \"DIN 912\" } } EXTATTRVAR { NAME { "
            "\"SIZE\" } VALUE { \"M8\" } } }");
}

}  // namespace
