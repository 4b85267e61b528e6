#pragma once
// Test instrument: a node chain with its subtrees as one line of metafile text, e.g.
// A { B 1.5 "x\"y" } C. Reals are written in their shortest exact form (infinities and NaN
// signed, so the text reads back as reals), strings escaped; other value types show as <none>
// and <ptr N>. Reading the text back gives the same tree. Header-only; walks without recursion.

#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>

#include "meta/metaTree.h"

namespace metatesting {

inline std::string dumpValue(const metaNodeValueC& value) {
  switch (value.type()) {
    case metaNodeValueC::typeKeyWord:
      return value.textOrEmpty();
    case metaNodeValueC::typeString: {
      std::string out = "\"";
      for (const char* p = value.textOrEmpty(); *p; ++p) {
        switch (*p) {
          case '"': out += "\\\""; break;
          case '\\': out += "\\\\"; break;
          case '\n': out += "\\n"; break;
          case '\r': out += "\\r"; break;
          case '\t': out += "\\t"; break;
          default: out += *p;
        }
      }
      return out + "\"";
    }
    case metaNodeValueC::typeReal: {
      const double d = value.getReal();
      if (std::isnan(d)) return "+nan";
      if (std::isinf(d)) return d > 0 ? "+inf" : "-inf";
      char text[64];
      auto result = std::to_chars(text, text + sizeof text, d);
      return std::string(text, result.ptr);
    }
    case metaNodeValueC::typePointer:
    case metaNodeValueC::typePointer2:
      return "<ptr " + std::to_string(value.type()) + ">";
    default:
      return "<none>";
  }
}

inline std::string dumpTree(const metaTreeC* first) {
  std::string out;
  const metaTreeC* node = first;
  int level = 0;
  while (node) {
    if (!out.empty()) out += ' ';
    out += dumpValue(node->value());
    if (node->firstChild()) {
      out += " {";
      node = node->firstChild();
      ++level;
      continue;
    }
    while (node && !node->nextSibling()) {
      if (level == 0) return out;
      node = node->parent();
      --level;
      out += " }";
    }
    node = node->nextSibling();
  }
  return out;
}

}  // namespace metatesting
