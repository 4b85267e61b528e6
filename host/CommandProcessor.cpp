#include "host/CommandProcessor.h"

#include <cctype>
#include <cstdio>
#include <sstream>

#include "host/HostSession.h"
#include "host/LineTypeFile.h"
#include "host/SatFile.h"
#include "platform/FileSystem.h"

namespace kxhost {

namespace {

std::string commandKey(const std::string& name) {
  std::size_t i = 0;
  while (i < name.size() && (name[i] == '_' || name[i] == '.')) ++i;
  return upperName(name.substr(i));
}

// The whole of a regular file; false for anything else at the path (never waiting on a pipe,
// never reading a device without end) and when a read fails.
bool readFile(const std::string& native, std::string& out) {
  out.clear();
  return !native.empty() &&
         platform::readRegularFile(native, out, UINT64_MAX) == platform::FileRead::Whole;
}

std::vector<std::string> splitNames(const std::string& list) {
  std::vector<std::string> out;
  std::string item;
  std::istringstream in(list);
  while (std::getline(in, item, ',')) out.push_back(item);
  if (!list.empty() && list.back() == ',') out.push_back("");
  return out;
}

// Applies `change` to each layer of the comma list `names`, in order; stops with false and
// `error` set at the first name that is not a layer (the layers before it keep the change).
template <class Change>
bool forEachLayer(SymbolTables& tables, const std::string& names, std::string& error,
                  Change&& change) {
  for (const std::string& n : splitNames(names)) {
    LayerRecord* l = tables.findLayer(n);
    if (!l) {
      error = "no layer \"" + n + "\"";
      return false;
    }
    change(*l);
  }
  return true;
}

}  // namespace

bool CommandProcessor::text(std::string& out) {
  if (atEnd() || (*args_)[pos_].kind != ValueKind::String) return false;
  out = (*args_)[pos_++].s;
  return true;
}

std::string CommandProcessor::echoText() const {
  std::string out;
  for (std::size_t i = start_; i < pos_ && i < args_->size(); ++i) {
    const Group& g = (*args_)[i];
    if (!out.empty()) out += ' ';
    out += g.kind == ValueKind::String ? (g.s.empty() ? std::string("\"\"") : g.s) : g.text();
  }
  return out;
}

int CommandProcessor::run(const GroupList& args) {
  args_ = &args;
  pos_ = 0;
  if (args.empty()) {
    host_.transcript().hostLine("acedCommand: no command given");
    return RTERROR;
  }
  while (!atEnd()) {
    start_ = pos_;
    std::string name;
    if (!text(name)) {
      host_.transcript().hostLine("acedCommand: a command name (RTSTR) expected, got " +
                                  (*args_)[pos_].text());
      return RTERROR;
    }
    if (name.empty()) continue;   // an empty answer at the command prompt does nothing
    bool echoOn = host_.variables().cmdecho() != 0;
    std::string key = commandKey(name);
    std::string error;
    bool ok;
    if (key == "CMDECHO")
      ok = cmdecho(error);
    else if (key == "LAYER")
      ok = layer(error);
    else if (key == "LINETYPE")
      ok = linetype(error);
    else if (key == "BLOCK")
      ok = block(error);
    else if (key == "ACISIN")
      ok = acisin(error);
    else {
      host_.transcript().hostLine("unknown command \"" + name + "\"");
      return RTERROR;
    }
    if (echoOn) host_.transcript().write("Command: " + echoText() + "\n");
    if (!ok) {
      host_.transcript().hostLine(name + " failed: " + error);
      return RTERROR;
    }
  }
  return RTNORM;
}

bool CommandProcessor::cmdecho(std::string& error) {
  std::string value;
  if (!text(value) || (value != "0" && value != "1")) {
    error = "expects \"0\" or \"1\"";
    return false;
  }
  std::string ignored;
  host_.variables().set("CMDECHO", Group::integer(5003, value == "1"), ignored);
  return true;
}

bool CommandProcessor::layer(std::string& error) {
  SymbolTables& tables = host_.database().tables();
  for (;;) {
    std::string option;
    if (!text(option)) {
      error = "the option list is not ended by \"\"";
      return false;
    }
    if (option.empty()) return true;
    std::string opt = upperName(option);
    if (!opt.empty() && opt[0] == '_') opt = opt.substr(1);
    if (opt == "NEW" || opt == "N") {
      std::string names;
      if (!text(names)) {
        error = "_new needs a layer name";
        return false;
      }
      for (const std::string& n : splitNames(names)) {
        if (!SymbolTables::validName(n)) {
          error = "\"" + n + "\" is no valid layer name";
          return false;
        }
        tables.ensureLayer(n);
      }
    } else if (opt == "LTYPE" || opt == "L") {
      std::string lt, names;
      if (!text(lt) || !text(names)) {
        error = "_ltype needs a line type and a layer";
        return false;
      }
      const LineTypeRecord* rec = tables.findLineType(lt);
      if (!rec) {
        error = "line type \"" + lt + "\" is not loaded";
        return false;
      }
      if (!forEachLayer(tables, names, error, [&](LayerRecord& l) { l.lineType = rec->name; }))
        return false;
    } else if (opt == "COLOR" || opt == "C") {
      if (atEnd()) {
        error = "_color needs a colour and a layer";
        return false;
      }
      const Group& c = (*args_)[pos_++];
      long colour = -1;
      if (c.kind == ValueKind::Short || c.kind == ValueKind::Long)
        colour = c.i;
      else if (c.kind == ValueKind::String && !c.s.empty() &&
               c.s.find_first_not_of("0123456789") == std::string::npos && c.s.size() < 6)
        colour = std::stol(c.s);
      if (colour < 1 || colour > 255) {
        error = "colour " + c.text() + " lies outside 1..255";
        return false;
      }
      std::string names;
      if (!text(names)) {
        error = "_color needs a layer";
        return false;
      }
      if (!forEachLayer(tables, names, error,
                        [&](LayerRecord& l) { l.colour = static_cast<int>(colour); }))
        return false;
    } else {
      error = "unknown option \"" + option + "\"";
      return false;
    }
  }
}

bool CommandProcessor::linetype(std::string& error) {
  std::string option, name, file, end;
  if (!text(option) || upperName(option) != "_LOAD") {
    error = "only _load is supported";
    return false;
  }
  if (!text(name) || name.empty() || !text(file) || !text(end) || !end.empty()) {
    error = "expects _load NAME FILE \"\"";
    return false;
  }
  SymbolTables& tables = host_.database().tables();
  if (tables.findLineType(name)) return true;   // loaded already
  std::string native = host_.findFile(file);
  std::string content;
  if (native.empty() || !readFile(native, content)) {
    error = "line-type file \"" + file + "\" not found";
    return false;
  }
  LineTypeFile lin;
  lin.parse(content);
  const LineTypeRecord* rec = lin.find(name, error);
  if (!rec) return false;
  tables.addLineType(*rec);
  return true;
}

bool CommandProcessor::block(std::string& error) {
  std::string name;
  if (!text(name)) {
    error = "expects NAME RTPOINT base RTPICKS set \"\"";
    return false;
  }
  if (atEnd() || (*args_)[pos_].kind != ValueKind::Point) {
    error = "a base point (RTPOINT) must follow the name";
    return false;
  }
  const Group& base = (*args_)[pos_++];
  if (atEnd() || (*args_)[pos_].code != RTPICKS) {
    error = "a selection set (RTPICKS) must follow the base point";
    return false;
  }
  const Group& set = (*args_)[pos_++];
  std::string end;
  if (!text(end) || !end.empty()) {
    error = "the selection must be ended by \"\"";
    return false;
  }
  std::uint32_t id = 0;
  if (!host_.selectionSets().idOf(set.name, id)) {
    error = "the selection set is not open";
    return false;
  }
  std::vector<std::uint32_t> members = *host_.selectionSets().members(id);
  if (!host_.database().makeBlock(name, base.v, members, error)) return false;
  host_.selectionSets().removeEverywhere(members);
  return true;
}

bool CommandProcessor::acisin(std::string& error) {
  std::string file;
  if (!text(file) || file.empty()) {
    error = "expects a SAT file name";
    return false;
  }
  std::string native = host_.findFile(file);
  std::string content;
  if (native.empty() || !readFile(native, content)) {
    error = "SAT file \"" + file + "\" not found";
    return false;
  }
  SatFile sat;
  if (!sat.parse(content, error)) {
    error = file + ": " + error;
    return false;
  }
  // One 3DSOLID per body, as a solid is one body: each carries that body's SAT text alone (the
  // records it reaches, renumbered), a line in each group 1.
  for (int b = 0; b < sat.bodyCount(); ++b) {
    Entity solid;
    solid.type = "3DSOLID";
    solid.groups.push_back(Group::str(8, host_.variables().currentLayer()));
    solid.groups.push_back(Group::integer(70, 1));
    for (std::string& line : sat.bodyLines(b)) solid.groups.push_back(Group::str(1, std::move(line)));
    host_.database().append(std::move(solid));
  }
  return true;
}

}  // namespace kxhost
