#include "host/SystemVariables.h"

#include <cctype>
#include <cstdlib>

namespace kxhost {

namespace {

std::string upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace

SystemVariables::SystemVariables() { reset(); }

void SystemVariables::reset() {
  vars_.clear();
  vars_["CMDECHO"] = Group::integer(5003, 1);
  vars_["MEASUREMENT"] = Group::integer(5010, 1);
  vars_["CLAYER"] = Group::str(5005, "0");
  vars_["ACADVER"] = Group::str(5005, "15.0");
}

const Group* SystemVariables::find(const std::string& name) const {
  auto it = vars_.find(upper(name));
  return it == vars_.end() ? nullptr : &it->second;
}

bool SystemVariables::set(const std::string& name, const Group& value, std::string& error) {
  std::string key = upper(name);
  auto it = vars_.find(key);
  if (it == vars_.end()) {
    error = "unknown system variable " + name;
    return false;
  }
  if (key == "ACADVER") {
    error = "ACADVER is read only";
    return false;
  }
  Group& cur = it->second;
  bool integral = value.kind == ValueKind::Short || value.kind == ValueKind::Long;
  if ((cur.kind == ValueKind::Short || cur.kind == ValueKind::Long) && !integral) {
    error = name + " takes an integer";
    return false;
  }
  if (cur.kind == ValueKind::String && value.kind != ValueKind::String) {
    error = name + " takes a text";
    return false;
  }
  if ((key == "CMDECHO" || key == "MEASUREMENT") && value.i != 0 && value.i != 1) {
    error = name + " takes 0 or 1";
    return false;
  }
  if (key == "CLAYER" && value.s.empty()) {
    error = "CLAYER takes a layer name";
    return false;
  }
  if (integral)
    cur.i = value.i;
  else
    cur.s = value.s;
  return true;
}

bool SystemVariables::setFromText(const std::string& name, const std::string& text,
                                  std::string& error) {
  const Group* cur = find(name);
  if (!cur) {
    error = "unknown system variable " + name;
    return false;
  }
  if (cur->kind == ValueKind::String) return set(name, Group::str(5005, text), error);
  char* end = nullptr;
  long v = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0') {
    error = name + " takes an integer, not '" + text + "'";
    return false;
  }
  return set(name, Group::integer(5010, static_cast<std::int32_t>(v)), error);
}

int SystemVariables::cmdecho() const { return find("CMDECHO")->i; }
int SystemVariables::measurement() const { return find("MEASUREMENT")->i; }
const std::string& SystemVariables::currentLayer() const {
  static const std::string key = "CLAYER";   // always present (reset makes it)
  return vars_.find(key)->second.s;
}
void SystemVariables::setAcadVer(const std::string& text) { vars_["ACADVER"].s = text; }

}  // namespace kxhost
