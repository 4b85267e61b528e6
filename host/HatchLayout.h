#pragma once
// The structure of a HATCH group list: header, boundary loops with their edges and source
// links, pattern definition lines and seed points, in the order the host's lists and DXF use.
// parse() checks that counts and records agree and tells the role of every group.

#include <string>
#include <vector>

#include "host/Group.h"
#include "host/GroupRoles.h"

namespace kxhost {

class Database;

class HatchLayout {
public:
  // Parses the groups of a HATCH (type group excluded). When `db` is given every 330 group must
  // name one of its entities. False with `error` naming the first inconsistency.
  bool parse(const GroupList& groups, const Database* db, std::string& error);

  const std::vector<Role>& roles() const { return roles_; }
  std::size_t loopsStart() const { return loopsStart_; }   // index of group 91
  int loopCount() const { return loops_; }
  int sourceCount() const { return sources_; }             // 330 groups over all loops

private:
  std::vector<Role> roles_;
  std::size_t loopsStart_ = 0;
  int loops_ = 0;
  int sources_ = 0;
};

}  // namespace kxhost
