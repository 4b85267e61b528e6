#pragma once
// metaNodeCursorC: walks one child chain of the tree, one node at a time. It owns nothing and
// must not outlive the chain it walks.

class metaTreeC;

class metaNodeCursorC {
public:
  metaNodeCursorC() = default;
  explicit metaNodeCursorC(metaTreeC* node) : node_(node) {}

  bool isValid() const { return node_ != nullptr; }
  metaTreeC* node() const { return node_; }
  // Moves to the next sibling and returns 1; returns 0 and stays when empty or at the last node.
  int next();
  // The current node is a key word equal to `text` (strcmp); 0 when empty or for a null text.
  int isKey(const char* text) const;

private:
  metaTreeC* node_ = nullptr;
};
