#include "tools/demo-catalogue/DemoParts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <map>

namespace {

// An independent reading of the metafile text: words, strings and braces into a tree, with
// every node numbered in depth-first order from 1. Enough to check what the writer produced.
struct Node {
  std::string token;
  std::vector<Node> children;
};

bool parseLevel(const std::string& text, std::size_t& i, std::vector<Node>& level, int depth) {
  while (i < text.size()) {
    char c = text[i];
    if (c == ' ' || c == '\n' || c == '\t' || c == '\r' || c == ',') {
      ++i;
    } else if (c == '{') {
      if (level.empty()) return false;
      ++i;
      if (!parseLevel(text, i, level.back().children, depth + 1)) return false;
    } else if (c == '}') {
      ++i;
      return depth > 0;
    } else if (c == '"') {
      std::size_t j = i + 1;
      bool escaped = false;
      while (j < text.size() && (text[j] != '"' || escaped)) {
        escaped = text[j] == '\\' && !escaped;
        ++j;
      }
      if (j >= text.size()) return false;
      level.push_back({text.substr(i, j + 1 - i), {}});
      i = j + 1;
    } else if (std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.' ||
               c == '_') {
      std::size_t j = i;
      while (j < text.size() && (std::isalnum(static_cast<unsigned char>(text[j])) ||
                                 std::string("+-._").find(text[j]) != std::string::npos)) {
        ++j;
      }
      std::string word = text.substr(i, j - i);
      if (!std::isalpha(static_cast<unsigned char>(word[0]))) {
        char* end = nullptr;
        std::strtod(word.c_str(), &end);
        if (*end != '\0') return false;  // a number word must be a whole number
      }
      level.push_back({word, {}});
      i = j;
    } else {
      return false;
    }
  }
  return depth == 0;
}

void numberNodes(const Node& node, std::vector<const Node*>& order) {
  order.push_back(&node);
  for (const Node& child : node.children) numberNodes(child, order);
}

void collectReferences(const Node& node, std::vector<long>& out) {
  if (node.token == "REFTRG" && node.children.size() == 1) {
    out.push_back(std::lround(std::strtod(node.children[0].token.c_str(), nullptr)));
  }
  for (const Node& child : node.children) collectReferences(child, out);
}

std::string exchangeText(const DemoCatalogue& catalogue, const std::string& part,
                         const std::vector<std::string>& extra = {}) {
  std::vector<std::string> arguments = {"-fm", "METAV2", "-o", "x"};
  arguments.insert(arguments.end(), extra.begin(), extra.end());
  DemoCommandLine line;
  std::string error, text;
  EXPECT_TRUE(parseDemoCommandLine(arguments, line, error)) << error;
  EXPECT_TRUE(demoExchangeText(catalogue, line, part, text, error)) << error;
  return text;
}

}  // namespace

// Every part of every catalogue is one well-formed "FIGURE" or "DRAWING" tree, and every hatch
// boundary reference names a shape of the tree by its depth-first position.
TEST(DemoParts, EveryPartIsAWellFormedMetafile) {
  const std::vector<std::string> joint = {"-poke", "pconset=    2, 12.0,  8.0,   -1"};
  int hatches = 0;
  for (const DemoCatalogue& catalogue :
       {viewerCatalogue(), shaftCatalogue(), assemblyCatalogue(), connectionCatalogue()}) {
    for (const DemoPart& part : catalogue.parts) {
      SCOPED_TRACE(catalogue.programName + " " + part.name);
      const std::string text = exchangeText(catalogue, part.name, joint);
      std::vector<Node> roots;
      std::size_t i = 0;
      ASSERT_TRUE(parseLevel(text, i, roots, 0)) << text;
      ASSERT_EQ(roots.size(), 1u);
      EXPECT_TRUE(roots[0].token == "FIGURE" || roots[0].token == "DRAWING");
      std::vector<const Node*> order;
      numberNodes(roots[0], order);
      std::vector<long> references;
      collectReferences(roots[0], references);
      for (long ordinal : references) {
        ASSERT_GE(ordinal, 1);
        ASSERT_LE(ordinal, long(order.size()));
        const std::string& key = order[std::size_t(ordinal - 1)]->token;
        EXPECT_TRUE(key == "LINE" || key == "ARC" || key == "CIRCLE" || key == "ELLIPSE" ||
                    key == "ELLIPSEARC" || key == "ICRV2D")
            << "reference " << ordinal << " names " << key;
      }
      hatches += int(references.size());
    }
  }
  EXPECT_GT(hatches, 0);  // the catalogue shows hatches at all
}

TEST(DemoParts, NothingChosenLeavesTheNoPartMarker) {
  DemoCommandLine line;
  std::string error, text;
  ASSERT_TRUE(parseDemoCommandLine({"-o", "x"}, line, error));
  ASSERT_TRUE(demoExchangeText(viewerCatalogue(), line, "none", text, error));
  EXPECT_EQ(text.substr(0, 3), "000");
  EXPECT_FALSE(demoExchangeText(viewerCatalogue(), line, "no-such-part", text, error));
  EXPECT_NE(error.find("washer"), std::string::npos);  // the message lists what there is
}

TEST(DemoParts, ReadsThePlugInsConnectionRequest) {
  struct Case { std::string text; bool ok; int kind; double d1, d2; };
  const Case cases[] = {
      {"    1, 12.0,  0.0,   -1", true, 1, 12.0, 0.0},   // blind hole, as the plug-in formats it
      {"    2, 12.7,  8.5,   -1", true, 2, 12.7, 8.5},   // through hole
      {"    1, 10.0,  4.0,   -1", true, 1, 10.0, 0.0},   // a blind hole has no second plate
      {"    2, 10.0,  0.0,   -1", false, 0, 0, 0},       // through hole of zero thickness
      {"    3, 10.0,  1.0,   -1", false, 0, 0, 0},       // unknown kind
      {"    1,  0.0,  0.0,   -1", false, 0, 0, 0},       // no first plate
      {"    1, 12.0,  0.0", false, 0, 0, 0},             // too few fields
      {"    1, abc,  0.0,   -1", false, 0, 0, 0},
      {"", false, 0, 0, 0},                              // no pconset poke at all
  };
  for (const Case& c : cases) {
    ConnectionRequest request;
    std::string error;
    EXPECT_EQ(parseConnectionRequest(c.text, request, error), c.ok) << c.text;
    if (!c.ok) continue;
    EXPECT_EQ(request.kind, c.kind);
    EXPECT_DOUBLE_EQ(request.thickness1, c.d1);
    EXPECT_DOUBLE_EQ(request.thickness2, c.d2);
  }
}

TEST(DemoParts, SizesTheJointToThePlates) {
  struct Case { int kind; double d1, d2, diameter, length; };
  const Case cases[] = {
      {1, 12.0, 0.0, 8, 25},    // 12 + 1.5 * 8 = 24 -> 25
      {1, 5.0, 0.0, 6, 16},     // 5 + 9 = 14 -> 16
      {2, 12.0, 8.0, 8, 35},    // 20 + 1.6 + 6.5 + 2.4 = 30.5 -> 35
      {2, 20.0, 15.0, 10, 50},  // 35 + 2 + 8 + 3 = 48 -> 50
  };
  for (const Case& c : cases) {
    ScrewJoint joint;
    std::string error;
    ASSERT_TRUE(chooseScrewJoint({c.kind, c.d1, c.d2}, joint, error)) << error;
    EXPECT_EQ(joint.diameter, c.diameter) << c.d1 << " " << c.d2;
    EXPECT_EQ(joint.length, c.length) << c.d1 << " " << c.d2;
  }
  ScrewJoint joint;
  std::string error;
  EXPECT_FALSE(chooseScrewJoint({2, 100.0, 100.0}, joint, error));
  EXPECT_FALSE(error.empty());

  // The joint's name in the exchange file tells the size chosen.
  const std::string text =
      exchangeText(connectionCatalogue(), "joint", {"-poke", "pconset=    2, 12.0,  8.0,   -1"});
  EXPECT_NE(text.find("\"Bolt M8x35 with nut\""), std::string::npos);
}
