#pragma once
// m3dFeatPatternListsC: the four holder nodes a pattern expansion fills, in this order of use:
// the new planes, the sketch copies, the body copies and the cosmetic sketch copies. The holders
// are plain nodes owned by this object and deleted with it, with whatever they still hold.

class metaTreeC;

class m3dFeatPatternListsC {
public:
  enum : int { planes = 0, sketches = 1, bodies = 2, cosmetics = 3, listCount = 4 };

  m3dFeatPatternListsC();
  ~m3dFeatPatternListsC();
  m3dFeatPatternListsC(const m3dFeatPatternListsC&) = delete;
  m3dFeatPatternListsC& operator=(const m3dFeatPatternListsC&) = delete;

  metaTreeC* list(int which) const { return lists_[which]; }
  // Deletes the children of the first three lists.
  void clearResults() const;

  // Hooked deep copies of the children of lists 0, 1 and 2, in that order, as one detached
  // chain (null when they are all empty). Without a target the caller owns the chain. With a
  // target and `replace` the target takes the value and children of the chain's first node (its
  // own children deleted) and the rest follows it; without `replace` the whole chain follows the
  // target. Returns the chain's first node as it then stands (the target when it was replaced).
  metaTreeC* mergeLists(metaTreeC* target, int replace) const;

private:
  metaTreeC* lists_[listCount];
};

// m3dChildAppenderC: appends detached nodes as the last children of one holder node, linking
// each right after the holder's last child, which it keeps, instead of walking the children to
// find it: n appends cost time linear in n. Nothing else may change the holder's children while
// it is in use. It owns nothing.
class m3dChildAppenderC {
public:
  // Finds the holder's last child once; a null holder takes no nodes.
  explicit m3dChildAppenderC(metaTreeC* holder);
  // Links the detached chain that starts at `node` (no parent, no previous sibling) after the
  // last child, as metaTreeC::appendAsLastChild does, and returns `node`; null for a null node
  // or holder, when nothing is done and the caller keeps the node.
  metaTreeC* append(metaTreeC* node);

private:
  metaTreeC* holder_;
  metaTreeC* last_;
};
