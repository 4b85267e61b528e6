#pragma once
// Checks an entity list the way a careful host does before anything is made: a known type, the
// type's required groups and no foreign ones, finite geometry, positive radii and heights, a
// sound ellipse, loaded line types, colours 0..256, an existing block for an INSERT, a HATCH
// whose counts and records agree and whose 330 links name entities.

#include <string>

#include "host/Group.h"

namespace kxhost {

class Database;

class EntityValidator {
public:
  explicit EntityValidator(const Database& db) : db_(db) {}

  static bool knownType(const std::string& upperType);

  // `groups` excludes the type group. False with `error` for the first fault found.
  bool check(const std::string& upperType, const GroupList& groups, std::string& error) const;

private:
  const Database& db_;
};

}  // namespace kxhost
