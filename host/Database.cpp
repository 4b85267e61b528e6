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
  nextHandle_ = kFirstHandle;
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

const Database::Location* Database::locate(std::uint32_t handle) const {
  if (handle < kFirstHandle) return nullptr;
  std::size_t k = handle - kFirstHandle;
  if (k >= where_.size() || where_[k].container == kNowhere) return nullptr;
  return &where_[k];
}

Database::Location* Database::locate(std::uint32_t handle) {
  return const_cast<Location*>(static_cast<const Database*>(this)->locate(handle));
}

void Database::place(std::uint32_t handle, const Location& where) {
  std::size_t k = handle - kFirstHandle;   // every handle given out is at least kFirstHandle
  if (k >= where_.size()) where_.resize(k + 1);
  where_[k] = where;
}

void Database::forget(std::uint32_t handle) {
  if (Location* at = locate(handle)) *at = Location();
}

void Database::index(const Entity& e, int container, std::size_t position) {
  place(e.handle, Location{container, 0, position});
  for (std::size_t k = 0; k < e.subs.size(); ++k)
    place(e.subs[k].handle, Location{container, e.handle, k});
}

void Database::reindex(int container, std::size_t from) {
  const std::vector<Entity>* list = containerOf(container);
  for (std::size_t k = from; list && k < list->size(); ++k)
    locate((*list)[k].handle)->position = k;
}

Entity* Database::entity(std::uint32_t handle) {
  const Location* where = locate(handle);
  if (!where) return nullptr;
  std::vector<Entity>* list = containerOf(where->container);
  if (!list) return nullptr;
  std::size_t at = where->position;
  if (where->parent) {
    const Location* owner = locate(where->parent);
    if (!owner) return nullptr;
    at = owner->position;
  }
  if (at >= list->size()) return nullptr;
  Entity* e = &(*list)[at];
  if (where->parent) {
    if (e->handle != where->parent || where->position >= e->subs.size()) return nullptr;
    e = &e->subs[where->position];
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
  const Location* where = locate(handle);
  return where && where->container == -1 && where->parent == 0;
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

  const bool isPolyline = type == "POLYLINE";
  const bool isVertex = type == "VERTEX";
  const bool isSeqend = type == "SEQEND";
  const bool isSub = isVertex || isSeqend;
  if (isSub && !pendingComplex()) {
    error = type + " outside a POLYLINE";
    return -5003;
  }
  if (!isSub && pendingComplex()) {
    error = type + " while a POLYLINE awaits its VERTEX entities and SEQEND";
    return -5003;
  }
  if (isSeqend && pending_.subs.size() < 2) {
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
  if (isPolyline) {
    pending_ = std::move(e);
  } else if (isVertex) {
    pending_.subs.push_back(std::move(e));
  } else if (isSeqend) {
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
  const Location* where = locate(after);
  if (!where || where->parent) return false;
  const std::vector<Entity>* list = containerOf(where->container);
  std::size_t i = where->position;
  if (!list || i + 1 >= list->size()) return false;
  handle = (*list)[i + 1].handle;
  return true;
}

bool Database::erase(std::uint32_t handle) {
  if (!inModelSpace(handle)) return false;
  std::size_t at = locate(handle)->position;
  if (at >= model_.size() || model_[at].handle != handle) return false;
  for (const Entity& s : model_[at].subs) forget(s.handle);
  forget(handle);
  model_.erase(model_.begin() + static_cast<std::ptrdiff_t>(at));
  reindex(-1, at);
  return true;
}

const BlockRecord* Database::findBlock(const std::string& name) const {
  const std::size_t k = blockPosition(name);
  return k == NameIndex::npos ? nullptr : &blocks_[k];
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
    first = std::min(first, locate(h)->position);
  }
  // The chosen entities marked by position, from the first of them on.
  std::vector<char> chosen(model_.size() - first, 0);
  for (std::uint32_t h : handles) chosen[locate(h)->position - first] = 1;
  BlockRecord block;
  block.name = name;
  block.entities.reserve(handles.size());
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
  blockAt_.add(name, blocks_.size());
  blocks_.push_back(std::move(block));
  int container = static_cast<int>(blocks_.size()) - 1;
  const std::vector<Entity>& moved = blocks_.back().entities;
  for (std::size_t k = 0; k < moved.size(); ++k) index(moved[k], container, k);
  return true;
}

}  // namespace kxhost
