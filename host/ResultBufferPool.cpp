#include "host/ResultBufferPool.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#if defined(__SANITIZE_ADDRESS__)
#define KX_POOL_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KX_POOL_ASAN 1
#endif
#endif

#if defined(KX_POOL_ASAN)
#include <sanitizer/asan_interface.h>
#define KX_POISON(p, n) ASAN_POISON_MEMORY_REGION((p), (n))
#define KX_UNPOISON(p, n) ASAN_UNPOISON_MEMORY_REGION((p), (n))
#else
#define KX_POISON(p, n) ((void)(p), (void)(n))
#define KX_UNPOISON(p, n) ((void)(p), (void)(n))
#endif

namespace kxhost {

namespace {

char* copyString(const char* text) {
  std::size_t n = std::strlen(text);
  char* out = static_cast<char*>(std::malloc(n + 1));
  if (out) std::memcpy(out, text, n + 1);
  return out;
}

// Blocks grow with the pool, so that a drawing of any size needs few of them.
constexpr std::size_t kFirstBlock = 256;
constexpr std::size_t kLargestBlock = std::size_t(1) << 16;

// A list longer than this is taken for an endless one.
constexpr std::size_t kLongestList = 1000000;

}  // namespace

ResultBufferPool::~ResultBufferPool() { releaseAll(); }

void ResultBufferPool::addBlock() {
  std::size_t count = capacity_ < kFirstBlock ? kFirstBlock : std::min(capacity_, kLargestBlock);
  Block b;
  b.slots.reset(new Slot[count]);
  b.count = count;
  b.begin = reinterpret_cast<std::uintptr_t>(b.slots.get());
  for (std::size_t k = 0; k < count; ++k) {
    Slot& s = b.slots[k];
    s.state = State::Free;
    s.nextFree = k + 1 < count ? &b.slots[k + 1] : free_;
    KX_POISON(&s.node, sizeof s.node);
  }
  free_ = &b.slots[0];
  capacity_ += count;
  auto at = std::upper_bound(blocks_.begin(), blocks_.end(), b.begin,
                             [](std::uintptr_t a, const Block& x) { return a < x.begin; });
  blocks_.insert(at, std::move(b));
}

ResultBufferPool::Slot* ResultBufferPool::slotOf(const resbuf* node) const {
  std::uintptr_t a = reinterpret_cast<std::uintptr_t>(node);
  auto it = std::upper_bound(blocks_.begin(), blocks_.end(), a,
                             [](std::uintptr_t v, const Block& x) { return v < x.begin; });
  if (it == blocks_.begin()) return nullptr;
  --it;
  std::uintptr_t offset = a - it->begin;
  if (offset >= it->count * sizeof(Slot) || offset % sizeof(Slot) != 0) return nullptr;
  return &it->slots[offset / sizeof(Slot)];
}

resbuf* ResultBufferPool::newNode(int type) {
  if (valueKindOf(type) == ValueKind::Invalid) return nullptr;
  if (!free_) addBlock();
  Slot* s = free_;
  free_ = s->nextFree;
  s->nextFree = nullptr;
  s->state = State::Live;
  ++live_;
  KX_UNPOISON(&s->node, sizeof s->node);
  std::memset(&s->node, 0, sizeof s->node);
  s->node.restype = static_cast<short>(type);
  return &s->node;
}

void ResultBufferPool::freeNode(Slot* s) {
  if (valueKindOf(s->node.restype) == ValueKind::String) std::free(s->node.resval.rstring);
  KX_POISON(&s->node, sizeof s->node);
  s->state = State::Free;
#if !defined(KX_POOL_ASAN)
  // Under the address sanitizer a released slot is never handed out again, so that a stale
  // pointer keeps meeting a poisoned node, as it would meet freed memory.
  s->nextFree = free_;
  free_ = s;
#endif
  --live_;
}

bool ResultBufferPool::release(resbuf* head, std::string& error) {
  // Check the whole chain first, so that a bad node releases nothing. A cycle would make the
  // walk endless: the walk marks each node it passes, and a node met marked is refused. The
  // marks are taken back when the chain is refused.
  const char* why = nullptr;
  for (resbuf* n = head; n; n = n->rbnext) {
    Slot* s = slotOf(n);
    if (!s || s->state == State::Free) {
      why = "the list holds a node that the host did not allocate or that was already released";
      break;
    }
    if (s->state == State::Checked) {
      why = "the list runs in a cycle";
      break;
    }
    s->state = State::Checked;
  }
  if (why) {
    for (resbuf* n = head; n; n = n->rbnext) {
      Slot* s = slotOf(n);
      if (!s || s->state != State::Checked) break;
      s->state = State::Live;
    }
    error = why;
    return false;
  }
  while (head) {
    resbuf* next = head->rbnext;
    freeNode(reinterpret_cast<Slot*>(head));
    head = next;
  }
  return true;
}

resbuf* ResultBufferPool::build(int type, va_list values, std::string& error) {
  resbuf* head = nullptr;
  resbuf* tail = nullptr;
  auto fail = [&](std::string why) -> resbuf* {
    error = std::move(why);
    std::string ignored;
    release(head, ignored);
    return nullptr;
  };
  for (; type != 0; type = va_arg(values, int)) {
    ValueKind kind = valueKindOf(type);
    if (kind == ValueKind::Invalid) return fail("unknown type code " + std::to_string(type));
    resbuf* node = newNode(type);
    if (tail)
      tail->rbnext = node;
    else
      head = node;
    tail = node;
    switch (kind) {
      case ValueKind::String: {
        const char* s = va_arg(values, const char*);
        if (!s) return fail("null string for code " + std::to_string(type));
        node->resval.rstring = copyString(s);
        break;
      }
      case ValueKind::Point: {
        const double* p = va_arg(values, const double*);
        if (!p) return fail("null point for code " + std::to_string(type));
        std::memcpy(node->resval.rpoint, p, sizeof node->resval.rpoint);
        break;
      }
      case ValueKind::Real: node->resval.rreal = va_arg(values, double); break;
      case ValueKind::Short: node->resval.rint = static_cast<short>(va_arg(values, int)); break;
      case ValueKind::Long: node->resval.rlong = static_cast<std::int32_t>(va_arg(values, int)); break;
      case ValueKind::Name: {
        const std::int32_t* w = va_arg(values, const std::int32_t*);
        if (!w) return fail("null name for code " + std::to_string(type));
        node->resval.rlname[0] = w[0];
        node->resval.rlname[1] = w[1];
        break;
      }
      case ValueKind::None:
      case ValueKind::Invalid: break;
    }
  }
  return head;
}

bool ResultBufferPool::toGroups(const resbuf* head, GroupList& out, std::string& error) {
  out.clear();
  std::size_t count = 0;
  for (const resbuf* n = head; n && count <= kLongestList; n = n->rbnext) ++count;
  out.reserve(std::min(count, kLongestList));
  count = 0;
  for (const resbuf* n = head; n; n = n->rbnext) {
    if (++count > kLongestList) {
      error = "the list is endless";
      return false;
    }
    Group g;
    g.code = n->restype;
    g.kind = valueKindOf(n->restype);
    switch (g.kind) {
      case ValueKind::Invalid:
        error = "unknown type code " + std::to_string(n->restype);
        return false;
      case ValueKind::String:
        if (!n->resval.rstring) {
          error = "null string in group " + std::to_string(n->restype);
          return false;
        }
        g.s = n->resval.rstring;
        break;
      case ValueKind::Point: std::memcpy(g.v, n->resval.rpoint, sizeof g.v); break;
      case ValueKind::Real: g.v[0] = n->resval.rreal; break;
      case ValueKind::Short: g.i = n->resval.rint; break;
      case ValueKind::Long: g.i = n->resval.rlong; break;
      case ValueKind::Name:
        g.name[0] = n->resval.rlname[0];
        g.name[1] = n->resval.rlname[1];
        break;
      case ValueKind::None: break;
    }
    out.push_back(std::move(g));
  }
  return true;
}

resbuf* ResultBufferPool::fromGroups(const GroupList& groups) {
  resbuf* head = nullptr;
  resbuf* tail = nullptr;
  for (const Group& g : groups) {
    resbuf* node = newNode(g.code);
    if (!node) continue;
    if (tail)
      tail->rbnext = node;
    else
      head = node;
    tail = node;
    switch (valueKindOf(g.code)) {
      case ValueKind::String: node->resval.rstring = copyString(g.s.c_str()); break;
      case ValueKind::Point: std::memcpy(node->resval.rpoint, g.v, sizeof g.v); break;
      case ValueKind::Real: node->resval.rreal = g.v[0]; break;
      case ValueKind::Short: node->resval.rint = static_cast<short>(g.i); break;
      case ValueKind::Long: node->resval.rlong = g.i; break;
      case ValueKind::Name:
        node->resval.rlname[0] = g.name[0];
        node->resval.rlname[1] = g.name[1];
        break;
      default: break;
    }
  }
  return head;
}

void ResultBufferPool::releaseAll() {
  for (Block& b : blocks_)
    for (std::size_t k = 0; k < b.count; ++k) {
      Slot& s = b.slots[k];
      if (s.state != State::Free && valueKindOf(s.node.restype) == ValueKind::String)
        std::free(s.node.resval.rstring);
      KX_UNPOISON(&s.node, sizeof s.node);
    }
  blocks_.clear();
  free_ = nullptr;
  live_ = 0;
  capacity_ = 0;
}

}  // namespace kxhost
