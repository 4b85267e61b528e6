#include "host/DrawingDump.h"

#include <cstdio>
#include <map>

#include "host/HostSession.h"
#include "host/TextFileSave.h"

namespace kxhost {

namespace {

std::string hex(std::uint32_t v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%X", v);
  return buf;
}

void entity(std::string& out, const Entity& e, const std::string& indent) {
  out += indent + hex(e.handle) + " " + e.type + "\n";
  int acisLines = 0;
  for (const Group& g : e.groups) {
    if (e.type == "3DSOLID" && (g.code == 1 || g.code == 3)) {
      if (acisLines++ == 0) out += indent + "  1 " + g.text() + "\n";
      continue;
    }
    out += indent + "  " + std::to_string(g.code) + " " + g.text() + "\n";
  }
  if (acisLines > 1) out += indent + "  (ACIS text: " + std::to_string(acisLines) + " lines)\n";
  for (const Entity& s : e.subs) entity(out, s, indent + "  ");
}

void counts(std::string& out, const std::string& space, const std::vector<Entity>& list) {
  std::map<std::string, int> n;
  for (const Entity& e : list) ++n[e.type];
  for (const auto& [type, count] : n)
    out += "  " + space + " " + type + " " + std::to_string(count) + "\n";
}

}  // namespace

std::string DrawingDump::text() const {
  const Database& db = host_.database();
  std::string out = "kestrix-host drawing dump\n";
  out += "module unlocked " + std::string(host_.app().unlocked ? "yes" : "no") + ", mdi-aware " +
         (host_.app().mdiAware ? "yes" : "no") + "\n";
  out += std::string("message pump ") + (host_.drainCount() ? "drained" : "idle") + "\n";
  out += "commands\n";
  for (const auto& [name, code] : host_.commands())
    out += "  " + std::to_string(code) + " " + name + "\n";
  out += "variables\n";
  for (const auto& [name, value] : host_.variables().all())
    out += "  " + name + " " + value.text() + "\n";
  out += "layers\n";
  for (const LayerRecord& l : db.tables().layers())
    out += "  \"" + l.name + "\" colour " + std::to_string(l.colour) + " ltype \"" + l.lineType +
           "\"\n";
  out += "linetypes\n";
  for (const LineTypeRecord& t : db.tables().lineTypes()) {
    out += "  \"" + t.name + "\" \"" + t.description + "\"";
    for (double d : t.pattern) out += " " + formatNumber(d);
    out += "\n";
  }
  out += "blocks\n";
  for (const BlockRecord& b : db.blocks()) {
    out += "  block \"" + b.name + "\" base " + formatNumber(b.base[0]) + "," +
           formatNumber(b.base[1]) + "," + formatNumber(b.base[2]) + "\n";
    for (const Entity& e : b.entities) entity(out, e, "    ");
  }
  out += "entities\n";
  for (const Entity& e : db.model()) entity(out, e, "  ");
  out += "counts\n";
  counts(out, "*Model_Space", db.model());
  for (const BlockRecord& b : db.blocks()) counts(out, "\"" + b.name + "\"", b.entities);
  return out;
}

bool DrawingDump::save(const std::string& nativePath, std::string& error) const {
  return saveTextFile(nativePath, text(), error);
}

}  // namespace kxhost
