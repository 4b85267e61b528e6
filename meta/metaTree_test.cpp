#include "meta/metaTree.h"

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "meta/testing/metaTreeDump.h"

namespace {

using metatesting::dumpTree;

metaTreeC* key(const char* text) { return metaTreeC::createKeyNode(text); }

metaTreeC* real(double d) {
  return new metaTreeC(metaNodeValueC(metaNodeValueC::typeReal, metaSourcePosC{}, d));
}

metaTreeC* text(const char* t) {
  return new metaTreeC(metaNodeValueC(metaNodeValueC::typeString, metaSourcePosC{}, t));
}

// A detached chain of key nodes, e.g. chain({"A", "B"}).
metaTreeC* chain(std::vector<const char*> keys) {
  metaTreeC* first = nullptr;
  for (const char* k : keys) {
    metaTreeC* n = key(k);
    if (first) n->appendSibling(first); else first = n;
  }
  return first;
}

// Every link of the chain from `first` and below agrees with its neighbours.
void expectSound(const metaTreeC* first, const metaTreeC* parent) {
  const metaTreeC* previous = nullptr;
  for (const metaTreeC* n = first; n; n = n->nextSibling()) {
    EXPECT_EQ(n->parent(), parent);
    EXPECT_EQ(n->previousSibling(), previous);
    if (n->firstChild()) expectSound(n->firstChild(), n);
    previous = n;
  }
  if (parent) {
    EXPECT_EQ(parent->firstChild(), first);
  }
}

// ---- values -------------------------------------------------------------------------------------

TEST(metaNodeValue, ConstructorsSetTypePayloadAndPosition) {
  const metaNodeValueC none;
  EXPECT_EQ(none.type(), 0);
  EXPECT_EQ(none.position().line, -1);
  EXPECT_EQ(none.position().column, -1);

  const metaNodeValueC word(metaNodeValueC::typeKeyWord, metaSourcePosC{4, 0}, "LINE");
  EXPECT_TRUE(word.isKeyWord());
  EXPECT_STREQ(word.getText()->text(), "LINE");
  EXPECT_EQ(word.position().line, 4);
  EXPECT_EQ(word.column(), 0);

  const metaNodeValueC three(metaNodeValueC::typeReal, metaSourcePosC{}, 3);
  EXPECT_TRUE(three.isReal());
  EXPECT_EQ(three.getReal(), 3.0);

  // A pointer payload keeps all 64 bits of an address.
  const std::intptr_t address = static_cast<std::intptr_t>(0x7ffd12345678LL);
  const metaNodeValueC pointer(metaNodeValueC::typePointer, metaSourcePosC{}, address);
  EXPECT_EQ(reinterpret_cast<std::intptr_t>(pointer.getPointer()), address);
  EXPECT_EQ(pointer.getReal(), 0.0);
  EXPECT_EQ(pointer.getText(), nullptr);
}

TEST(metaNodeValue, AssignmentCopiesTextAndReusesOwnedString) {
  metaNodeValueC a(metaNodeValueC::typeString, metaSourcePosC{1, 0}, "first");
  const str* owned = a.getText();
  const metaNodeValueC b(metaNodeValueC::typeKeyWord, metaSourcePosC{7, 0}, "SECOND");
  a = b;
  EXPECT_EQ(a.getText(), owned);  // reused, not reallocated
  EXPECT_TRUE(a.isKeyWord());
  EXPECT_STREQ(a.textOrEmpty(), "SECOND");
  EXPECT_EQ(a.position().line, 7);
  EXPECT_NE(a.getText(), b.getText());  // a copy, never shared

  a = metaNodeValueC(metaNodeValueC::typeReal, metaSourcePosC{2, 0}, 1.25);
  EXPECT_TRUE(a.isReal());
  EXPECT_EQ(a.getReal(), 1.25);

  metaNodeValueC none;
  none.setPosition(metaSourcePosC{9, 9});
  a = none;
  EXPECT_TRUE(a.isNone());
  EXPECT_EQ(a.position().line, 9);
}

TEST(metaNodeValue, Equality) {
  const metaSourcePosC at{};
  struct Case {
    metaNodeValueC a, b;
    bool equal;
  } cases[] = {
      {{}, {}, false},  // two values of type 0 are never equal
      {{1, at, "A"}, {1, metaSourcePosC{5, 0}, "A"}, true},  // the position does not count
      {{1, at, "A"}, {2, at, "A"}, false},
      {{2, at, "A"}, {2, at, "B"}, false},
      {{3, at, 1.5}, {3, at, 1.5}, true},
      {{3, at, 1.5}, {3, at, 1.25}, false},
      {{4, at, std::intptr_t{16}}, {4, at, std::intptr_t{16}}, true},
      {{4, at, std::intptr_t{16}}, {5, at, std::intptr_t{16}}, false},
  };
  for (const Case& c : cases) EXPECT_EQ(c.a == c.b, c.equal);
}

// ---- structural edits ---------------------------------------------------------------------------

TEST(metaTree, EditsLinkWholeChainsAndMoveTheCounterOnce) {
  metaTreeC* root = key("R");
  struct Step {
    const char* name;
    std::vector<const char*> keys;  // the chain to link
    void (*edit)(metaTreeC* root, metaTreeC* chain);
    const char* dump;
  } steps[] = {
      {"append two to a childless parent", {"A", "B"},
       [](metaTreeC* r, metaTreeC* c) { c->appendAsLastChild(r); }, "R { A B }"},
      {"insert first", {"X", "Y"}, [](metaTreeC* r, metaTreeC* c) { c->insertAsFirstChild(r); },
       "R { X Y A B }"},
      {"insert after the middle", {"M"},
       [](metaTreeC* r, metaTreeC* c) { c->insertAfter(metaTreeC::findKey(r, "Y", 1)); },
       "R { X Y M A B }"},
      {"insert before the first child", {"F", "G"},
       [](metaTreeC* r, metaTreeC* c) { c->insertBefore(r->firstChild()); },
       "R { F G X Y M A B }"},
      {"insert before the last", {"P"},
       [](metaTreeC* r, metaTreeC* c) { c->insertBefore(metaTreeC::findKey(r, "B", 1)); },
       "R { F G X Y M A P B }"},
      {"append sibling", {"Z"},
       [](metaTreeC* r, metaTreeC* c) { c->appendSibling(r->firstChild()); },
       "R { F G X Y M A P B Z }"},
      {"append as last child", {"L", "L2"},
       [](metaTreeC* r, metaTreeC* c) { c->appendAsLastChild(r); },
       "R { F G X Y M A P B Z L L2 }"},
  };
  for (const Step& step : steps) {
    metaTreeC* linked = chain(step.keys);
    const std::uint32_t before = metaTreeC::generation();
    step.edit(root, linked);
    EXPECT_EQ(metaTreeC::generation(), before + 1) << step.name;
    EXPECT_EQ(dumpTree(root), step.dump) << step.name;
    expectSound(root, nullptr);
  }
  delete root;
}

TEST(metaTree, UnlinkRemovesOneNodeAndKeepsItsChildren) {
  metaTreeC* root = key("R");
  chain({"A", "B", "C"})->appendAsLastChild(root);
  chain({"K"})->appendAsLastChild(metaTreeC::findKey(root, "B", 1));

  metaTreeC* b = metaTreeC::findKey(root, "B", 1);
  b->unlink();
  EXPECT_EQ(dumpTree(root), "R { A C }");
  EXPECT_EQ(dumpTree(b), "B { K }");
  EXPECT_EQ(b->parent(), nullptr);
  expectSound(root, nullptr);
  delete b;

  metaTreeC* a = root->firstChild();
  a->unlink();  // a first child: the parent's first-child link moves on
  EXPECT_EQ(dumpTree(root), "R { C }");
  delete a;
  metaTreeC* c = root->firstChild();
  c->unlink();  // the only child
  EXPECT_EQ(root->firstChild(), nullptr);
  delete c;
  delete root;
}

TEST(metaTree, NavigationOverAChain) {
  metaTreeC* root = key("R");
  chain({"A", "B", "C"})->appendAsLastChild(root);
  metaTreeC* a = root->firstChild();
  metaTreeC* c = a->lastSibling();
  EXPECT_TRUE(c->isKey("C"));
  EXPECT_EQ(c->firstSibling(), a);
  EXPECT_TRUE(a->nthSibling(1)->isKey("B"));
  EXPECT_EQ(a->nthSibling(3), nullptr);
  EXPECT_EQ(a->chainCount(), 3);
  EXPECT_EQ(a->nextSibling()->chainCount(), 2);
  EXPECT_EQ(root->childCount(), 3);
  // A forest without a parent finds its head through the previous links.
  metaTreeC* forest = chain({"X", "Y"});
  EXPECT_EQ(forest->nextSibling()->firstSibling(), forest);
  delete forest;
  delete root;
}

// ---- deletion -----------------------------------------------------------------------------------

TEST(metaTree, DeletingAFirstChildTakesTheWholeChain) {
  metaTreeC* root = key("R");
  chain({"A", "B", "C"})->appendAsLastChild(root);
  chain({"K", "L"})->appendAsLastChild(metaTreeC::findKey(root, "B", 1));
  const std::uint32_t before = metaTreeC::generation();
  delete root->firstChild();
  EXPECT_EQ(root->firstChild(), nullptr);
  EXPECT_EQ(metaTreeC::generation(), before + 5);  // one move per node destroyed
  delete root;
}

TEST(metaTree, UnlinkedMiddleNodeDeletesAlone) {
  metaTreeC* root = key("R");
  chain({"A", "B", "C"})->appendAsLastChild(root);
  metaTreeC* b = root->firstChild()->nextSibling();
  b->unlink();
  delete b;
  EXPECT_EQ(dumpTree(root), "R { A C }");
  expectSound(root, nullptr);
  delete root;
}

TEST(metaTree, DeletingANodeWithAPreviousSiblingCutsTheChainThere) {
  metaTreeC* root = key("R");
  chain({"A", "B", "C"})->appendAsLastChild(root);
  delete root->firstChild()->nextSibling();  // B and C go; A must not point at them
  EXPECT_EQ(dumpTree(root), "R { A }");
  EXPECT_EQ(root->firstChild()->nextSibling(), nullptr);
  delete root;
}

TEST(metaTree, DeepAndLongTreesDeleteCloneAndSearchWithoutRecursion) {
  constexpr int depth = 200000;
  metaTreeC* root = key("TOP");
  metaTreeC* deepest = root;
  for (int i = 0; i < depth; ++i) {
    metaTreeC* n = real(i);
    n->appendAsLastChild(deepest);
    deepest = n;
  }
  key("BOTTOM")->appendAsLastChild(deepest);
  // A long chain beside it.
  metaTreeC* wide = key("WIDE");
  metaTreeC* tail = wide;
  for (int i = 0; i < depth; ++i) {
    metaTreeC* n = real(i);
    n->insertAfter(tail);
    tail = n;
  }
  wide->appendSibling(root);

  EXPECT_NE(metaTreeC::findKey(root, "BOTTOM", -1), nullptr);
  metaTreeC* copy = root->cloneWithSiblings();
  EXPECT_EQ(copy->chainCount(), depth + 2);
  EXPECT_NE(metaTreeC::findKey(copy, "BOTTOM", -1), nullptr);
  delete copy;
  delete root;
}

// Nodes that have both children and next siblings on several levels, in a forest: every node
// goes once (each deletion moves the counter once; leaks and double frees show under the
// sanitizers).
TEST(metaTree, BushyForestDeletesEveryNodeOnce) {
  metaTreeC* root = key("R");
  metaTreeC* a = key("A");
  a->appendAsLastChild(root);
  chain({"B", "C"})->appendAsLastChild(a);
  chain({"D", "E"})->appendAsLastChild(a->firstChild());
  key("F")->appendAsLastChild(a->firstChild()->nextSibling());
  chain({"G", "H"})->appendAsLastChild(root);
  real(1)->appendAsLastChild(root->firstChild()->nextSibling());
  chain({"S", "T"})->appendSibling(root);
  key("U")->appendAsLastChild(root->nextSibling());
  EXPECT_EQ(dumpTree(root), "R { A { B { D E } C { F } } G { 1 } H } S { U } T");
  const std::uint32_t before = metaTreeC::generation();
  delete root;
  EXPECT_EQ(metaTreeC::generation() - before, 13u);
}

TEST(metaTree, AssignmentFromADescendantTakesItsValue) {
  metaTreeC* root = key("R");
  metaTreeC* child = text("inner");
  child->setCopyMark(42);
  child->appendAsLastChild(root);
  *root = *child;  // child is deleted with the children; its value was copied first
  EXPECT_EQ(dumpTree(root), "\"inner\"");
  EXPECT_EQ(root->copyMark(), 42);
  EXPECT_EQ(root->firstChild(), nullptr);
  delete root;
}

// ---- copies -------------------------------------------------------------------------------------

TEST(metaTree, ClonesCopyValuesMarksAndShapeButNoLinks) {
  metaTreeC* root = key("A");
  chain({"B", "C"})->appendAsLastChild(root);
  real(1.5)->appendAsLastChild(root->firstChild());
  text("s")->appendAsLastChild(root->firstChild());
  chain({"D"})->appendAsLastChild(root->firstChild()->lastSibling());
  root->firstChild()->setCopyMark(7);
  chain({"NEXT"})->appendSibling(root);

  metaTreeC* one = root->cloneSubtree();
  EXPECT_EQ(dumpTree(one), "A { B { 1.5 \"s\" } C { D } }");
  EXPECT_EQ(one->firstChild()->copyMark(), 7);
  EXPECT_NE(one->firstChild(), root->firstChild());
  expectSound(one, nullptr);

  metaTreeC* all = root->cloneWithSiblings();
  EXPECT_EQ(dumpTree(all), "A { B { 1.5 \"s\" } C { D } } NEXT");
  expectSound(all, nullptr);

  // A subtree cloned from inside a tree stops at its own node.
  metaTreeC* inner = root->firstChild()->cloneSubtree();
  EXPECT_EQ(dumpTree(inner), "B { 1.5 \"s\" }");
  delete inner;
  delete all;
  delete one;
  delete root;
}

// ---- search -------------------------------------------------------------------------------------

TEST(metaTree, SearchByKeyHonoursDepthAndValueType) {
  metaTreeC* root = key("R");
  chain({"A", "B"})->appendAsLastChild(root);
  text("K")->appendAsLastChild(root->firstChild());       // a string with the key's text
  chain({"G"})->appendAsLastChild(root->firstChild());    // grandchild G under A
  chain({"H"})->appendAsLastChild(root->firstChild()->nextSibling());  // grandchild H under B
  metaTreeC* children = root->firstChild();

  struct Case {
    const char* key;
    int depth;
    bool found;
  } cases[] = {
      {"A", 0, true},  {"B", 0, true},  {"G", 0, false}, {"G", 1, true},
      {"H", 1, true},  // after A's subtree held no H, the search goes on with B
      {"K", -1, false},  // a string node never matches a key
      {"R", -1, false},  // the search starts at the given chain, not above it
      {"Z", -1, false},
  };
  for (const Case& c : cases) {
    metaTreeC* found = metaTreeC::findKey(children, c.key, c.depth);
    EXPECT_EQ(found != nullptr, c.found) << c.key << " depth " << c.depth;
    if (found) {
      EXPECT_TRUE(found->isKey(c.key));
    }
  }
  EXPECT_EQ(metaTreeC::findKey(children, nullptr, -1), nullptr);
  delete root;
}

}  // namespace
