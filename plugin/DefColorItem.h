#pragma once
// DefColorItem: one colour definition for the options dialog and for colour names in the user
// configuration: its display name, its host colour number and every name that the definition
// accepts, each followed by ';'. A plain value record.

#include <cstdint>

#include "foundation/RWCString.h"

struct DefColorItem {
  DefColorItem() = default;
  DefColorItem(const RWCString& name, std::int32_t colour, const RWCString& names)
      : displayName(name), colourNumber(colour), keyValues(names) {}

  RWCString displayName;
  std::int32_t colourNumber = 0;
  RWCString keyValues;  // "name;name;...;" in the order of the definition's keys

  // Equal when the display names are, ignoring case (the vector's searches use this).
  bool operator==(const DefColorItem& other) const {
    return displayName.compare(other.displayName, RWCString::ignoreCase) == 0;
  }
};
