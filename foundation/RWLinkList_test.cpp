// The linked lists and their iterators.

#include "foundation/RWLinkList.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "foundation/RWCString.h"
#include "foundation/RWLinkListIterator.h"
#include "foundation/RWTPtrDoubleLinkList.h"
#include "foundation/RWTPtrDoubleLinkListIterator.h"
#include "foundation/RWTValLinkList.h"
#include "foundation/RWTValLinkListIterator.h"
#include "foundation/RWThrow.h"
#include "foundation/testing/BoundsErrText.h"

namespace {

using foundationtesting::boundsText;
using foundationtesting::indexErr;
using foundationtesting::kNpos;

struct Node : RWLink {
  explicit Node(int v) : value(v) {}
  int value;
};

std::vector<int> walk(const RWLinkList& l) {
  std::vector<int> out;
  for (RWLink* p = l.head()->next(); p != l.end(); p = p->next())
    out.push_back(static_cast<Node*>(p)->value);
  return out;
}

TEST(RWLinkList, EmptyAndOneLinkShapes) {
  RWLinkList empty;
  EXPECT_EQ(empty.head()->next(), empty.end());
  EXPECT_EQ(empty.end()->next(), empty.end());
  EXPECT_EQ(empty.lastLink(), empty.head());
  EXPECT_EQ(empty.first(), nullptr);
  Node n(1);
  RWLinkList one(&n);
  EXPECT_EQ(one.count(), 1u);
  EXPECT_EQ(one.first(), &n);
  EXPECT_EQ(one.last(), &n);
  EXPECT_EQ(n.next(), one.end());
}

TEST(RWLinkList, IndexedAccessInsertAndRemove) {
  Node a(1), b(2), c(3), d(4);
  RWLinkList l;
  l.insertAt(0, &b);
  l.insertAt(0, &a);
  l.insertAt(2, &d);
  l.insertAt(2, &c);
  EXPECT_EQ(walk(l), (std::vector<int>{1, 2, 3, 4}));
  EXPECT_EQ(l.at(2), &c);
  EXPECT_EQ(l.last(), &d);
  EXPECT_EQ(l.removeAt(3), &d);
  EXPECT_EQ(l.last(), &c);  // last moves back
  EXPECT_EQ(l.removeAt(0), &a);
  EXPECT_EQ(walk(l), (std::vector<int>{2, 3}));
  const struct {
    std::function<void()> f;
    std::string text;
  } cases[] = {
      {[&] { l.at(RW_NPOS); }, kNpos},
      {[&] { l.at(0xFFFFFFFFu); }, kNpos},
      {[&] { l.at(2); }, indexErr(2, 2)},
      {[&] { l.removeAt(2); }, indexErr(2, 2)},
      {[&] { l.removeAt(RW_NPOS); }, kNpos},
      {[&] { l.insertAt(3, &a); }, indexErr(3, 2)},
      {[&] { l.insertAt(RW_NPOS, &a); }, kNpos},
  };
  for (const auto& c : cases) EXPECT_EQ(boundsText(c.f), c.text);
  EXPECT_EQ(walk(l), (std::vector<int>{2, 3}));
  EXPECT_EQ(l.count(), 2u);
}

TEST(RWLinkList, RemoveAfterTheLastLinkKeepsTheTailSentinel) {
  Node a(1), b(2);
  RWLinkList l;
  l.append(&a);
  l.append(&b);
  EXPECT_EQ(l.removeAfter(&b), nullptr);
  EXPECT_EQ(l.removeAfter(nullptr), nullptr);
  EXPECT_EQ(l.removeAfter(l.end()), nullptr);
  EXPECT_EQ(l.count(), 2u);
  EXPECT_EQ(b.next(), l.end());
  EXPECT_EQ(l.removeAfter(&a), &b);
  EXPECT_EQ(l.last(), &a);
  EXPECT_EQ(l.removeAfter(l.head()), &a);
  EXPECT_EQ(l.lastLink(), l.head());
  EXPECT_TRUE(l.isEmpty());
  l.append(&b);  // the list still works after being emptied
  EXPECT_EQ(walk(l), (std::vector<int>{2}));
}

TEST(RWLinkList, ContainsPredecessorAndRemoveReference) {
  Node a(1), b(2), c(3), stranger(9);
  RWLinkList l;
  l.append(&a);
  l.append(&b);
  l.append(&c);
  EXPECT_TRUE(l.contains(&b));
  EXPECT_FALSE(l.contains(&stranger));
  EXPECT_FALSE(l.contains(nullptr));
  EXPECT_EQ(l.predecessorOf(&b), &a);
  EXPECT_EQ(l.predecessorOf(&a), l.head());
  EXPECT_EQ(l.predecessorOf(&stranger), nullptr);
  EXPECT_EQ(l.predecessorOf(nullptr), nullptr);
  EXPECT_EQ(l.removeReference(&stranger), nullptr);
  EXPECT_EQ(l.end()->next(), l.end());  // the search leaves the tail sentinel as it was
  EXPECT_EQ(l.removeReference(&c), &c);
  EXPECT_EQ(c.next(), nullptr);
  EXPECT_EQ(l.last(), &b);
  EXPECT_EQ(l.removeReference(&a), &a);
  EXPECT_EQ(walk(l), (std::vector<int>{2}));
}

TEST(RWLinkListIterator, StepsAndEdits) {
  Node a(1), b(2), c(3), x(7), y(8);
  RWLinkList l;
  RWLinkListIterator empty(l);
  EXPECT_EQ(empty.next(), nullptr);
  EXPECT_EQ(empty.next(), nullptr);  // stays at the end
  empty.toLast();
  EXPECT_EQ(empty.current(), nullptr);
  l.append(&a);
  l.append(&b);
  l.append(&c);
  RWLinkListIterator it(l);
  EXPECT_EQ(it.current(), nullptr);
  EXPECT_EQ(it.next(), &a);
  EXPECT_TRUE(it.atFirst());
  EXPECT_EQ(it.next(), &b);
  it.insertAfterCurrent(&x);
  EXPECT_EQ(walk(l), (std::vector<int>{1, 2, 7, 3}));
  EXPECT_EQ(it.removeCurrent(), &b);
  EXPECT_EQ(it.current(), &a);  // back to the predecessor
  EXPECT_EQ(it.next(), &x);
  EXPECT_EQ(it.next(), &c);
  EXPECT_TRUE(it.atLast());
  EXPECT_EQ(it.next(), nullptr);
  it.insertAfterCurrent(&y);  // at the end: after the last link
  EXPECT_EQ(walk(l), (std::vector<int>{1, 7, 3, 8}));
  EXPECT_EQ(l.last(), &y);
  EXPECT_EQ(it.advance(2), &x);
  it.reset();
  EXPECT_EQ(it.removeCurrent(), nullptr);
  it.toLast();
  EXPECT_EQ(it.current(), &y);
  EXPECT_EQ(it.removeCurrent(), &y);
  EXPECT_EQ(l.last(), &c);
  RWLinkList other;
  it.reset(other);
  EXPECT_EQ(it.next(), nullptr);
}

TEST(RWTValLinkList, ValuesCopiesAndRemoval) {
  RWTValLinkList<RWCString> l;
  for (const char* s : {"usr", "local", "bin"}) l.append(s);
  EXPECT_EQ(l.count(), 3u);
  EXPECT_TRUE(l.at(1) == "local");
  RWTValLinkList<RWCString> copy(l);
  copy.at(0) = "opt";
  EXPECT_TRUE(l.at(0) == "usr");
  const RWTValLinkList<RWCString>& same = l;
  l = same;  // self-assignment keeps the entries
  EXPECT_EQ(l.count(), 3u);
  copy = l;
  EXPECT_TRUE(copy.at(0) == "usr");
  EXPECT_TRUE(l.removeAt(1) == "local");
  EXPECT_TRUE(l.at(1) == "bin");
  l.append(l.at(0));  // a value of the same list
  EXPECT_TRUE(l.at(2) == "usr");
  EXPECT_EQ(boundsText([&] { l.at(RW_NPOS); }), kNpos);
  EXPECT_EQ(boundsText([&] { l.at(3); }), indexErr(3, 3));
  EXPECT_EQ(boundsText([&] { l.removeAt(3); }), indexErr(3, 3));
  EXPECT_EQ(l.count(), 3u);

  RWTValLinkListIterator<RWCString> it(l);
  std::vector<std::string> seen;
  while (RWCString* s = it.next()) seen.push_back(s->data());
  EXPECT_EQ(seen, (std::vector<std::string>{"usr", "bin", "usr"}));
  it.reset();
  it.next();
  it.insertAfterCurrent("sbin");
  EXPECT_TRUE(it.removeCurrent());
  EXPECT_TRUE(l.at(0) == "sbin");
  EXPECT_EQ(l.count(), 3u);
}

struct Receiver {
  int id;
};

TEST(RWTPtrDoubleLinkList, EmptyListAnswersNull) {
  RWTPtrDoubleLinkList<Receiver> l;
  Receiver r{1};
  EXPECT_EQ(l.first(), nullptr);
  EXPECT_EQ(l.takeFirst(), nullptr);
  EXPECT_EQ(l.remove(&r), nullptr);
  EXPECT_EQ(l.links().head()->next(), l.links().end());
  EXPECT_EQ(l.links().end()->previous(), l.links().head());
  EXPECT_EQ(l.links().head()->previous(), l.links().head());
  EXPECT_EQ(l.links().end()->next(), l.links().end());
}

TEST(RWTPtrDoubleLinkList, AppendFindApplyRemove) {
  Receiver r1{1}, r2{2}, r3{3}, stranger{9};
  RWTPtrDoubleLinkList<Receiver> l;
  l.append(&r1);
  l.append(&r2);
  l.append(&r3);
  EXPECT_EQ(l.first(), &r1);
  int sum = 0;
  l.apply([](Receiver* r, void* d) { *static_cast<int*>(d) += r->id; }, &sum);
  EXPECT_EQ(sum, 6);
  int wanted = 2;
  auto byId = [](Receiver* r, void* d) { return int(r->id == *static_cast<int*>(d)); };
  EXPECT_EQ(l.find(byId, &wanted), &r2);
  wanted = 5;
  EXPECT_EQ(l.find(byId, &wanted), nullptr);
  EXPECT_EQ(l.removeFirstMatch(byId, &wanted), nullptr);
  EXPECT_EQ(l.remove(&stranger), nullptr);
  EXPECT_EQ(l.count(), 3u);
  EXPECT_EQ(l.remove(&r2), &r2);
  EXPECT_FALSE(l.contains(&r2));
  wanted = 3;
  EXPECT_EQ(l.removeFirstMatch(byId, &wanted), &r3);
  EXPECT_EQ(l.takeFirst(), &r1);
  EXPECT_TRUE(l.isEmpty());
  l.append(&r3);  // links are consistent after emptying
  EXPECT_EQ(l.links().end()->previous()->previous(), l.links().head());
  EXPECT_EQ(l.first(), &r3);
}

TEST(RWTPtrDoubleLinkListIterator, StepsAndEdits) {
  Receiver r1{1}, r2{2}, r3{3}, r4{4};
  RWTPtrDoubleLinkList<Receiver> l;
  l.append(&r1);
  l.append(&r2);
  l.append(&r3);
  RWTPtrDoubleLinkListIterator<Receiver> it(l);
  EXPECT_EQ(it.current(), nullptr);
  EXPECT_EQ(it.next(), &r1);
  EXPECT_TRUE(it.atFirst());
  EXPECT_EQ(it.next(), &r2);
  EXPECT_EQ(it.removeCurrent(), &r2);
  EXPECT_EQ(it.current(), &r1);
  it.insertAfterCurrent(&r4);
  EXPECT_EQ(it.next(), &r4);
  EXPECT_EQ(it.next(), &r3);
  EXPECT_TRUE(it.atLast());
  EXPECT_EQ(it.next(), nullptr);
  EXPECT_EQ(it.next(), nullptr);
  EXPECT_EQ(it.advance(2), &r4);
  it.toLast();
  EXPECT_EQ(it.current(), &r3);
  std::vector<int> ids;
  RWTPtrDoubleLinkListIterator<Receiver> walker(l);
  while (Receiver* r = walker.next()) ids.push_back(r->id);
  EXPECT_EQ(ids, (std::vector<int>{1, 4, 3}));
  RWTPtrDoubleLinkList<Receiver> empty;
  it.reset(empty);
  it.toLast();
  EXPECT_EQ(it.current(), nullptr);
  EXPECT_EQ(it.removeCurrent(), nullptr);
}

}  // namespace
