#pragma once
// The host's result buffers: every resbuf node handed to a plug-in is allocated here and tracked,
// so that releasing a foreign or already released node is refused instead of corrupting memory,
// and nodes a command never released can be counted. Converts lists to and from group lists.
// Strings inside nodes come from malloc and are freed with free().

#include <cstdarg>
#include <string>
#include <unordered_set>

#include "host/Group.h"
#include "host/api.h"

namespace kxhost {

class ResultBufferPool {
public:
  ResultBufferPool() = default;
  ~ResultBufferPool();
  ResultBufferPool(const ResultBufferPool&) = delete;
  ResultBufferPool& operator=(const ResultBufferPool&) = delete;

  // A fresh node of the type, value zeroed; null for a type code of unknown kind.
  resbuf* newNode(int type);

  // Releases a chain. Every node must have come from this pool and be live; otherwise nothing
  // is released, false is returned and `error` says why.
  bool release(resbuf* head, std::string& error);

  // Builds a chain from (code, value) pairs ended by code 0, as acutBuildList reads them.
  // Null with `error` set for an unknown code or a null string or point argument.
  resbuf* build(int firstType, va_list values, std::string& error);

  // Converts a chain to groups; false with `error` on a node of unknown kind or a null string.
  static bool toGroups(const resbuf* head, GroupList& out, std::string& error);

  // A fresh tracked chain holding the groups; null for an empty list.
  resbuf* fromGroups(const GroupList& groups);

  // Nodes allocated and not yet released.
  std::size_t liveCount() const { return live_.size(); }

  // Frees every live node (the host's end of life; plug-in pointers become invalid).
  void releaseAll();

private:
  void freeNode(resbuf* node);

  std::unordered_set<resbuf*> live_;
};

}  // namespace kxhost
