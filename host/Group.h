#pragma once
// One group of an entity, a table record or a command argument as the host keeps it: a code and
// a typed value. The value kind follows from the code by the host's list conventions
// (valueKindOf); a name value is kept as the two words the plug-in saw.

#include <cstdint>
#include <string>
#include <vector>

namespace kxhost {

enum class ValueKind { Invalid, None, String, Point, Real, Short, Long, Name };

// Kind of value carried by an RT* type code or a DXF group code; Invalid for a code the host
// does not know.
ValueKind valueKindOf(int code);

struct Group {
  int code = 0;
  ValueKind kind = ValueKind::None;
  double v[3] = {0.0, 0.0, 0.0};   // Real: v[0]; Point: x, y, z
  std::int32_t i = 0;              // Short and Long
  std::int32_t name[2] = {0, 0};   // Name
  std::string s;                   // String

  static Group str(int code, std::string text);
  static Group real(int code, double value);
  static Group point(int code, double x, double y, double z = 0.0);
  static Group integer(int code, std::int32_t value);   // Short or Long by the code
  static Group ename(int code, const std::int32_t words[2]);

  // The value as the script or the dump writes it.
  std::string text() const;
};

using GroupList = std::vector<Group>;

// First group of `code` in the list, or null.
const Group* findGroup(const GroupList& list, int code);
Group* findGroup(GroupList& list, int code);

// Formats a number for transcripts and dumps: up to 10 significant digits, no negative zero,
// values within 1e-12 of zero written as 0.
std::string formatNumber(double value);

}  // namespace kxhost
