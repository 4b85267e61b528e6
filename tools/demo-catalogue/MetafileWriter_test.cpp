#include "tools/demo-catalogue/MetafileWriter.h"

#include <gtest/gtest.h>

TEST(MetafileWriter, WritesNumbersStringsAndReferences) {
  MetaNode root = MetaNode::key("FIGURE");                  // 1
  root.setString("NAME", "a \"b\"\\\nc");                   // 2, 3
  MetaNode& items = root.addKey("FIGURITEMS");              // 4
  MetaNode& line = items.addKey("LINE");                    // 5
  line.setPoint("POINT", 0.1, -2.0);                        // 6 7 8
  MetaNode& refs = root.addKey("MOREF");                    // 9
  refs.set("REFTRG", MetaNode::reference(&line));           // 10 11
  refs.set("OTHER", MetaNode::reference(nullptr));          // 12 13: not in the tree
  EXPECT_EQ(writeMetafile(root),
            "FIGURE {\n"
            "  NAME { \"a \\\"b\\\"\\\\\\nc\" }\n"
            "  FIGURITEMS {\n"
            "    LINE {\n"
            "      POINT { 0.1 -2 }\n"
            "    }\n"
            "  }\n"
            "  MOREF {\n"
            "    REFTRG { 5 }\n"
            "    OTHER { 0 }\n"
            "  }\n"
            "}\n");
}

TEST(MetafileWriter, NumbersAreExactAndLocaleFree) {
  EXPECT_EQ(formatMetaNumber(-0.0), "0");
  EXPECT_EQ(formatMetaNumber(1.0), "1");
  EXPECT_EQ(formatMetaNumber(1e-7), "1e-07");
  EXPECT_EQ(std::strtod(formatMetaNumber(0.1 + 0.2).c_str(), nullptr), 0.1 + 0.2);
}
