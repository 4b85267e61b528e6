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
  Set& set = it->second;
  if (set.ascending) {
    if (set.order.empty() || handle > set.order.back()) {
      set.order.push_back(handle);
      return;
    }
    if (std::binary_search(set.order.begin(), set.order.end(), handle)) return;
    set.has.insert(set.order.begin(), set.order.end());
    set.ascending = false;
  }
  if (set.has.insert(handle).second) set.order.push_back(handle);
}

bool SelectionSets::free(std::uint32_t id) { return sets_.erase(id) == 1; }

const std::vector<std::uint32_t>* SelectionSets::members(std::uint32_t id) const {
  auto it = sets_.find(id);
  return it == sets_.end() ? nullptr : &it->second.order;
}

void SelectionSets::removeEverywhere(std::uint32_t handle) {
  for (auto& [id, set] : sets_) {
    if (set.ascending) {
      auto at = std::lower_bound(set.order.begin(), set.order.end(), handle);
      if (at != set.order.end() && *at == handle) set.order.erase(at);
    } else if (set.has.erase(handle)) {
      set.order.erase(std::find(set.order.begin(), set.order.end(), handle));
    }
  }
}

void SelectionSets::removeEverywhere(const std::vector<std::uint32_t>& handles) {
  if (handles.empty()) return;
  std::vector<std::uint32_t> gone = handles;
  if (!std::is_sorted(gone.begin(), gone.end())) std::sort(gone.begin(), gone.end());
  for (auto& [id, set] : sets_) {
    std::vector<std::uint32_t>& order = set.order;
    std::vector<std::uint32_t>::iterator kept;
    if (set.ascending) {
      // Both sorted: one walk through each, from the first member that can be among them (a set
      // that only holds older entities, as the plug-in's set of the blocks made so far, is not
      // walked at all).
      auto g = gone.begin();
      kept = std::remove_if(std::lower_bound(order.begin(), order.end(), gone.front()),
                            order.end(), [&](std::uint32_t h) {
        while (g != gone.end() && *g < h) ++g;
        return g != gone.end() && *g == h;
      });
    } else {
      kept = std::remove_if(order.begin(), order.end(), [&](std::uint32_t h) {
        return std::binary_search(gone.begin(), gone.end(), h);
      });
    }
    if (kept == order.end()) continue;
    order.erase(kept, order.end());
    if (set.ascending) continue;
    if (order.empty()) {
      set.has.clear();
    } else {
      for (std::uint32_t h : gone) set.has.erase(h);
    }
  }
}

std::vector<std::uint32_t> SelectionSets::openIds() const {
  std::vector<std::uint32_t> ids;
  for (const auto& [id, set] : sets_) ids.push_back(id);
  return ids;
}

}  // namespace kxhost
