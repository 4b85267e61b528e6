#include "meta/metaObject.h"

#include <clocale>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "foundation/memManCheckLeak.h"
#include "meta/cLocaleGuard.h"
#include "meta/metaTree.h"
#include "meta/testing/metaTestTrees.h"
#include "meta/testing/metaTreeDump.h"

namespace {

using metatesting::dumpTree;

metaTreeC* parse(const char* text) { return metatesting::parseTree(text); }

TEST(metaObject, ReadingAnAbsentAttributeAddsOneEmptyKeyChild) {
  metaObjectC line(parse("LINE { LAYER { \"0\" } }"), 1);
  int found = 1;
  EXPECT_EQ(line.getAttrReal("RAD", &found), 0.0);
  EXPECT_EQ(found, 0);
  EXPECT_EQ(dumpTree(line.node()), "LINE { LAYER { \"0\" } RAD }");
  line.getAttrReal("RAD", &found);
  EXPECT_EQ(dumpTree(line.node()), "LINE { LAYER { \"0\" } RAD }");
  EXPECT_STREQ(line.getAttrString("LAYER", &found), "0");
  EXPECT_EQ(found, 1);
}

TEST(metaObject, SettersReplaceOnlyAValueOfTheirOwnType) {
  metaObjectC node(parse("A { S { \"text\" } R { 1.5 } K { WORD } E }"), 1);
  node.setAttrReal("S", 2.0);       // string stays
  node.setAttrKeyWord("R", "X");    // real stays
  node.setAttrString("K", "t");     // key word stays
  node.setAttrReal("R", 7.25);      // replaced
  node.setAttrKeyWord("K", "NEW");  // replaced
  node.setAttrReal("E", 3.0);       // childless: added
  node.setAttrInt("I", 42);         // absent: attribute and value added
  EXPECT_EQ(dumpTree(node.node()),
            "A { S { \"text\" } R { 7.25 } K { NEW } E { 3 } I { 42 } }");
}

TEST(metaObject, ReplacingAValueKeepsItsSourcePosition) {
  metaObjectC node(parse("A {\nR { 1.5 } }"), 1);
  node.setAttrReal("R", 2.5);
  const metaTreeC* value = node.findChild("R")->firstChild();
  EXPECT_EQ(value->value().getReal(), 2.5);
  EXPECT_EQ(value->value().position().line, 2);
}

TEST(metaObject, IntegersTruncateTowardZeroAndSaturate) {
  struct caseT {
    const char* text;
    int expected;
    int found;
  } cases[] = {
      {"N { 2.9 }", 2, 1},
      {"N { -2.9 }", -2, 1},
      {"N { 1e300 }", 2147483647, 1},
      {"N { -1e300 }", -2147483647 - 1, 1},
      {"N { \"7\" }", 0, 0},
      {"N", 0, 0},
  };
  for (const caseT& c : cases) {
    metaObjectC n(parse(c.text), 1);
    int found = -1;
    EXPECT_EQ(n.getInt(&found), c.expected) << c.text;
    EXPECT_EQ(found, c.found) << c.text;
  }
  metaObjectC big(parse("N { 4503599627370496 }"), 1);
  EXPECT_EQ(big.getInt64(), 4503599627370496LL);
}

TEST(metaObject, UnboundViewsAnswerEmptyAndChangeNothing) {
  metaObjectC view;
  int found = 1;
  EXPECT_EQ(view.getReal(&found), 0.0);
  EXPECT_EQ(found, 0);
  EXPECT_STREQ(view.getString(), "");
  EXPECT_STREQ(view.keyName(), "");
  EXPECT_EQ(view.findOrAddChild("X"), nullptr);
  EXPECT_EQ(view.cloneNode(1, 1), nullptr);
  EXPECT_EQ(view.detach(1), 0);
  view.setReal(1.0);
  view.setAttrString("A", "b");
  EXPECT_FALSE(view.isBound());
}

TEST(metaObject, OwningViewDeletesItsTreeAndNonOwningViewLeavesIt) {
  metaTreeC* tree = parse("A { B { 1 } } C");
  memManCheckLeakC leak;
  { metaObjectC shared(tree, 0); }
  EXPECT_EQ(leak.difference(), 0);
  EXPECT_EQ(dumpTree(tree), "A { B { 1 } } C");
  { metaObjectC owner(tree, 1); }
  EXPECT_LT(leak.difference(), 0);  // the nodes (and their texts) went back to the manager
}

TEST(metaObject, RebindingTheNodeHeldKeepsIt) {
  metaObjectC view(parse("A { B }"), 1);
  view.reset(view.node(), 1);  // e.g. two bases that both bind the handle
  EXPECT_EQ(dumpTree(view.node()), "A { B }");
  EXPECT_TRUE(view.ownsItsNode());
}

TEST(metaObject, CopyOfAnOwningViewIsAnIndependentTree) {
  metaObjectC first(parse("A { X { 1 } } B"), 1);
  metaObjectC second(first);
  ASSERT_NE(second.node(), first.node());
  EXPECT_TRUE(second.ownsItsNode());
  EXPECT_EQ(dumpTree(second.node()), "A { X { 1 } } B");  // following siblings copied too
  second.setAttrReal("X", 2.0);
  EXPECT_EQ(first.getAttrReal("X"), 1.0);

  metaObjectC shared(first.node(), 0);
  metaObjectC alias(shared);
  EXPECT_EQ(alias.node(), first.node());
  EXPECT_FALSE(alias.ownsItsNode());

  metaObjectC assigned;
  assigned = first;
  EXPECT_NE(assigned.node(), first.node());
  EXPECT_EQ(dumpTree(assigned.node()), "A { X { 1 } } B");
  metaObjectC& same = assigned;
  assigned = same;  // self-assignment keeps the tree
  EXPECT_EQ(dumpTree(assigned.node()), "A { X { 1 } } B");

  metaObjectC moved(std::move(assigned));
  EXPECT_FALSE(assigned.isBound());
  EXPECT_EQ(dumpTree(moved.node()), "A { X { 1 } } B");
}

TEST(metaObject, HandleNavigationAndKeys) {
  metaObjectC root(parse("A { B { C { X } } D 1.5 D }"), 1);
  EXPECT_TRUE(root.isKeyNode());
  EXPECT_TRUE(root.hasKey("A"));
  EXPECT_FALSE(root.hasKey(nullptr));
  EXPECT_EQ(root.childCount(), 4);
  EXPECT_EQ(root.childAt(2)->value().getReal(), 1.5);
  EXPECT_EQ(root.childAt(4), nullptr);
  EXPECT_EQ(root.findChild("D"), root.childAt(1));
  EXPECT_EQ(root.findChild("X"), nullptr);  // direct children only

  metaObjectC x(metaTreeC::findKey(root.node(), "X", -1), 0);
  EXPECT_EQ(x.findAncestor("B"), root.childAt(0));
  EXPECT_EQ(x.findAncestor("X"), nullptr);  // starts at the parent

  metaNodeCursorC cursor = root.firstChild();
  int keys = 0;
  do {
    keys += cursor.isKey("D");
  } while (cursor.next());
  EXPECT_EQ(keys, 2);
  EXPECT_EQ(cursor.next(), 0);
  EXPECT_EQ(cursor.node(), root.childAt(3));
}

TEST(metaObject, AddAndAppendChild) {
  metaObjectC root(parse("ROOT"), 1);
  metaTreeC* value = parse("INNER { 1 }");
  metaTreeC* added = root.addChild("ATTR", value, 1);  // a copy goes in
  EXPECT_EQ(dumpTree(root.node()), "ROOT { ATTR { INNER { 1 } } }");
  EXPECT_NE(added->firstChild(), value);
  root.appendChild(value, 0);  // the tree takes it over
  EXPECT_EQ(dumpTree(root.node()), "ROOT { ATTR { INNER { 1 } } INNER { 1 } }");
  EXPECT_EQ(root.appendChild(nullptr, 0), nullptr);
}

TEST(metaObject, AppendChildMovesALinkedNodeAndRefusesCycles) {
  metaObjectC root(parse("ROOT { A { X } B }"), 1);
  metaObjectC a(root.findChild("A"), 0);
  metaObjectC b(root.findChild("B"), 0);
  metaTreeC* x = a.findChild("X");
  EXPECT_EQ(b.appendChild(x, 0), x);  // moved, not linked twice
  EXPECT_EQ(dumpTree(root.node()), "ROOT { A B { X } }");

  EXPECT_EQ(b.appendChild(root.node(), 0), nullptr);  // would put the root under its child
  EXPECT_EQ(b.appendChild(b.node(), 0), nullptr);
  EXPECT_EQ(dumpTree(root.node()), "ROOT { A B { X } }");
}

TEST(metaObject, DetachTakesTheNodeOutAndOwnsIt) {
  metaObjectC root(parse("ROOT { A { X } B }"), 1);
  {
    metaObjectC a(root.findChild("A"), 0);
    EXPECT_EQ(a.detach(1), 1);
    EXPECT_TRUE(a.ownsItsNode());
    EXPECT_EQ(a.parent(), nullptr);
  }
  EXPECT_EQ(dumpTree(root.node()), "ROOT { B }");
}

TEST(metaObject, CreateKeyNodeObjMakesADetachedKeyNode) {
  metaObjectC made = createKeyNodeObj("FIGURE", 1);
  EXPECT_TRUE(made.hasKey("FIGURE"));
  EXPECT_TRUE(made.ownsItsNode());
  EXPECT_EQ(made.parent(), nullptr);
  EXPECT_EQ(made.childCount(), 0);
}

TEST(cLocaleGuard, SelectsCAndRestoresTheLocaleBeforeIt) {
  const std::string before = std::setlocale(LC_ALL, nullptr);
  // A locale other than "C" when the machine has one; the test holds either way.
  const bool changed = std::setlocale(LC_NUMERIC, "C.UTF-8") != nullptr;
  const std::string outer = std::setlocale(LC_ALL, nullptr);
  {
    cLocaleGuardC guard;
    EXPECT_STREQ(std::setlocale(LC_ALL, nullptr), "C");
    {
      cLocaleGuardC nested;
      EXPECT_STREQ(std::setlocale(LC_ALL, nullptr), "C");
    }
    EXPECT_STREQ(std::setlocale(LC_ALL, nullptr), "C");
  }
  EXPECT_EQ(outer, std::setlocale(LC_ALL, nullptr));
  if (changed) std::setlocale(LC_ALL, before.c_str());
}

}  // namespace
