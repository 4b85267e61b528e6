#include "meta/metaObjectRef.h"

#include <cstdint>

#include <gtest/gtest.h>

#include "meta/metaObjectCustomCopy.h"
#include "meta/metaObjectCustomStorage.h"
#include "meta/metaTree.h"
#include "meta/testing/metaTestTrees.h"
#include "meta/testing/metaTreeDump.h"

namespace {

using metatesting::dumpTree;
using metatesting::parseTree;

metaTreeC* firstRef(metaTreeC* tree) { return metaTreeC::findKey(tree, "MOREF", -1); }

metaTreeC* target(metaTreeC* tree) { return metaObjectRefC(firstRef(tree), 0).targetNode(); }

// Ordinals are 1-based, depth first, counted over the tree as loaded.
TEST(metaObjectRef, PostLoadPassResolvesOrdinalsToNodes) {
  struct caseT {
    const char* reftrg;
    const char* targetKey;  // null: no target
  } cases[] = {
      {"1", "FIGURE"}, {"4", "ARC"}, {"3", "LINE"}, {"7", "REFTRG"},
      {"9", nullptr}, {"0", nullptr}, {"-1", nullptr},
  };
  for (const caseT& c : cases) {
    const std::string text = std::string("FIGURE { FIGURITEMS { LINE ARC } M2DHATCHES { MOREF { "
                                         "REFTRG { ") + c.reftrg + " } } } }";
    metaObjectC tree(parseTree(text.c_str(), 1), 1);
    metaTreeC* found = target(tree.node());
    if (!c.targetKey) {
      EXPECT_EQ(found, nullptr) << c.reftrg;
    } else {
      ASSERT_NE(found, nullptr) << c.reftrg;
      EXPECT_TRUE(found->isKey(c.targetKey)) << c.reftrg;
    }
  }
}

// The first reference's pass gives its empty REFTRG a value node; the second reference's ordinal
// still counts the tree as it was loaded (A 1, MOREF 2, REFTRG 3, B 4).
TEST(metaObjectRef, AnEmptyTargetShiftsNoOrdinalAfterIt) {
  metaObjectC tree(parseTree("A { MOREF { REFTRG { } } B MOREF { REFTRG { 4 } } }", 1), 1);
  metaTreeC* first = firstRef(tree.node());
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(metaObjectRefC(first, 0).targetNode(), nullptr);
  metaTreeC* second = first->nextSibling()->nextSibling();
  ASSERT_TRUE(second && second->isKey("MOREF"));
  metaTreeC* found = metaObjectRefC(second, 0).targetNode();
  ASSERT_NE(found, nullptr);
  EXPECT_TRUE(found->isKey("B"));
}

TEST(metaObjectRef, ANumberIsNeverTakenForAnAddress) {
  // Without the post-load pass REFTRG still holds the file's ordinal.
  metaObjectC tree(parseTree("D { MOREF { REFTRG { 1 } } }", 0), 1);
  metaObjectRefC ref(firstRef(tree.node()), 0);
  EXPECT_EQ(ref.targetNode(), nullptr);
  int found = 0;
  EXPECT_EQ(ref.targetOrdinal(&found), 1);
  EXPECT_EQ(found, 1);
}

const char* const hatchedFigure =
    "FIGURE { FIGURITEMS { LINE { POINT { 0 0 } POINT { 1 0 } } ARC } M2DHATCHES { M2DHATCH { "
    "M2DHATCHLOOPS { M2DHATCHLOOP { M2DHATCHLOOPSHREFS { MOREF { REFTRG { 3 } } MOREF { REFTRG "
    "{ 10 } } } } } } } }";

TEST(metaObjectRef, CopyReferencesTheCopiedShape) {
  metaObjectC source(parseTree(hatchedFigure, 1), 1);
  metaTreeC* line = metaTreeC::findKey(source.node(), "LINE", -1);
  metaTreeC* arc = metaTreeC::findKey(source.node(), "ARC", -1);
  ASSERT_EQ(target(source.node()), line);

  for (int viaView : {1, 0}) {
    metaObjectC copy = viaView ? metaObjectC(source) : metaObjectC(source.cloneNode(1, 1), 1);
    ASSERT_NE(copy.node(), source.node());
    EXPECT_EQ(dumpTree(copy.node()), dumpTree(source.node()));
    metaTreeC* copiedLine = metaTreeC::findKey(copy.node(), "LINE", -1);
    metaTreeC* copiedArc = metaTreeC::findKey(copy.node(), "ARC", -1);
    metaTreeC* firstCopyRef = firstRef(copy.node());
    EXPECT_EQ(metaObjectRefC(firstCopyRef, 0).targetNode(), copiedLine);
    EXPECT_EQ(metaObjectRefC(metaTreeC::findKey(firstCopyRef->nextSibling(), "MOREF", 0), 0)
                  .targetNode(),
              copiedArc);
  }
  // The source still names its own shapes.
  EXPECT_EQ(target(source.node()), line);
  EXPECT_EQ(metaObjectRefC(firstRef(source.node())->nextSibling(), 0).targetNode(), arc);
}

TEST(metaObjectRef, ATargetOutsideTheCopyIsDropped) {
  metaObjectC tree(parseTree("D { S { 1 } F { MOREF { REFTRG { 2 } } } }", 1), 1);
  ASSERT_NE(target(tree.node()), nullptr);
  metaObjectC f(tree.findChild("F"), 0);
  metaObjectC copy(f.cloneNode(1, 1), 1);
  EXPECT_EQ(target(copy.node()), nullptr);
}

// A node that is itself an earlier copy of the target carries the target's address as its copy
// mark; the copy must still re-point the reference at the copy of the real target.
TEST(metaObjectRef, MarksLeftFromEarlierCopiesDoNotMisleadTheCopy) {
  metaObjectC tree(
      parseTree("D { S1 S2 S3 S4 S5 TARGET S6 S7 MOREF { REFTRG { 7 } } }", 1), 1);
  metaTreeC* real = target(tree.node());
  ASSERT_TRUE(real && real->isKey("TARGET"));
  for (metaTreeC* n = tree.node()->firstChild(); n; n = n->nextSibling()) {
    if (!n->isKey("MOREF")) n->setCopyMark(static_cast<std::int64_t>(reinterpret_cast<std::intptr_t>(real)));
  }
  metaObjectC copy(tree.cloneNode(1, 1), 1);
  metaTreeC* copied = target(copy.node());
  ASSERT_NE(copied, nullptr);
  EXPECT_TRUE(copied->isKey("TARGET"));
  EXPECT_EQ(copied->parent(), copy.node());
}

TEST(metaObjectRef, TreeWithoutReferencesIsCopiedPlainly) {
  metaObjectC tree(parseTree("D { A { 1 } B }"), 1);
  tree.findChild("A")->setCopyMark(77);  // a hooked copy would have cleared it
  metaObjectC copy(tree.cloneNode(0, 1), 1);
  EXPECT_EQ(dumpTree(copy.node()), "D { A { 1 } B }");
  EXPECT_EQ(copy.findChild("A")->copyMark(), 77);
  EXPECT_EQ(tree.findChild("A")->copyMark(), 77);
}

TEST(metaObjectRef, ForSaveWritesTheOrdinal) {
  metaObjectC tree(parseTree("D { X Y MOREF { REFTRG { 3 } } }", 1), 1);
  metaObjectRefC ref(firstRef(tree.node()), 0);
  ASSERT_TRUE(ref.targetNode()->isKey("Y"));
  metaObjectRefC saved(ref.forSave(tree.node()), 1);
  EXPECT_EQ(dumpTree(saved.node()), "MOREF { REFTRG { 3 } }");

  metaObjectC elsewhere(parseTree("E"), 1);
  ref.setTargetNode(elsewhere.node());
  ref.thirdHook(0);
  metaObjectRefC notInTree(ref.forSave(tree.node()), 1);
  EXPECT_EQ(dumpTree(notInTree.node()), "MOREF { REFTRG { 0 } }");

  ref.setTargetNode(nullptr);
  metaObjectRefC none(ref.forSave(tree.node()), 1);
  EXPECT_EQ(dumpTree(none.node()), "MOREF { REFTRG { -1 } }");
}

TEST(metaObjectRef, BaseBodiesForwardToTheRegisteredHandler) {
  metaObjectCustomStorageC* handler = metaObjectCustomStorageC::findHandler("MOREF");
  ASSERT_NE(handler, nullptr);
  EXPECT_NE(metaObjectCustomCopyC::findHandler("MOREF"), nullptr);
  EXPECT_EQ(metaObjectCustomStorageC::findHandler("LINE"), nullptr);

  metaObjectC tree(parseTree("D { MOREF { REFTRG { 1 } } LINE }"), 1);
  metaObjectCustomStorageC refView(firstRef(tree.node()), 0);
  EXPECT_EQ(refView.preLoadPassHook(tree.node()), 1);
  EXPECT_EQ(refView.afterLoad(tree.node()), 1);
  EXPECT_EQ(target(tree.node()), tree.node());
  EXPECT_FALSE(handler->isBound());  // the prototype was bound for the call only
  EXPECT_EQ(refView.fourthHook(0), 0);  // the handler has no body of its own for it

  metaObjectCustomStorageC lineView(tree.findChild("LINE"), 0);
  EXPECT_EQ(lineView.afterLoad(tree.node()), 0);
  EXPECT_EQ(lineView.forSave(tree.node()), nullptr);
}

// Trees built by code may be far deeper than a file allows: the passes and copies do not recurse.
TEST(metaObjectRef, DeepTreesArePassedAndCopiedWithoutRecursion) {
  constexpr int depth = 200000;
  metaTreeC* root = metaTreeC::createKeyNode("ROOT");
  metaTreeC* bottom = root;
  for (int i = 0; i < depth; ++i) {
    metaTreeC* child = metaTreeC::createKeyNode("N");
    child->insertAsFirstChild(bottom);
    bottom = child;
  }
  metaObjectC owner(root, 1);
  metaObjectRefC ref(metaTreeC::createKeyNode("MOREF"), 0);
  ref.node()->insertAsFirstChild(bottom);
  ref.setTargetOrdinal(2);
  EXPECT_EQ(metaObjectCustomStorageC::runPostLoadPass(root, 1), 1);
  EXPECT_EQ(ref.targetNode(), root->firstChild());

  metaObjectC copy(owner.cloneNode(1, 1), 1);
  metaTreeC* copiedRef = firstRef(copy.node());
  ASSERT_NE(copiedRef, nullptr);
  EXPECT_EQ(metaObjectRefC(copiedRef, 0).targetNode(), copy.node()->firstChild());
}

}  // namespace
