#include "meta/metaExtendedAttributes.h"

#include <cctype>
#include <cstring>

#include "foundation/str.h"
#include "meta/metaTree.h"

namespace {

const char* const recordKey = "EXTATTRVAR";

// Where the pair list starts: after the header ("}," or "\"," then three digits, then as many
// characters as the digits say, never past the end of the text); right after the marker when the
// digits are no number; at the beginning when there is no marker.
const char* listStart(const char* text) {
  const char* brace = std::strstr(text, "},");
  const char* quote = std::strstr(text, "\",");
  const char* marker = brace && (!quote || brace < quote) ? brace : quote;
  if (!marker) return text;
  const char* digits = marker + 2;
  const std::size_t left = std::strlen(digits);
  if (left < 3 || !std::isdigit(static_cast<unsigned char>(digits[0])) ||
      !std::isdigit(static_cast<unsigned char>(digits[1])) ||
      !std::isdigit(static_cast<unsigned char>(digits[2]))) {
    return digits;
  }
  const std::size_t skip = static_cast<std::size_t>((digits[0] - '0') * 100 +
                                                    (digits[1] - '0') * 10 + (digits[2] - '0'));
  const std::size_t after = left - 3;
  return digits + 3 + (skip < after ? skip : after);
}

// The string value of the "NAME" attribute of `record`, or null when it has none. Reads only.
const char* recordName(const metaTreeC* record) {
  if (!record->value().isKeyWord()) return nullptr;
  const metaTreeC* name = metaTreeC::findKey(record->firstChild(), "NAME", 0);
  if (!name || !name->firstChild() || !name->firstChild()->value().isString()) return nullptr;
  return name->firstChild()->value().textOrEmpty();
}

bool hasRecord(const metaTreeC* node, const str& name) {
  for (const metaTreeC* child = node->firstChild(); child; child = child->nextSibling()) {
    if (!child->isKey(recordKey)) continue;
    const char* text = recordName(child);
    if (text && name.isEqual(text)) return true;
  }
  return false;
}

}  // namespace

std::int64_t parseExtendedAttributes(const char* text, const metaObjectC& view) {
  metaTreeC* node = view.node();
  if (!text || !node) return 0;
  std::int64_t pairs = 0;
  const char* rest = listStart(text);
  while (const char* open = std::strchr(rest, '{')) {
    const char* nameStart = open + 1;
    const char* equals = nameStart;
    while (*equals && *equals != '=' && *equals != '}') ++equals;
    if (*equals == '\0') break;
    if (*equals == '}') {  // no "=" in this pair: skipped, not counted
      rest = equals + 1;
      continue;
    }
    const char* valueStart = equals + 1;
    const char* close = std::strchr(valueStart, '}');
    const char* valueEnd = close ? close : valueStart + std::strlen(valueStart);
    const str name(nameStart, equals);
    if (!hasRecord(node, name)) {
      metaObjectC record(metaTreeC::createKeyNode(recordKey), 0);
      record.node()->appendAsLastChild(node);
      record.setAttrString("NAME", name.text());
      record.setAttrString("VALUE", str(valueStart, valueEnd).text());
    }
    ++pairs;
    if (!close) break;
    rest = close + 1;
  }
  return pairs;
}

metaObjectC findExtendedAttribute(const metaObjectC& view, const char* name) {
  const metaTreeC* node = view.node();
  if (!node) return metaObjectC();
  for (metaTreeC* child = node->firstChild(); child; child = child->nextSibling()) {
    const char* text = recordName(child);
    if (text && str(text).isEqual(name)) return metaObjectC(child, 0);
  }
  return metaObjectC();
}
