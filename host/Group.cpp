#include "host/Group.h"

#include <array>
#include <cmath>
#include <cstdio>

namespace kxhost {

namespace {

ValueKind kindByRanges(int code) {
  switch (code) {
    case 5000: case 5014: case 5016: case 5017: return ValueKind::None;   // RTNONE RTVOID RTLB RTLE
    case 5001: case 5004: case 5008: return ValueKind::Real;               // RTREAL RTANG RTORINT
    case 5002: case 5009: return ValueKind::Point;                          // RTPOINT RT3DPOINT
    case 5003: return ValueKind::Short;
    case 5005: case 5020: return ValueKind::String;                         // RTSTR RTDXF0
    case 5006: case 5007: return ValueKind::Name;                           // RTENAME RTPICKS
    case 5010: return ValueKind::Long;
    default: break;
  }
  if (code == -1 || code == -2) return ValueKind::Name;
  if (code >= 0 && code <= 9) return ValueKind::String;
  if (code >= 10 && code <= 19) return ValueKind::Point;
  if (code >= 20 && code <= 59) return ValueKind::Real;
  if (code >= 60 && code <= 79) return ValueKind::Short;
  if (code >= 90 && code <= 99) return ValueKind::Long;
  if (code == 100 || code == 102 || code == 105) return ValueKind::String;
  if (code >= 110 && code <= 112) return ValueKind::Point;
  if (code >= 113 && code <= 149) return ValueKind::Real;
  if (code >= 170 && code <= 179) return ValueKind::Short;
  if (code >= 210 && code <= 219) return ValueKind::Point;
  if (code >= 220 && code <= 239) return ValueKind::Real;
  if (code >= 270 && code <= 299) return ValueKind::Short;
  if (code >= 300 && code <= 319) return ValueKind::String;
  if (code >= 320 && code <= 369) return ValueKind::Name;
  if (code >= 370 && code <= 389) return ValueKind::Short;
  if (code >= 390 && code <= 399) return ValueKind::Name;
  if (code >= 400 && code <= 409) return ValueKind::Short;
  if (code >= 410 && code <= 419) return ValueKind::String;
  if (code >= 420 && code <= 459) return ValueKind::Long;
  if (code >= 460 && code <= 469) return ValueKind::Real;
  if (code >= 470 && code <= 479) return ValueKind::String;
  if (code == 999) return ValueKind::String;
  return ValueKind::Invalid;
}

// The DXF group codes, 0 to 1071: every node and group asks for its kind, so these are looked
// up in a table made once from the ranges.
constexpr int kGroupCodes = 1072;

}  // namespace

ValueKind valueKindOf(int code) {
  static const std::array<ValueKind, kGroupCodes> table = [] {
    std::array<ValueKind, kGroupCodes> t{};
    for (int c = 0; c < kGroupCodes; ++c) t[static_cast<std::size_t>(c)] = kindByRanges(c);
    return t;
  }();
  if (code >= 0 && code < kGroupCodes) return table[static_cast<std::size_t>(code)];
  return kindByRanges(code);
}

Group Group::str(int code, std::string text) {
  Group g;
  g.code = code;
  g.kind = ValueKind::String;
  g.s = std::move(text);
  return g;
}

Group Group::real(int code, double value) {
  Group g;
  g.code = code;
  g.kind = ValueKind::Real;
  g.v[0] = value;
  return g;
}

Group Group::point(int code, double x, double y, double z) {
  Group g;
  g.code = code;
  g.kind = ValueKind::Point;
  g.v[0] = x;
  g.v[1] = y;
  g.v[2] = z;
  return g;
}

Group Group::integer(int code, std::int32_t value) {
  Group g;
  g.code = code;
  g.kind = valueKindOf(code) == ValueKind::Long ? ValueKind::Long : ValueKind::Short;
  g.i = value;
  return g;
}

Group Group::ename(int code, const std::int32_t words[2]) {
  Group g;
  g.code = code;
  g.kind = ValueKind::Name;
  g.name[0] = words[0];
  g.name[1] = words[1];
  return g;
}

std::string formatNumber(double value) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
  if (std::fabs(value) < 1e-12) value = 0.0;
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.10g", value);
  std::string out = buf;
  if (out == "-0") out = "0";
  return out;
}

std::string Group::text() const {
  switch (kind) {
    case ValueKind::String: return "\"" + s + "\"";
    case ValueKind::Real: return formatNumber(v[0]);
    case ValueKind::Point:
      return formatNumber(v[0]) + "," + formatNumber(v[1]) + "," + formatNumber(v[2]);
    case ValueKind::Short:
    case ValueKind::Long: return std::to_string(i);
    case ValueKind::Name: {
      char buf[40];
      std::snprintf(buf, sizeof buf, "<%X>", static_cast<unsigned>(name[0]));
      return buf;
    }
    case ValueKind::None: return "";
    case ValueKind::Invalid: break;
  }
  return "?";
}

const Group* findGroup(const GroupList& list, int code) {
  for (const Group& g : list)
    if (g.code == code) return &g;
  return nullptr;
}

Group* findGroup(GroupList& list, int code) {
  for (Group& g : list)
    if (g.code == code) return &g;
  return nullptr;
}

}  // namespace kxhost
