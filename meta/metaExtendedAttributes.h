#pragma once
// Extended attributes: a text of {name=value} pairs after an optional header, turned into
// "EXTATTRVAR" records (string attributes "NAME" and "VALUE") under a node, and the lookup of a
// record by name. The records belong to the node's tree.

#include <cstdint>

#include "meta/metaObject.h"

// Adds one "EXTATTRVAR" record (appended last) per pair whose name has none yet under the node of
// `view`; existing records stay as they are. Returns the number of pairs read (a pair whose open
// brace has no "=" before its close brace is skipped and not counted). 0 for an unbound view or a
// null text.
std::int64_t parseExtendedAttributes(const char* text, const metaObjectC& view);

// A non-owning view on the first child of the node of `view` whose "NAME" string equals `name`
// (str::isEqual); unbound when none does. Looks only: nothing is added to the tree.
metaObjectC findExtendedAttribute(const metaObjectC& view, const char* name);
