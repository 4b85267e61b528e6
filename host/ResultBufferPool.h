#pragma once
// The host's result buffers: every resbuf node handed to a plug-in is allocated here and tracked,
// so that releasing a foreign or already released node is refused instead of corrupting memory,
// and nodes a command never released can be counted. Converts lists to and from group lists.
// Strings inside nodes come from malloc and are freed with free().
//
// Nodes live in slots of blocks the pool owns; a slot carries its node's state beside it. A
// pointer is the pool's own when it is the start of a slot of one of the blocks (found by address,
// never by reading memory around a foreign pointer), and live when that slot's state says so.
// Released slots are reused; under the address sanitizer they are poisoned and never reused, so
// that a plug-in touching a released node is still caught.

#include <cstdarg>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

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
  std::size_t liveCount() const { return live_; }

  // Frees every live node (the host's end of life; plug-in pointers become invalid).
  void releaseAll();

private:
  enum class State : std::uint32_t { Free, Live, Checked };
  struct Slot {
    resbuf node;       // first, so that a node's address is its slot's
    State state;
    Slot* nextFree;    // free-list link while the slot is free
  };
  struct Block {
    std::uintptr_t begin = 0;   // address of the first slot
    std::size_t count = 0;      // slots in the block
    std::unique_ptr<Slot[]> slots;
  };

  // The slot whose node starts at `node`, when it is one of the pool's; null otherwise.
  Slot* slotOf(const resbuf* node) const;
  void addBlock();
  void freeNode(Slot* slot);

  std::vector<Block> blocks_;   // sorted by address
  Slot* free_ = nullptr;
  std::size_t live_ = 0;
  std::size_t capacity_ = 0;    // slots in all blocks
};

}  // namespace kxhost
