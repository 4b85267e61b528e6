#include "meta/metaExtendedAttributes.h"

#include <gtest/gtest.h>

#include "meta/metaTree.h"
#include "meta/testing/metaTreeDump.h"

namespace {

using metatesting::dumpTree;

TEST(metaExtendedAttributes, ParsesPairsAfterTheHeader) {
  struct caseT {
    const char* text;
    long pairs;
    const char* records;  // dump of the node afterwards
  } cases[] = {
      {"{a=1}{b=two}", 2,
       "N { EXTATTRVAR { NAME { \"a\" } VALUE { \"1\" } } EXTATTRVAR { NAME { \"b\" } VALUE { "
       "\"two\" } } }"},
      // Header "}," + "003": three more characters are skipped, so "{x=" is not read.
      {"id},003{x=1}{y=2}", 1, "N { EXTATTRVAR { NAME { \"y\" } VALUE { \"2\" } } }"},
      {"id\",000{k=v}", 1, "N { EXTATTRVAR { NAME { \"k\" } VALUE { \"v\" } } }"},
      // Digits that are no number: the list starts right after the marker.
      {"},x1{k=v}", 1, "N { EXTATTRVAR { NAME { \"k\" } VALUE { \"v\" } } }"},
      // More characters to skip than the text has: the list is empty.
      {"},999{k=v}", 0, "N"},
      {"{a=1}{a=2}", 2, "N { EXTATTRVAR { NAME { \"a\" } VALUE { \"1\" } } }"},
      {"},000 no braces", 0, "N"},
      // A pair without "=" is skipped; the scan for "=" stops at its close brace.
      {"{novalue}{k=v}", 1, "N { EXTATTRVAR { NAME { \"k\" } VALUE { \"v\" } } }"},
      {"{open=end", 1, "N { EXTATTRVAR { NAME { \"open\" } VALUE { \"end\" } } }"},
      {"{=}", 1, "N { EXTATTRVAR { NAME { \"\" } VALUE { \"\" } } }"},
  };
  for (const caseT& c : cases) {
    metaObjectC node(metaTreeC::createKeyNode("N"), 1);
    EXPECT_EQ(parseExtendedAttributes(c.text, node), c.pairs) << c.text;
    EXPECT_EQ(dumpTree(node.node()), c.records) << c.text;
  }
}

TEST(metaExtendedAttributes, ExistingRecordsStayAndAreFoundByName) {
  metaObjectC node(metaTreeC::createKeyNode("N"), 1);
  parseExtendedAttributes("{color=red}", node);
  EXPECT_EQ(parseExtendedAttributes("{color=blue}{size=3}", node), 2);
  metaObjectC color = findExtendedAttribute(node, "color");
  ASSERT_TRUE(color.isBound());
  EXPECT_STREQ(color.getAttrString("VALUE"), "red");
  EXPECT_STREQ(findExtendedAttribute(node, "size").getAttrString("VALUE"), "3");
  const std::string before = dumpTree(node.node());
  EXPECT_FALSE(findExtendedAttribute(node, "weight").isBound());
  EXPECT_EQ(dumpTree(node.node()), before);  // looking adds nothing
  EXPECT_FALSE(findExtendedAttribute(metaObjectC(), "color").isBound());
  EXPECT_EQ(parseExtendedAttributes(nullptr, node), 0);
  EXPECT_EQ(parseExtendedAttributes("{a=b}", metaObjectC()), 0);
}

}  // namespace
