#include "model3d/m3dAsm.h"

#include <string>

#include <gtest/gtest.h>

#include "model3d/m3dCosSketch.h"
#include "model3d/m3dMateTransZ.h"
#include "model3d/m3dMates.h"
#include "model3d/m3dMemberAsm.h"
#include "model3d/m3dPart.h"
#include "model3d/m3dVectorOps.h"
#include "model3d/testing/m3dExpectNear.h"
#include "model3d/testing/m3dTestAxesFeature.h"
#include "model3d/testing/m3dTestTree.h"

namespace {

using namespace m3dtesting;

// Default closeness for expectNear in this file.
constexpr double kTol = 1e-12;

// A part with one connection point "c" of the given placement.
std::string part(const char* name, const mMat4dC& connection = translation(1, 2, 3),
                 const std::string& extra = "") {
  return std::string("PART { NAME { \"") + name + "\" } " + extra +
         " CONNECT { CONNPOINT { NAME { \"c\" } " + matText(connection) + " } } }";
}

std::string member(const mMat4dC& placement, const std::string& document) {
  return "MEMBER { " + matText(placement) + " " + document + " }";
}

std::string mate(const char* endA, const char* endB, const char* key = "TRANSZ") {
  return std::string(key) + " { MEMBER { \"" + endA + "\" \"" + endB + "\" } VALUE { 3 } }";
}

mVec3dC connOrigin(metaTreeC* partNode) {
  return origin(m3dPartC(partNode, 0).connections().findByName("c").getMatrix());
}

TEST(m3dAsm, ScaleReachesPlacementsPartsAndMates) {
  const mMat4dC turned = frame({0, 1, 0}, {-1, 0, 0}, {0, 0, 1}, {10, 20, 30});
  treeP assembly = readTree("ASSEMBLY { " + member(turned, part("a")) + " MATES { " +
                            mate("c@1", "c@1") + " } }");
  m3dAsmC view(assembly.get(), 0);
  const std::string before = dump(assembly.get());
  EXPECT_EQ(view.scaleGeometry(1.0), 1);
  EXPECT_EQ(dump(assembly.get()), before);

  EXPECT_EQ(view.scaleGeometry(2.0), 1);
  const mMat4dC m = view.members().item(0).getMatrix();
  expectNear(origin(m), {20, 40, 60}, kTol);
  expectNear(axisX(m), {0, 1, 0}, kTol);
  expectNear(connOrigin(view.members().item(0).findChild("PART")), {2, 4, 6}, kTol);
  EXPECT_EQ(m3dMateTransZC(view.mates().item(0).node(), 0).getValue(), 6.0);
}

TEST(m3dAsm, ListsOwnNodeThenPartsInMemberOrder) {
  treeP assembly = readTree("ASSEMBLY { " + member(translation(0, 0, 0), part("p1")) + " " +
                            member(translation(0, 0, 0),
                                   "ASSEMBLY { " + member(translation(0, 0, 0), part("p2")) + " " +
                                       member(translation(0, 0, 0), part("p3")) + " }") +
                            " }");
  m3dNodeListC list = makeNodeList();
  m3dAsmC(assembly.get(), 0).listDocumentNodes(list);
  ASSERT_EQ(list.size(), 4u);
  EXPECT_EQ(list[0], assembly.get());
  const char* names[] = {"p1", "p2", "p3"};
  for (int i = 0; i < 3; ++i) EXPECT_STREQ(m3dPartC(list[i + 1], 0).getName(), names[i]);
  m3dAsmC(assembly.get(), 0).listPartNodes(list);
  EXPECT_EQ(list.size(), 3u);
}

// Top assembly: members 1, 2, 3; member 1 holds a sub-assembly of two members.
std::string pathFixture(const std::string& mates) {
  const mMat4dC id = translation(0, 0, 0);
  return "ASSEMBLY { " +
         member(id, "ASSEMBLY { " + member(id, part("sub1")) + " " + member(id, part("sub2")) + " }") +
         " " + member(id, part("top2")) + " " + member(id, part("top3")) + " MATES { " + mates + " } }";
}

TEST(m3dAsm, MemberPathsResolveInnermostFirst) {
  struct Case {
    const char* end;
    const char* partName;  // null: the path leads nowhere
  } cases[] = {{"c@2@1", "sub2"}, {"c@1@1", "sub1"}, {"c@3", "top3"}, {"c@0", nullptr},
               {"c@9", nullptr},  {"c@x", nullptr},  {"c@99999999999999999999", nullptr}};
  for (const Case& c : cases) {
    treeP assembly = readTree(pathFixture(mate(c.end, "c@2")));
    const m3dMateC view = m3dAsmC(assembly.get(), 0).mates().item(0);
    m3dMemberC a, b;
    EXPECT_EQ(view.resolveMembers(a, b), c.partName ? 1 : 0) << c.end;
    EXPECT_STREQ(b.memberDocumentName(), "top2");
    if (c.partName) {
      EXPECT_STREQ(a.memberDocumentName(), c.partName) << c.end;
    }
  }
  // An end without an at sign stops the resolution at once.
  treeP assembly = readTree(pathFixture(mate("c2", "c@2")));
  const m3dMateC view = m3dAsmC(assembly.get(), 0).mates().item(0);
  memberPathC a, b;
  EXPECT_EQ(view.endPaths(a, b), 0);
  str nameA, nameB;
  EXPECT_EQ(view.endNames(nameA, nameB), 0);
}

TEST(m3dAsm, MatingSenseComparesPlacedConnectionAxes) {
  const mMat4dC up = translation(0, 0, 0);
  const mMat4dC down = frame({1, 0, 0}, {0, -1, 0}, {0, 0, -1}, {0, 0, 0});
  const mMat4dC sideways = frame({0, 0, 1}, {0, 1, 0}, {-1, 0, 0}, {0, 0, 0});
  struct Case {
    mMat4dC connectionB, placementB;
    int sense;
  } cases[] = {
      {down, up, 1},        // opposite connection axes
      {up, up, 2},          // the same way
      {sideways, up, 2},    // perpendicular
      {up, down, 1},        // opposite only once member B is placed
  };
  for (const Case& c : cases) {
    treeP assembly = readTree("ASSEMBLY { " + member(up, part("a", up)) + " " +
                              member(c.placementB, part("b", c.connectionB)) + " MATES { " +
                              mate("c@1", "c@2") + " } }");
    EXPECT_EQ(m3dAsmC(assembly.get(), 0).mates().item(0).matingSense(), c.sense);
  }
  // A connection point name that the part lacks resolves to nothing.
  treeP assembly = readTree("ASSEMBLY { " + member(up, part("a")) + " " + member(up, part("b")) +
                            " MATES { " + mate("c@1", "nosuch@2") + " } }");
  const m3dMateC view = m3dAsmC(assembly.get(), 0).mates().item(0);
  m3dConnPointC pa, pb;
  EXPECT_EQ(view.resolveConnections(pa, pb), 0);
  EXPECT_EQ(view.matingSense(), 0);
}

TEST(m3dAsm, MemberTransformComposesNestedPlacements) {
  // Member M1 of the top turns by 90 degrees about z and moves by (10, 0, 0); inside it member m
  // moves by (1, 0, 0). A point p of m's part lies at M1 (m p) in the top assembly.
  const mMat4dC outer = frame({0, 1, 0}, {-1, 0, 0}, {0, 0, 1}, {10, 0, 0});
  const mMat4dC inner = translation(1, 0, 0);
  treeP assembly = readTree("ASSEMBLY { " + member(outer, "ASSEMBLY { " + member(inner, part("x")) + " }") + " }");
  metaTreeC* innerMember = m3dAsmC(assembly.get(), 0).members().item(0).findChild("ASSEMBLY")->firstChild();
  mMat4dC out;
  ASSERT_EQ(m3dMemberC(innerMember, 0).memberTransform(m3dAsmC(assembly.get(), 0), out), 1);
  const mVec3dC p{0, 0, 5};
  expectNear(transformPoint(out, p), transformPoint(outer, transformPoint(inner, p)), kTol);
  expectNear(transformPoint(out, p), {10, 1, 5}, kTol);
  // A member outside the top assembly does not reach it.
  treeP other = readTree("ASSEMBLY { }");
  EXPECT_EQ(m3dMemberC(innerMember, 0).memberTransform(m3dAsmC(other.get(), 0), out), 0);
}

TEST(m3dAsm, MatesJoiningTheSameEndsShareAGroup) {
  treeP assembly = readTree(pathFixture(mate("c@1@1", "c@2") + " " + mate("c@1@1", "c@2", "OTHER") +
                                        " " + mate("c@2@1", "c@2")));
  m3dMateC::groupPoolC groups(3);
  m3dMateC::groupMates(m3dAsmC(assembly.get(), 0).mates(), groups);
  ASSERT_EQ(groups.size(), 2u);
  ASSERT_EQ(groups[0].size(), 2u);
  ASSERT_EQ(groups[1].size(), 1u);
  const m3dMatesC mates = m3dAsmC(assembly.get(), 0).mates();
  EXPECT_EQ(groups[0][0].node(), mates.childNode(0));
  EXPECT_EQ(groups[0][1].node(), mates.childNode(1));
  EXPECT_EQ(groups[1][0].node(), mates.childNode(2));
}

TEST(m3dAsm, AxisLinesAreFilteredInTheMemberFrameAndMappedOut) {
  // The member turns its part by 90 degrees about y and moves it by (10, 0, 0). The part's two
  // axes run along its own x and y. Seen along the top's z, its x axis (which the member turns
  // onto -z) lies along the view and is dropped; its y axis is kept and mapped out.
  const mMat4dC turned = frame({0, 0, -1}, {0, 1, 0}, {1, 0, 0}, {10, 0, 0});
  treeP assembly = readTree("ASSEMBLY { " +
                            member(turned, "PART { PARTNR { 2 } ITEMS { TESTAXES { SEGS { 0 0 0 4 0 0 "
                                           "0 0 0 0 4 0 } } } }") +
                            " }");
  m3dAxisPoolC pool(3);
  m3dAsmC(assembly.get(), 0).collectAxisLines(translation(0, 0, 0), pool, 0);
  ASSERT_EQ(pool.size(), 1u);
  expectNear(pool[0].start, {10, 0, 0}, kTol);
  expectNear(pool[0].end, {10, 4, 0}, kTol);
  EXPECT_EQ(pool[0].tag, 2);

  m3dAxisPoolC all(3);
  m3dAsmC(assembly.get(), 0).collectAxisLines(translation(0, 0, 0), all, 1);
  ASSERT_EQ(all.size(), 2u);
  expectNear(all[0].end, {10, 0, -4}, kTol);
}

TEST(m3dAsm, CosmeticsArePlacedByTheMember) {
  const mMat4dC placement = translation(10, 0, 0);
  treeP assembly = readTree("ASSEMBLY { " +
                            member(placement, "PART { PARTNR { 3 } COSDRAW { COSSKETCH { NAME { \"s\" } " +
                                                  matText(translation(0, 1, 0)) + " } } }") +
                            " }");
  treeP out = readTree("OUT { COSSKETCH { NAME { \"before\" } } }");
  EXPECT_NE(m3dAsmC(assembly.get(), 0).collectViewCosmetics(translation(0, 0, 0), metaObjectC(out.get(), 0)), 0);
  ASSERT_EQ(out->childCount(), 2);
  // The earlier child is left alone; the new one is placed by the member.
  expectNear(origin(m3dCosSketchC(out->firstChild(), 0).getMatrix()), {0, 0, 0}, kTol);
  expectNear(origin(m3dCosSketchC(out->firstChild()->nextSibling(), 0).getMatrix()), {10, 1, 0}, kTol);
}

TEST(m3dAsm, RemoveNegativePartsWalksSubAssemblies) {
  const mMat4dC id = translation(0, 0, 0);
  treeP assembly = readTree(
      "ASSEMBLY { " + member(id, part("keep1")) + " " + member(id, part("neg1", id, "MTYP { NEG }")) +
      " " +
      member(id, "ASSEMBLY { " + member(id, part("neg2", id, "MTYP { NEG }")) + " " +
                     member(id, part("keep2")) + " }") +
      " }");
  EXPECT_EQ(m3dAsmC(assembly.get(), 0).removeNegativeParts(), 2);
  m3dNodeListC list = makeNodeList();
  m3dAsmC(assembly.get(), 0).listPartNodes(list);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_STREQ(m3dPartC(list[0], 0).getName(), "keep1");
  EXPECT_STREQ(m3dPartC(list[1], 0).getName(), "keep2");
  EXPECT_EQ(m3dAsmC(assembly.get(), 0).memberCount(), 2);
}

TEST(m3dAsm, SetMemberDocumentReplacesAndRefusesLoops) {
  const mMat4dC id = translation(0, 0, 0);
  treeP assembly = readTree("ASSEMBLY { " +
                            member(id, "ASSEMBLY { " + member(id, part("inner")) + " }") + " }");
  m3dMemberC top = m3dAsmC(assembly.get(), 0).members().item(0);
  metaTreeC* sub = top.findChild("ASSEMBLY");
  metaTreeC* innerMember = sub->firstChild();
  // The member itself or an ancestor would close the tree into a loop.
  EXPECT_EQ(m3dMemberC(innerMember, 0).setMemberDocument(sub, 0), 0);
  EXPECT_EQ(m3dMemberC(innerMember, 0).setMemberDocument(assembly.get(), 0), 0);
  EXPECT_EQ(top.setMemberDocument(top.node(), 0), 0);

  // A node inside the document being replaced is taken out before that document goes.
  metaTreeC* innerPart = m3dMemberC(innerMember, 0).findChild("PART");
  EXPECT_EQ(top.setMemberDocument(innerPart, 0), 1);
  EXPECT_STREQ(top.memberDocumentName(), "inner");
  EXPECT_FALSE(top.hasChild("ASSEMBLY"));

  // With the copy flag the given node stays where it is.
  treeP spare = readTree(part("spare"));
  EXPECT_EQ(top.setMemberDocument(spare.get(), 1), 1);
  EXPECT_STREQ(top.memberDocumentName(), "spare");
  EXPECT_STREQ(m3dPartC(spare.get(), 0).getName(), "spare");
  EXPECT_NE(top.findChild("PART"), spare.get());
}

TEST(m3dAsm, DeepNestingStopsInsteadOfOverflowingTheStack) {
  // Built in code, not read: the reader bounds nesting, code may not.
  metaTreeC* root = metaTreeC::createKeyNode("ASSEMBLY");
  treeP owner(root);
  metaTreeC* current = root;
  for (int i = 0; i < 2 * m3dAsmC::maxNesting; ++i) {
    metaTreeC* m = metaTreeC::createKeyNode("MEMBER");
    m->appendAsLastChild(current);
    metaTreeC* a = metaTreeC::createKeyNode("ASSEMBLY");
    a->appendAsLastChild(m);
    current = a;
  }
  metaTreeC* leafMember = metaTreeC::createKeyNode("MEMBER");
  leafMember->appendAsLastChild(current);
  metaTreeC::createKeyNode("PART")->appendAsLastChild(leafMember);
  m3dNodeListC list = makeNodeList();
  m3dAsmC(root, 0).listPartNodes(list);
  EXPECT_EQ(list.size(), 0u);  // the part lies beyond the limit
  EXPECT_EQ(m3dAsmC(root, 0).scaleGeometry(2.0), 1);
}

TEST(m3dAsm, MemberAsmKnowsItsMember) {
  treeP assembly = readTree("ASSEMBLY { MEMBER { ASSEMBLY { } } }");
  metaTreeC* memberNode = assembly->firstChild();
  const m3dMemberAsmC sub(memberNode->firstChild(), 0);
  EXPECT_TRUE(sub.isAssembly());
  EXPECT_EQ(sub.memberOf().node(), memberNode);
  EXPECT_TRUE(sub.memberOf().isMember());
}

}  // namespace
