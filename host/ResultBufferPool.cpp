#include "host/ResultBufferPool.h"

#include <cstdlib>
#include <cstring>

namespace kxhost {

namespace {

char* copyString(const char* text) {
  std::size_t n = std::strlen(text);
  char* out = static_cast<char*>(std::malloc(n + 1));
  if (out) std::memcpy(out, text, n + 1);
  return out;
}

}  // namespace

ResultBufferPool::~ResultBufferPool() { releaseAll(); }

resbuf* ResultBufferPool::newNode(int type) {
  if (valueKindOf(type) == ValueKind::Invalid) return nullptr;
  resbuf* node = new resbuf;
  std::memset(node, 0, sizeof *node);
  node->restype = static_cast<short>(type);
  live_.insert(node);
  return node;
}

void ResultBufferPool::freeNode(resbuf* node) {
  if (valueKindOf(node->restype) == ValueKind::String) std::free(node->resval.rstring);
  live_.erase(node);
  delete node;
}

bool ResultBufferPool::release(resbuf* head, std::string& error) {
  // Check the whole chain first, so that a bad node releases nothing. A cycle would make the
  // walk endless: a node met twice is refused.
  std::unordered_set<resbuf*> seen;
  for (resbuf* n = head; n; n = n->rbnext) {
    if (!live_.count(n)) {
      error = "the list holds a node that the host did not allocate or that was already released";
      return false;
    }
    if (!seen.insert(n).second) {
      error = "the list runs in a cycle";
      return false;
    }
  }
  while (head) {
    resbuf* next = head->rbnext;
    freeNode(head);
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
  for (const resbuf* n = head; n; n = n->rbnext) {
    if (++count > 1000000) {
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
  for (resbuf* n : live_) {
    if (valueKindOf(n->restype) == ValueKind::String) std::free(n->resval.rstring);
    delete n;
  }
  live_.clear();
}

}  // namespace kxhost
