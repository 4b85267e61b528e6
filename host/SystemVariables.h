#pragma once
// The host's system variables by name (compared ignoring case), each with a fixed value kind:
// CMDECHO (short 0/1), MEASUREMENT (long: 0 imperial, 1 metric), CLAYER (string, the layer new
// entities land on when their list names none), ACADVER (string, read only).

#include <map>
#include <string>

#include "host/Group.h"

namespace kxhost {

class SystemVariables {
public:
  SystemVariables();

  // Restores every variable to its start value.
  void reset();

  // The variable's value; null for an unknown name.
  const Group* find(const std::string& name) const;

  // Sets a variable from a typed value of its own kind (a short for a long variable is taken).
  // False with `error` for an unknown or read-only name, a wrong kind or a value out of range.
  bool set(const std::string& name, const Group& value, std::string& error);

  // Sets a variable from script text ("1", "A-LAYER").
  bool setFromText(const std::string& name, const std::string& text, std::string& error);

  int cmdecho() const;
  int measurement() const;
  const std::string& currentLayer() const;   // valid until the variables change
  void setAcadVer(const std::string& text);

  const std::map<std::string, Group>& all() const { return vars_; }

private:
  std::map<std::string, Group> vars_;
};

}  // namespace kxhost
