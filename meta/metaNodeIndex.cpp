#include "meta/metaNodeIndex.h"

#include <cstdint>

#include "meta/metaTree.h"

namespace {

template <class T>
T& element(pagedArrayC<T>& array, std::int64_t i) {
  return *array.element(static_cast<std::size_t>(i));
}

template <class T>
const T& element(const pagedArrayC<T>& array, std::int64_t i) {
  return *array.element(static_cast<std::size_t>(i));
}

// Shell sort of `order` (indexes) by key(index): gaps 1, 4, 13, 40 ... up to count / 9, each
// gap an insertion sort that moves an element down while the one h places before it is
// strictly greater.
template <class Key>
void shellSort(pagedArrayC<std::uint32_t>& order, Key key) {
  const std::int64_t count = static_cast<std::int64_t>(order.size());
  std::int64_t h = 1;
  while (h < count / 9) h = 3 * h + 1;
  for (; h > 0; h /= 3) {
    for (std::int64_t i = h; i < count; ++i) {
      const std::uint32_t moving = element(order, i);
      const auto movingKey = key(moving);
      std::int64_t j = i;
      while (j >= h && key(element(order, j - h)) > movingKey) {
        element(order, j) = element(order, j - h);
        j -= h;
      }
      element(order, j) = moving;
    }
  }
}

// Binary search over [0, count): the position of an equal element, or the last one probed
// when the range shrinks to one element; -1 when empty.
template <class Key, class Value>
std::int64_t probe(const pagedArrayC<std::uint32_t>& order, Key key, Value sought) {
  std::int64_t lo = 0;
  std::int64_t hi = static_cast<std::int64_t>(order.size());
  if (hi == 0) return -1;
  for (;;) {
    if (hi - lo <= 1) return lo;
    const std::int64_t mid = lo + (hi - lo) / 2;
    const auto value = key(element(order, mid));
    if (value == sought) return mid;
    if (value < sought) {
      lo = mid + 1;
      if (lo >= hi) return hi - 1;
    } else {
      hi = mid;
    }
  }
}

}  // namespace

metaNodeIndexC::metaNodeIndexC() : nodes_(3), ordinals_(3), marks_(3), markOf_(3) {}

metaNodeIndexC::~metaNodeIndexC() = default;

void metaNodeIndexC::setRoot(metaTreeC* node) {
  root_ = node;
  stamp_ = -1;
  nodes_.reset();
  ordinals_.reset();
  marks_.reset();
  markOf_.reset();
}

void metaNodeIndexC::rebuild(int force) {
  if (!root_) return;
  if (!force && stamp_ != -1) return;
  if (stamp_ == static_cast<std::int64_t>(metaTreeC::generation())) return;

  // Pre-order through the links, without recursion; the walk stays within the root's chain.
  nodes_.reset();
  metaTreeC* node = root_;
  int level = 0;
  while (node) {
    nodes_.append(node);
    if (node->firstChild()) {
      node = node->firstChild();
      ++level;
      continue;
    }
    while (node && !node->nextSibling()) {
      if (level == 0) {
        node = nullptr;
        break;
      }
      node = node->parent();
      --level;
    }
    if (node) node = node->nextSibling();
  }

  const std::int64_t count = static_cast<std::int64_t>(nodes_.size());
  ordinals_.reset();
  marks_.reset();
  markOf_.reset();
  for (std::int64_t i = 0; i < count; ++i) {
    const std::int64_t mark = element(nodes_, i)->copyMark();
    markOf_.append(mark);
    ordinals_.append(static_cast<std::uint32_t>(i));
    if (mark != 0) marks_.append(static_cast<std::uint32_t>(i));
  }
  shellSort(ordinals_, [this](std::uint32_t i) {
    return reinterpret_cast<std::uintptr_t>(element(nodes_, i));
  });
  shellSort(marks_, [this](std::uint32_t i) { return element(markOf_, i); });
  stamp_ = static_cast<std::int64_t>(metaTreeC::generation());
}

std::int64_t metaNodeIndexC::searchByAddress(const metaTreeC* node) const {
  return probe(ordinals_,
               [this](std::uint32_t i) {
                 return reinterpret_cast<std::uintptr_t>(element(nodes_, i));
               },
               reinterpret_cast<std::uintptr_t>(node));
}

std::int64_t metaNodeIndexC::searchByMark(std::int64_t mark) const {
  return probe(marks_, [this](std::uint32_t i) { return element(markOf_, i); }, mark);
}

metaTreeC* metaNodeIndexC::nodeByOrdinal(std::int64_t ordinal, int force) {
  rebuild(force);
  if (ordinal <= 0 || ordinal > static_cast<std::int64_t>(nodes_.size())) return nullptr;
  return element(nodes_, ordinal - 1);
}

std::int64_t metaNodeIndexC::ordinalOfNode(const metaTreeC* node, int force) {
  rebuild(force);
  if (!node) return 0;
  const std::int64_t at = searchByAddress(node);
  if (at < 0) return 0;
  const std::uint32_t i = element(ordinals_, at);
  return element(nodes_, i) == node ? static_cast<std::int64_t>(i) + 1 : 0;
}

metaTreeC* metaNodeIndexC::nodeByMark(std::int64_t mark, int force) {
  rebuild(force);
  if (mark == 0) return nullptr;
  const std::int64_t at = searchByMark(mark);
  if (at < 0) return nullptr;
  const std::uint32_t i = element(marks_, at);
  return element(markOf_, i) == mark ? element(nodes_, i) : nullptr;
}
