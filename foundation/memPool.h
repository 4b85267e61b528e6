#pragma once
// The pool behind the memory manager: requests below memPoolSmallLimit bytes are served from
// free lists of 32 size classes carved out of memPoolBlockSize-byte blocks, larger ones from the C
// heap. All pooled memory goes back to the C heap when the last pooled chunk is freed. Every
// function runs inside one process-wide lock; the pool owns its blocks, callers own their chunks.

#include <cstddef>

// Number of size classes; class i holds i * i + 8 user bytes (8, 9, 12, 17 ... 908, 969).
inline constexpr int memPoolClassCount = 32;
// Requests of this many bytes or more are served from the C heap.
inline constexpr std::size_t memPoolSmallLimit = 969;
// Bytes of one pool block, link included.
inline constexpr std::size_t memPoolBlockSize = 102400;
// Class byte of a chunk served from the C heap.
inline constexpr int memPoolHeapClass = 255;
// Bytes in front of the user bytes of every chunk. User bytes are aligned to 8 bytes: enough for
// pointers, doubles and 64-bit integers, the widest members of the objects the pool serves.
inline constexpr std::size_t memPoolHeaderSize = 8;
static_assert(memPoolHeaderSize % alignof(void*) == 0 && memPoolHeaderSize % alignof(double) == 0 &&
                  memPoolHeaderSize % alignof(long long) == 0,
              "user bytes hold pointers, doubles and 64-bit integers");

// Builds the tables when they are not built (the first allocation does this itself).
void memPoolInit();

// n user bytes aligned to memPoolHeaderSize, or null when the C heap has no memory (or n is too large
// to add the header to). A request of 0 bytes gets a chunk of class 0.
void* memPoolAlloc(std::size_t n);

// Gives a chunk back: 1 when it was released, 0 when the pointer was rejected (null, not a live
// chunk of this pool, or a pooled chunk freed twice). A rejected pointer changes nothing.
int memPoolFree(void* p);

// realloc with the pool's rules: null p allocates; a pooled chunk whose class holds n bytes is
// returned as it is; else the chunk moves, keeping min(n, old capacity) bytes. Returns null and
// leaves p untouched when no memory is to be had or p is not a live chunk.
void* memPoolRealloc(void* p, std::size_t n);

// Holds the pool's lock for its lifetime, so that a long run of allocations and frees by one
// thread takes it once: the pool functions that thread calls meanwhile run inside the lock it
// holds and do not enter it again. Holds nest. Other threads' pool calls wait while it is held,
// so hold it only around work that waits for nothing else; release() and take() let it go and
// take it back in between (around reading input, say). Used by one thread.
class memPoolHoldC {
public:
  memPoolHoldC();
  ~memPoolHoldC();
  void release();  // no effect when not held
  void take();     // no effect when held
  memPoolHoldC(const memPoolHoldC&) = delete;
  memPoolHoldC& operator=(const memPoolHoldC&) = delete;

private:
  bool held_ = false;
};

// Inspection, for tests and benchmarks; each takes the lock.
// Class byte of a live chunk: 0..31 pooled, memPoolHeapClass from the C heap, -1 when p is null
// or not a live chunk of this pool.
int memPoolChunkClass(const void* p);
// User bytes of class c (0..31); 0 for any other c.
std::size_t memPoolClassSize(int c);
// Smallest class whose size is at least n, for n below memPoolSmallLimit; -1 otherwise.
int memPoolClassFor(std::size_t n);
// Live pooled chunks (heap chunks are not counted).
long memPoolLiveCount();
// Blocks held.
std::size_t memPoolBlockCount();
// Whether the tables exist (built on the first allocation, released with the last free).
bool memPoolTablesBuilt();
