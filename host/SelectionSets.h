#pragma once
// Open selection sets: each an ordered list of entity handles without repeats, named to the
// plug-in by two words (an id and a check word distinct from those of entity names). Freeing a
// set twice or naming one that was never made is an error the caller reports.

#include <cstdint>
#include <map>
#include <unordered_set>
#include <vector>

namespace kxhost {

class SelectionSets {
public:
  void reset() { sets_.clear(); }

  // A new empty set; returns its id.
  std::uint32_t create();
  static void nameOf(std::uint32_t id, std::int32_t out[2]);
  // The id of an open set; false for a malformed, freed or unknown name.
  bool idOf(const std::int32_t name[2], std::uint32_t& id) const;

  void add(std::uint32_t id, std::uint32_t handle);   // a member already in the set stays once
  bool free(std::uint32_t id);
  const std::vector<std::uint32_t>* members(std::uint32_t id) const;

  // Drops an entity from every set (it left the drawing).
  void removeEverywhere(std::uint32_t handle);
  // Drops these entities from every set; the other members keep their order.
  void removeEverywhere(const std::vector<std::uint32_t>& handles);

  std::vector<std::uint32_t> openIds() const;

private:
  struct Set {
    std::vector<std::uint32_t> order;        // the members in the order they were added
    // While every member came with a higher handle than the ones before (the usual case: a
    // plug-in collects entities as it makes them), `order` is sorted and answers membership
    // tests itself. The first member out of order builds `has`, which then holds the same
    // members as `order`.
    bool ascending = true;
    std::unordered_set<std::uint32_t> has;
  };
  std::map<std::uint32_t, Set> sets_;
  std::uint32_t nextId_ = 1;
};

}  // namespace kxhost
