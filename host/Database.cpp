#include "host/Database.h"

#include <algorithm>

#include "host/EntityValidator.h"

namespace kxhost {

namespace {

// The second word of an entity name: the handle scrambled with a tag, so that a made-up name or
// a selection-set name is not taken for an entity.
constexpr std::uint32_t kEntityTag = 0x6B784531u;

std::int32_t checkWord(std::uint32_t handle) {
  return static_cast<std::int32_t>((handle * 0x9E3779B1u) ^ kEntityTag);
}

}  // namespace

void Database::reset() {
  model_.clear();
  blocks_.clear();
  tables_.reset();
  pending_ = Entity();
  nextHandle_ = 0x100;
  where_.clear();
  blockAt_.clear();
}

void Database::nameOf(std::uint32_t handle, std::int32_t out[2]) {
  out[0] = static_cast<std::int32_t>(handle);
  out[1] = checkWord(handle);
}

bool Database::handleOf(const std::int32_t name[2], std::uint32_t& handle) {
  if (!name) return false;
  std::uint32_t h = static_cast<std::uint32_t>(name[0]);
  if (h == 0 || name[1] != checkWord(h)) return false;
  handle = h;
  return true;
}

std::vector<Entity>* Database::containerOf(int container) {
  if (container < 0) return &model_;
  if (container >= static_cast<int>(blocks_.size())) return nullptr;
  return &blocks_[container].entities;
}

const std::vector<Entity>* Database::containerOf(int container) const {
  return const_cast<Database*>(this)->containerOf(container);
}

void Database::index(const Entity& e, int container, std::size_t position) {
  where_[e.handle] = Location{container, 0, position};
  for (std::size_t k = 0; k < e.subs.size(); ++k)
    where_[e.subs[k].handle] = Location{container, e.handle, k};
}

void Database::reindex(int container, std::size_t from) {
  const std::vector<Entity>* list = containerOf(container);
  for (std::size_t k = from; list && k < list->size(); ++k)
    where_[(*list)[k].handle].position = k;
}

Entity* Database::entity(std::uint32_t handle) {
  auto it = where_.find(handle);
  if (it == where_.end()) return nullptr;
  std::vector<Entity>* list = containerOf(it->second.container);
  if (!list) return nullptr;
  std::size_t at = it->second.position;
  if (it->second.parent) {
    auto owner = where_.find(it->second.parent);
    if (owner == where_.end()) return nullptr;
    at = owner->second.position;
  }
  if (at >= list->size()) return nullptr;
  Entity* e = &(*list)[at];
  if (it->second.parent) {
    if (e->handle != it->second.parent || it->second.position >= e->subs.size()) return nullptr;
    e = &e->subs[it->second.position];
  }
  return e->handle == handle ? e : nullptr;
}

const Entity* Database::entity(std::uint32_t handle) const {
  return const_cast<Database*>(this)->entity(handle);
}

const Entity* Database::entityByName(const std::int32_t name[2]) const {
  std::uint32_t h = 0;
  return handleOf(name, h) ? entity(h) : nullptr;
}

bool Database::inModelSpace(std::uint32_t handle) const {
  auto it = where_.find(handle);
  return it != where_.end() && it->second.container < 0 && it->second.parent == 0;
}

int Database::make(GroupList input, const std::string& currentLayer, std::string& error) {
  std::size_t start = 0;
  if (start < input.size() && input[start].code == -1) ++start;   // an entity's own name: ignored
  if (start >= input.size() || (input[start].code != 5020 && input[start].code != 0)) {
    error = "the list does not start with the entity type (RTDXF0)";
    return -5003;
  }
  std::string type = upperName(input[start].s);
  GroupList groups = std::move(input);
  groups.erase(groups.begin(), groups.begin() + static_cast<std::ptrdiff_t>(start) + 1);
  for (const Group& g : groups)
    if (g.code == 0 || g.code == 5020 || g.code == -1) {
      error = "the entity type is given twice";
      return -5003;
    }
  EntityValidator validator(*this);
  if (!validator.check(type, groups, error)) return -5003;

  bool isSub = type == "VERTEX" || type == "SEQEND";
  if (isSub && !pendingComplex()) {
    error = type + " outside a POLYLINE";
    return -5003;
  }
  if (!isSub && pendingComplex()) {
    error = type + " while a POLYLINE awaits its VERTEX entities and SEQEND";
    return -5003;
  }
  if (type == "SEQEND" && pending_.subs.size() < 2) {
    error = "a POLYLINE needs at least two VERTEX entities; the POLYLINE is discarded";
    discardPending();
    return -5003;
  }

  if (!findGroup(groups, 8)) groups.insert(groups.begin(), Group::str(8, currentLayer));
  tables_.ensureLayer(findGroup(groups, 8)->s);

  Entity e;
  e.handle = nextHandle_++;
  e.type = type;
  e.groups = std::move(groups);
  if (type == "POLYLINE") {
    pending_ = std::move(e);
  } else if (type == "VERTEX") {
    pending_.subs.push_back(std::move(e));
  } else if (type == "SEQEND") {
    pending_.subs.push_back(std::move(e));
    Entity done = std::move(pending_);
    pending_ = Entity();
    index(done, -1, model_.size());
    model_.push_back(std::move(done));
  } else {
    index(e, -1, model_.size());
    model_.push_back(std::move(e));
  }
  return 5100;
}

std::uint32_t Database::append(Entity e) {
  e.handle = nextHandle_++;
  for (Entity& s : e.subs) s.handle = nextHandle_++;
  tables_.ensureLayer(e.layer());
  index(e, -1, model_.size());
  model_.push_back(std::move(e));
  return model_.back().handle;
}

bool Database::last(std::uint32_t& handle) const {
  if (model_.empty()) return false;
  handle = model_.back().handle;
  return true;
}

bool Database::next(std::uint32_t after, std::uint32_t& handle) const {
  if (after == 0) {
    if (model_.empty()) return false;
    handle = model_.front().handle;
    return true;
  }
  auto it = where_.find(after);
  if (it == where_.end() || it->second.parent) return false;
  const std::vector<Entity>* list = containerOf(it->second.container);
  std::size_t i = it->second.position;
  if (!list || i + 1 >= list->size()) return false;
  handle = (*list)[i + 1].handle;
  return true;
}

bool Database::erase(std::uint32_t handle) {
  if (!inModelSpace(handle)) return false;
  std::size_t at = where_[handle].position;
  if (at >= model_.size() || model_[at].handle != handle) return false;
  for (const Entity& s : model_[at].subs) where_.erase(s.handle);
  where_.erase(handle);
  model_.erase(model_.begin() + static_cast<std::ptrdiff_t>(at));
  reindex(-1, at);
  return true;
}

const BlockRecord* Database::findBlock(const std::string& name) const {
  auto it = blockAt_.find(upperName(name));
  return it == blockAt_.end() ? nullptr : &blocks_[it->second];
}

bool Database::makeBlock(const std::string& name, const double base[3],
                         const std::vector<std::uint32_t>& handles, std::string& error) {
  if (!SymbolTables::validName(name)) {
    error = "\"" + name + "\" is no valid block name";
    return false;
  }
  if (findBlock(name)) {
    error = "block \"" + name + "\" exists already";
    return false;
  }
  if (handles.empty()) {
    error = "the selection set is empty";
    return false;
  }
  std::size_t first = model_.size();
  for (std::uint32_t h : handles) {
    if (!inModelSpace(h)) {
      error = "the selection set holds an entity that is not in the drawing";
      return false;
    }
    first = std::min(first, where_[h].position);
  }
  // The chosen entities marked by position, from the first of them on.
  std::vector<char> chosen(model_.size() - first, 0);
  for (std::uint32_t h : handles) chosen[where_[h].position - first] = 1;
  BlockRecord block;
  block.name = name;
  for (int k = 0; k < 3; ++k) block.base[k] = base[k];
  // Drawing order, not selection order; the entities before the first chosen one stay put.
  std::size_t kept = first;
  for (std::size_t k = first; k < model_.size(); ++k) {
    if (chosen[k - first]) {
      block.entities.push_back(std::move(model_[k]));
    } else {
      if (kept != k) model_[kept] = std::move(model_[k]);
      ++kept;
    }
  }
  model_.erase(model_.begin() + static_cast<std::ptrdiff_t>(kept), model_.end());
  reindex(-1, first);
  blocks_.push_back(std::move(block));
  blockAt_[upperName(name)] = blocks_.size() - 1;
  int container = static_cast<int>(blocks_.size()) - 1;
  const std::vector<Entity>& moved = blocks_.back().entities;
  for (std::size_t k = 0; k < moved.size(); ++k) index(moved[k], container, k);
  return true;
}

}  // namespace kxhost
