// Document attributes, generated names, part numbering and the forwarding document operations.

#include "model3d/m3dDocument.h"

#include <cctype>
#include <cmath>
#include <cstdint>
#include <string>

#include "meta/mBasePrefs.h"
#include "meta/metaExtendedAttributes.h"
#include "meta/metaTree.h"
#include "model3d/m3dMembers.h"
#include "model3d/m3dPart.h"
#include "model3d/metaProtoLookup.h"
#include "platform/Time.h"

namespace {

// Module-wide; never reset. Unguarded: everything runs on the host's command thread.
std::uint32_t shortNameCounter = 0;
std::uint32_t nameCounter = 0;

str generatedName(std::uint32_t counter) {
  // The seconds in full decimal: cut to 32 bits they would wrap in 2038.
  const std::string text =
      "QVL_" + std::to_string(counter) + "_" + std::to_string(platform::currentTime());
  return str(text.c_str());
}

}  // namespace

int isPartNode(const metaTreeC* node) { return node && node->isKey("PART") ? 1 : 0; }
int isAssemblyNode(const metaTreeC* node) { return node && node->isKey("ASSEMBLY") ? 1 : 0; }

m3dNodeListC& m3dDocumentC::listPartNodes(m3dNodeListC& list) {
  metaProtoLookupC<m3dDocumentC> lookup(m3dDocumentRegistry, node());
  if (!lookup.isOtherClass(this)) {
    list.reset();
    return list;
  }
  auto binding = lookup.bindPrototype();
  return lookup.prototype()->listPartNodes(list);
}

m3dNodeListC& m3dDocumentC::listDocumentNodes(m3dNodeListC& list) {
  metaProtoLookupC<m3dDocumentC> lookup(m3dDocumentRegistry, node());
  if (!lookup.isOtherClass(this)) {
    list.reset();
    return list;
  }
  auto binding = lookup.bindPrototype();
  return lookup.prototype()->listDocumentNodes(list);
}

int m3dDocumentC::collectViewCosmetics(const mMat4dC& view, const metaObjectC& output) {
  metaProtoLookupC<m3dDocumentC> lookup(m3dDocumentRegistry, node());
  if (!lookup.isOtherClass(this)) return 0;
  auto binding = lookup.bindPrototype();
  return lookup.prototype()->collectViewCosmetics(view, output);
}

void m3dDocumentC::collectAxisLines(const mMat4dC& view, m3dAxisPoolC& pool, int allDirections) {
  metaProtoLookupC<m3dDocumentC> lookup(m3dDocumentRegistry, node());
  if (!lookup.isOtherClass(this)) return;
  auto binding = lookup.bindPrototype();
  lookup.prototype()->collectAxisLines(view, pool, allDirections);
}

int m3dDocumentC::setDocumentUnitValue(double value) {
  metaProtoLookupC<m3dDocumentC> lookup(m3dDocumentRegistry, node());
  if (!lookup.isOtherClass(this)) return 0;
  auto binding = lookup.bindPrototype();
  return lookup.prototype()->setDocumentUnitValue(value);
}

std::int64_t m3dDocumentC::parseIdent(const metaObjectC& output) const {
  return parseExtendedAttributes(getIdent(), output);
}

str m3dDocumentC::makeShortName(unsigned limit) const {
  str s = getShortName();
  if (s.isEmpty()) s = makeName();
  if (static_cast<unsigned long>(s.length()) < limit) return s;
  for (long i = s.length() - 1; i >= 0; --i) {
    const unsigned char c = static_cast<unsigned char>(s.charAt(i));
    if (!(std::isupper(c) || std::isdigit(c))) s.erase(i, 1);
  }
  if (static_cast<unsigned long>(s.length()) < limit) return s;
  return generatedName(++shortNameCounter);
}

str m3dDocumentC::makeName() const {
  const char* name = getName();
  if (name && *name) return str(name);
  return generatedName(++nameCounter);
}

int m3dDocumentC::numberParts(int first) {
  m3dNodeListC list = makeNodeList();
  listPartNodes(list);
  int number = first - 1;
  for (std::size_t i = 0; i < list.size(); ++i) {
    number = first + static_cast<int>(i);
    m3dPartC(list[i], 0).setPartNumber(number);
  }
  return number;
}

metaTreeC* m3dDocumentC::findPartByNumber(int n) {
  m3dNodeListC list = makeNodeList();
  listPartNodes(list);
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (m3dPartC(list[i], 0).getPartNumber() == n) return list[i];
  }
  return nullptr;
}

m3dMembersC m3dDocumentC::members() const { return m3dMembersC(node(), 0); }

std::int64_t m3dDocumentC::memberCount() const { return members().count(); }

int m3dDocumentC::unitChange(const char* prefsKey, double value, double& factor,
                             bool& changed) const {
  // A new value of 0 would make old / value infinite, and a non-finite one would turn the
  // geometry into infinities or NaNs: both are refused.
  if (value == 0.0 || !std::isfinite(value)) return 0;
  const double old = mBasePrefsC(findOrAddChild(prefsKey), 0).effectiveUnitBase();
  changed = old != value;
  factor = old / value;
  return 1;
}

void m3dDocumentC::storeUnitValue(const char* prefsKey, double value) const {
  mBasePrefsC(findOrAddChild(prefsKey), 0).setUnitBase(value);
}
