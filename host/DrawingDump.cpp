#include "host/DrawingDump.h"

#include <cstdio>
#include <map>

#include "host/HostSession.h"
#include "host/TextFileSave.h"
#include "host/TextSink.h"

namespace kxhost {

namespace {

std::string hex(std::uint32_t v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%X", v);
  return buf;
}

// A group's value as Group::text() gives it; a string goes in where it lies, not copied.
void value(TextSink& out, const Group& g) {
  if (g.kind != ValueKind::String) {
    out.append(g.text());
    return;
  }
  out.append('"');
  out.append(g.s);
  out.append('"');
}

void entity(TextSink& out, const Entity& e, const std::string& indent) {
  out.append(indent + hex(e.handle) + " " + e.type + "\n");
  int acisLines = 0;
  for (const Group& g : e.groups) {
    if (e.type == "3DSOLID" && (g.code == 1 || g.code == 3)) {
      if (acisLines++ == 0) {
        out.append(indent + "  1 ");
        value(out, g);
        out.append('\n');
      }
      continue;
    }
    out.append(indent + "  " + std::to_string(g.code) + " ");
    value(out, g);
    out.append('\n');
  }
  if (acisLines > 1)
    out.append(indent + "  (ACIS text: " + std::to_string(acisLines) + " lines)\n");
  for (const Entity& s : e.subs) entity(out, s, indent + "  ");
}

void counts(TextSink& out, const std::string& space, const std::vector<Entity>& list) {
  std::map<std::string, int> n;
  for (const Entity& e : list) ++n[e.type];
  for (const auto& [type, count] : n)
    out.append("  " + space + " " + type + " " + std::to_string(count) + "\n");
}

}  // namespace

void DrawingDump::write(TextSink& out) const {
  const Database& db = host_.database();
  out.append("kestrix-host drawing dump\n");
  out.append("module unlocked " + std::string(host_.app().unlocked ? "yes" : "no") +
             ", mdi-aware " + (host_.app().mdiAware ? "yes" : "no") + "\n");
  out.append(std::string("message pump ") + (host_.drainCount() ? "drained" : "idle") + "\n");
  out.append("commands\n");
  for (const auto& [name, code] : host_.commands())
    out.append("  " + std::to_string(code) + " " + name + "\n");
  out.append("variables\n");
  for (const auto& [name, value] : host_.variables().all())
    out.append("  " + name + " " + value.text() + "\n");
  out.append("layers\n");
  for (const LayerRecord& l : db.tables().layers())
    out.append("  \"" + l.name + "\" colour " + std::to_string(l.colour) + " ltype \"" +
               l.lineType + "\"\n");
  out.append("linetypes\n");
  for (const LineTypeRecord& t : db.tables().lineTypes()) {
    out.append("  \"" + t.name + "\" \"" + t.description + "\"");
    for (double d : t.pattern) out.append(" " + formatNumber(d));
    out.append('\n');
  }
  out.append("blocks\n");
  for (const BlockRecord& b : db.blocks()) {
    out.append("  block \"" + b.name + "\" base " + formatNumber(b.base[0]) + "," +
               formatNumber(b.base[1]) + "," + formatNumber(b.base[2]) + "\n");
    for (const Entity& e : b.entities) entity(out, e, "    ");
  }
  out.append("entities\n");
  for (const Entity& e : db.model()) entity(out, e, "  ");
  out.append("counts\n");
  counts(out, "*Model_Space", db.model());
  for (const BlockRecord& b : db.blocks()) counts(out, "\"" + b.name + "\"", b.entities);
}

bool DrawingDump::save(const std::string& nativePath, std::string& error) const {
  return saveTextFile(nativePath, [&](std::ostream& stream) {
    TextSink out(&stream);
    write(out);
    out.finish();
  }, error);
}

}  // namespace kxhost
