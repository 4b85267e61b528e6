#pragma once
// Writes 2D parts in the metafile text form: a tree of key words, strings and numbers with
// brace-delimited sections. MetaNode is the tree as the demo programs build it; a node owns its
// children. A reference node (REFTRG of a hatch boundary entry) names another node of the same
// tree and is written as that node's 1-based position in a depth-first walk of the whole tree.

#include <memory>
#include <string>
#include <vector>

class MetaNode {
 public:
  enum class Kind { Key, String, Number, Reference };

  static MetaNode key(std::string word);
  static MetaNode string(std::string text);
  static MetaNode number(double value);
  // A number that, when written, is the position of `target` in the tree being written (0 when
  // the target is not part of that tree).
  static MetaNode reference(const MetaNode* target);

  MetaNode(MetaNode&&) = default;
  MetaNode& operator=(MetaNode&&) = default;

  // Appends a child and returns it; the address stays valid while this node lives.
  MetaNode& add(MetaNode child);
  // Appends the key child `word` and returns it.
  MetaNode& addKey(const std::string& word);
  // Appends "word { value }" and returns this node, so attributes can be chained.
  MetaNode& set(const std::string& word, MetaNode value);
  MetaNode& set(const std::string& word, double value);
  MetaNode& setString(const std::string& word, const std::string& text);
  // Appends "word { x y }" (a point or a 2D vector) and returns this node.
  MetaNode& setPoint(const std::string& word, double x, double y);

  Kind kind() const { return kind_; }
  const std::string& text() const { return text_; }
  double value() const { return value_; }
  const MetaNode* target() const { return target_; }
  const std::vector<std::unique_ptr<MetaNode>>& children() const { return children_; }

 private:
  MetaNode(Kind kind, std::string text, double value, const MetaNode* target);

  Kind kind_;
  std::string text_;
  double value_ = 0.0;
  const MetaNode* target_ = nullptr;
  std::vector<std::unique_ptr<MetaNode>> children_;
};

// The metafile text of the tree under `root` (one top-level node), ending in a line feed.
// Numbers are written in their shortest exact decimal form with '.' as the decimal point.
std::string writeMetafile(const MetaNode& root);

// A number as the metafile writes it ("1", "-2.5", "1e-07").
std::string formatMetaNumber(double value);
