#include "tools/demo-catalogue/MetafileWriter.h"

#include <charconv>
#include <unordered_map>

MetaNode::MetaNode(Kind kind, std::string text, double value, const MetaNode* target)
    : kind_(kind), text_(std::move(text)), value_(value), target_(target) {}

MetaNode MetaNode::key(std::string word) { return MetaNode(Kind::Key, std::move(word), 0.0, nullptr); }
MetaNode MetaNode::string(std::string text) {
  return MetaNode(Kind::String, std::move(text), 0.0, nullptr);
}
MetaNode MetaNode::number(double value) { return MetaNode(Kind::Number, "", value, nullptr); }
MetaNode MetaNode::reference(const MetaNode* target) {
  return MetaNode(Kind::Reference, "", 0.0, target);
}

MetaNode& MetaNode::add(MetaNode child) {
  children_.push_back(std::make_unique<MetaNode>(std::move(child)));
  return *children_.back();
}

MetaNode& MetaNode::addKey(const std::string& word) { return add(key(word)); }

MetaNode& MetaNode::set(const std::string& word, MetaNode value) {
  addKey(word).add(std::move(value));
  return *this;
}

MetaNode& MetaNode::set(const std::string& word, double value) { return set(word, number(value)); }

MetaNode& MetaNode::setString(const std::string& word, const std::string& text) {
  return set(word, string(text));
}

MetaNode& MetaNode::setPoint(const std::string& word, double x, double y) {
  MetaNode& point = addKey(word);
  point.add(number(x));
  point.add(number(y));
  return *this;
}

std::string formatMetaNumber(double value) {
  if (value == 0.0) return "0";  // also for -0.0
  char buffer[64];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

namespace {

using Ordinals = std::unordered_map<const MetaNode*, long>;

void number(const MetaNode& node, Ordinals& ordinals, long& next) {
  ordinals[&node] = ++next;
  for (const auto& child : node.children()) number(*child, ordinals, next);
}

std::string quoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default: out += c;
    }
  }
  out += '"';
  return out;
}

std::string token(const MetaNode& node, const Ordinals& ordinals) {
  switch (node.kind()) {
    case MetaNode::Kind::Key: return node.text();
    case MetaNode::Kind::String: return quoted(node.text());
    case MetaNode::Kind::Number: return formatMetaNumber(node.value());
    case MetaNode::Kind::Reference: {
      auto found = ordinals.find(node.target());
      return formatMetaNumber(found == ordinals.end() ? 0.0 : double(found->second));
    }
  }
  return {};
}

bool allLeaves(const MetaNode& node) {
  for (const auto& child : node.children()) {
    if (!child->children().empty()) return false;
  }
  return true;
}

void write(const MetaNode& node, const Ordinals& ordinals, int depth, std::string& out) {
  out.append(std::size_t(depth) * 2, ' ');
  out += token(node, ordinals);
  if (!node.children().empty()) {
    if (allLeaves(node)) {
      out += " {";
      for (const auto& child : node.children()) out += ' ' + token(*child, ordinals);
      out += " }";
    } else {
      out += " {\n";
      for (const auto& child : node.children()) write(*child, ordinals, depth + 1, out);
      out.append(std::size_t(depth) * 2, ' ');
      out += '}';
    }
  }
  out += '\n';
}

}  // namespace

std::string writeMetafile(const MetaNode& root) {
  Ordinals ordinals;
  long next = 0;
  number(root, ordinals, next);
  std::string out;
  write(root, ordinals, 0, out);
  return out;
}
