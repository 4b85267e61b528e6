#include "meta/metaObjectRef.h"

#include <cstdint>

#include "meta/metaClassRegistrar.h"
#include "meta/metaNodeIndex.h"
#include "meta/metaTree.h"

namespace {

const char* const targetKey = "REFTRG";

// The index the reference passes look nodes up in, and the root it was last set for (null when
// forgotten). The passes forget the root before they start, so an index is never reused for
// another tree.
struct refStateC {
  metaNodeIndexC index;
  metaTreeC* rememberedRoot = nullptr;
};

refStateC& refState() {
  static refStateC state;
  return state;
}

// A new root gets its index built at once, before the first hook of the pass changes the tree
// (a reference without a target still gets a value node): the ordinals and marks a pass looks
// up are those of the tree as it stood when the pass began.
void useRoot(metaTreeC* root) {
  refStateC& state = refState();
  if (root != state.rememberedRoot) {
    state.index.setRoot(root);
    state.index.rebuild(0);
    state.rememberedRoot = root;
  }
}

void forgetRoot() { refState().rememberedRoot = nullptr; }

std::int64_t markOf(const metaTreeC* node) {
  return static_cast<std::int64_t>(reinterpret_cast<std::intptr_t>(node));
}

// Sets the first child of `attribute` to `value`, whatever it held before (its position kept).
void setFirstValue(metaTreeC* attribute, metaNodeValueC value) {
  if (!attribute) return;
  if (metaTreeC* child = attribute->firstChild()) {
    value.setPosition(child->value().position());
    child->setValue(value);
  } else {
    (new metaTreeC(value))->insertAsFirstChild(attribute);
  }
}

metaClassRegistrarC<metaObjectRefC, metaObjectCustomStorageC> storageRegistration(
    metaObjectCustomStorageC::registry(), "MOREF", metaObjectRefC::classDepth);
metaClassRegistrarC<metaObjectRefC, metaObjectCustomCopyC> copyRegistration(
    metaObjectCustomCopyC::registry(), "MOREF", metaObjectRefC::classDepth);

}  // namespace

metaTreeC* metaObjectRefC::targetNode() const {
  const metaTreeC* attribute = findOrAddChild(targetKey);
  const metaTreeC* value = attribute ? attribute->firstChild() : nullptr;
  if (!value || value->value().type() != metaNodeValueC::typePointer) return nullptr;
  return static_cast<metaTreeC*>(value->value().getPointer());
}

void metaObjectRefC::setTargetNode(metaTreeC* target) const {
  setFirstValue(findOrAddChild(targetKey),
                metaNodeValueC(metaNodeValueC::typePointer, metaSourcePosC{},
                               reinterpret_cast<std::intptr_t>(target)));
}

std::int64_t metaObjectRefC::targetOrdinal(int* found) const {
  return metaObjectCustomStorageC::getAttrInt64(targetKey, found);
}

void metaObjectRefC::setTargetOrdinal(std::int64_t ordinal) const {
  setFirstValue(findOrAddChild(targetKey),
                metaNodeValueC(metaNodeValueC::typeReal, metaSourcePosC{},
                               static_cast<double>(ordinal)));
}

int metaObjectRefC::afterLoad(metaTreeC* root) {
  useRoot(root);
  if (!isBound()) return 1;
  int found = 0;
  const std::int64_t ordinal = targetOrdinal(&found);
  // A reference already resolved holds a node, not a number: it stays as it is.
  if (!found && targetNode()) return 1;
  metaTreeC* target = found && ordinal > 0 ? refState().index.nodeByOrdinal(ordinal, 0) : nullptr;
  setTargetNode(target);
  return 1;
}

metaTreeC* metaObjectRefC::forSave(metaTreeC* root) {
  useRoot(root);
  if (!isBound()) return nullptr;
  const metaTreeC* target = targetNode();
  const std::int64_t ordinal = target ? refState().index.ordinalOfNode(target, 0) : -1;
  metaTreeC* copy = node()->cloneSubtree();
  metaObjectRefC(copy, 0).setTargetOrdinal(ordinal);
  return copy;
}

int metaObjectRefC::thirdHook(int) {
  forgetRoot();
  return 1;
}

int metaObjectRefC::preLoadPassHook(metaTreeC*) {
  forgetRoot();
  return 1;
}

metaTreeC* metaObjectRefC::copyNode(metaTreeC*) { return nullptr; }

int metaObjectRefC::beforeCopy(metaTreeC*) {
  forgetRoot();
  if (metaTreeC* target = isBound() ? targetNode() : nullptr) target->setCopyMark(markOf(target));
  return 1;
}

int metaObjectRefC::afterCopy(metaTreeC* root) {
  useRoot(root);
  if (!isBound()) return 1;
  const metaTreeC* oldTarget = targetNode();
  metaTreeC* target =
      oldTarget ? refState().index.nodeByMark(markOf(oldTarget), 0) : nullptr;
  setTargetNode(target);
  return 1;
}
