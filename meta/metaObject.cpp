#include "meta/metaObject.h"

#include <cmath>
#include <limits>

#include "meta/metaTree.h"

namespace {

const metaTreeC* firstChildOf(const metaTreeC* node) { return node ? node->firstChild() : nullptr; }

// A new detached child holding `value`, linked as the first child of `node`.
void addFirstValue(metaTreeC* node, const metaNodeValueC& value) {
  metaTreeC* child = new metaTreeC(value);
  child->insertAsFirstChild(node);
}

void setFound(int* found, bool value) {
  if (found) *found = value ? 1 : 0;
}

// The text of the first child of `node` when that child is of text `type`, else "" (and
// *found set accordingly).
const char* firstText(const metaTreeC* node, std::int32_t type, int* found) {
  const metaTreeC* child = firstChildOf(node);
  const bool ok = child && child->value().type() == type;
  setFound(found, ok);
  return ok ? child->value().textOrEmpty() : "";
}

// Gives `node` (when not null) a first child of text `type` (string or keyword) holding `text`
// (null as ""): adds one when it has no children, rewrites a first child of that same type, and
// leaves a first child of any other type alone.
void setFirstText(metaTreeC* node, std::int32_t type, const char* text) {
  if (!node) return;
  metaTreeC* child = node->firstChild();
  if (!child) {
    addFirstValue(node, metaNodeValueC(type, metaSourcePosC{}, text ? text : ""));
  } else if (child->value().type() == type) {
    child->value().setText(type, text ? text : "");
  }
}

// Truncation toward zero that cannot overflow: reals beyond the target's range saturate.
template <class I>
I truncateSaturating(double v) {
  if (v >= static_cast<double>(std::numeric_limits<I>::max())) return std::numeric_limits<I>::max();
  if (v <= static_cast<double>(std::numeric_limits<I>::min())) return std::numeric_limits<I>::min();
  return static_cast<I>(v);
}

// The object's real truncated toward zero (saturating) as I; 0 and not found when it has no real
// or the real is NaN.
template <class I>
I realAsInteger(const metaObjectC& object, int* found) {
  int ok = 0;
  const double v = object.getReal(&ok);
  if (!ok || std::isnan(v)) {
    setFound(found, false);
    return 0;
  }
  setFound(found, true);
  return truncateSaturating<I>(v);
}

}  // namespace

metaObjectC::metaObjectC(metaTreeC* node, int owns, int buildVirtualBase) {
  if (buildVirtualBase) {
    reset(node, owns);
  } else {
    bindIfUnbound(node, owns);
  }
}

metaObjectC::metaObjectC(const metaObjectC& other)
    : metaObjectVirtualDataBaseC(other) {
  // When this class is not the most derived one the handle was built by that class (often
  // unbound, by a user-written copy constructor); bind the copy then.
  assignIfUnbound(other);
}

metaObjectC::metaObjectC(metaObjectC&& other) noexcept
    : metaObjectVirtualDataBaseC(static_cast<metaObjectVirtualDataBaseC&&>(other)) {
  if (!isBound() && other.isBound()) {
    metaObjectVirtualDataBaseC::operator=(static_cast<metaObjectVirtualDataBaseC&&>(other));
  }
}

metaObjectC& metaObjectC::operator=(const metaObjectC& other) {
  assign(other);
  return *this;
}

metaObjectC& metaObjectC::operator=(metaObjectC&& other) noexcept {
  metaObjectVirtualDataBaseC::operator=(static_cast<metaObjectVirtualDataBaseC&&>(other));
  return *this;
}

double metaObjectC::getReal(int* found) const {
  const metaTreeC* child = firstChildOf(node());
  const bool ok = child && child->value().isReal();
  setFound(found, ok);
  return ok ? child->value().getReal() : 0.0;
}

int metaObjectC::getInt(int* found) const { return realAsInteger<int>(*this, found); }

std::int64_t metaObjectC::getInt64(int* found) const {
  return realAsInteger<std::int64_t>(*this, found);
}

const char* metaObjectC::getString(int* found) const {
  return firstText(node(), metaNodeValueC::typeString, found);
}

const char* metaObjectC::getKeyWord(int* found) const {
  return firstText(node(), metaNodeValueC::typeKeyWord, found);
}

void metaObjectC::setReal(double value) const {
  metaTreeC* n = node();
  if (!n) return;
  metaTreeC* child = n->firstChild();
  if (!child) {
    addFirstValue(n, metaNodeValueC(metaNodeValueC::typeReal, metaSourcePosC{}, value));
  } else if (child->value().isReal()) {
    child->value().setReal(value);
  }
}

void metaObjectC::setInt(std::int64_t value) const { setReal(static_cast<double>(value)); }

void metaObjectC::setString(const char* text) const {
  setFirstText(node(), metaNodeValueC::typeString, text);
}

void metaObjectC::setKeyWord(const char* text) const {
  setFirstText(node(), metaNodeValueC::typeKeyWord, text);
}

metaObjectC metaObjectC::attribute(const char* key) const {
  return metaObjectC(findOrAddChild(key), 0);
}

double metaObjectC::getAttrReal(const char* key, int* found) const {
  return attribute(key).getReal(found);
}

int metaObjectC::getAttrInt(const char* key, int* found) const {
  return attribute(key).getInt(found);
}

std::int64_t metaObjectC::getAttrInt64(const char* key, int* found) const {
  return attribute(key).getInt64(found);
}

const char* metaObjectC::getAttrString(const char* key, int* found) const {
  return attribute(key).getString(found);
}

const char* metaObjectC::getAttrKeyWord(const char* key, int* found) const {
  return attribute(key).getKeyWord(found);
}

void metaObjectC::setAttrReal(const char* key, double value) const { attribute(key).setReal(value); }

void metaObjectC::setAttrInt(const char* key, std::int64_t value) const {
  attribute(key).setInt(value);
}

void metaObjectC::setAttrString(const char* key, const char* text) const {
  attribute(key).setString(text);
}

void metaObjectC::setAttrKeyWord(const char* key, const char* text) const {
  attribute(key).setKeyWord(text);
}

std::int64_t metaObjectC::copyMark() const { return node() ? node()->copyMark() : 0; }

void metaObjectC::setCopyMark(std::int64_t mark) const {
  if (node()) node()->setCopyMark(mark);
}

metaObjectC createKeyNodeObj(const char* key, int owns) {
  return metaObjectC(metaTreeC::createKeyNode(key ? key : ""), owns);
}
