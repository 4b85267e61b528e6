#include "host/SelectionSets.h"

#include <algorithm>

namespace kxhost {

namespace {
constexpr std::uint32_t kSetTag = 0x53534B58u;
std::int32_t checkWord(std::uint32_t id) {
  return static_cast<std::int32_t>((id * 0x85EBCA6Bu) ^ kSetTag);
}
}  // namespace

std::uint32_t SelectionSets::create() {
  std::uint32_t id = nextId_++;
  sets_[id];
  return id;
}

void SelectionSets::nameOf(std::uint32_t id, std::int32_t out[2]) {
  out[0] = static_cast<std::int32_t>(id);
  out[1] = checkWord(id);
}

bool SelectionSets::idOf(const std::int32_t name[2], std::uint32_t& id) const {
  if (!name) return false;
  std::uint32_t candidate = static_cast<std::uint32_t>(name[0]);
  if (name[1] != checkWord(candidate) || !sets_.count(candidate)) return false;
  id = candidate;
  return true;
}

void SelectionSets::add(std::uint32_t id, std::uint32_t handle) {
  auto it = sets_.find(id);
  if (it == sets_.end()) return;
  if (it->second.has.insert(handle).second) it->second.order.push_back(handle);
}

bool SelectionSets::free(std::uint32_t id) { return sets_.erase(id) == 1; }

const std::vector<std::uint32_t>* SelectionSets::members(std::uint32_t id) const {
  auto it = sets_.find(id);
  return it == sets_.end() ? nullptr : &it->second.order;
}

void SelectionSets::removeEverywhere(std::uint32_t handle) {
  for (auto& [id, set] : sets_)
    if (set.has.erase(handle))
      set.order.erase(std::find(set.order.begin(), set.order.end(), handle));
}

void SelectionSets::removeEverywhere(const std::vector<std::uint32_t>& handles) {
  if (handles.empty()) return;
  const std::unordered_set<std::uint32_t> gone(handles.begin(), handles.end());
  for (auto& [id, set] : sets_) {
    std::size_t before = set.has.size();
    for (std::uint32_t h : handles) set.has.erase(h);
    if (set.has.size() == before) continue;
    set.order.erase(std::remove_if(set.order.begin(), set.order.end(),
                                   [&](std::uint32_t h) { return gone.count(h) != 0; }),
                    set.order.end());
  }
}

std::vector<std::uint32_t> SelectionSets::openIds() const {
  std::vector<std::uint32_t> ids;
  for (const auto& [id, set] : sets_) ids.push_back(id);
  return ids;
}

}  // namespace kxhost
