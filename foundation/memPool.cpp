// The pool's tables live in one module-level state guarded by one process-wide lock (never
// destroyed, so frees during static destruction still work). Chunk header: byte 0 the class
// (memPoolHeapClass for a heap chunk), byte 1 the chunk's state, bytes 2-3 a mark that tells our
// chunks from foreign pointers; bytes 4-7 are spare, so that the user bytes start 8-aligned.

#include "foundation/memPool.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/Lock.h"

namespace {

constexpr unsigned char stateLive = 0xA5;     // pooled chunk handed out
constexpr unsigned char stateFree = 0x5A;     // pooled chunk on a free list
constexpr unsigned char stateHeap = 0xC3;     // heap chunk handed out
constexpr unsigned char stateHeapGone = 0x3C; // heap chunk given back (best effort only)
constexpr unsigned char mark0 = 0x4B;
constexpr unsigned char mark1 = 0x58;
constexpr std::size_t H = memPoolHeaderSize;

static_assert(H >= 4 && H % alignof(void*) == 0, "header holds the class, state and mark bytes");
static_assert(memPoolBlockSize > sizeof(void*) + 2 * H + 31 * 31 + 8, "a block holds a chunk");

struct PoolState {
  bool built = false;
  long live = 0;
  std::size_t blockCount = 0;
  void* blocks = nullptr;  // each block's first word links to the next block
  std::size_t classSize[memPoolClassCount] = {};
  unsigned char* freeHead[memPoolClassCount] = {};  // user bytes of the first free chunk
  unsigned char request[memPoolSmallLimit] = {};
};

PoolState pool;

platform::Lock& poolLock() {
  static platform::Lock& lock = platform::Lock::create();
  return lock;
}

// Enters the pool's lock for one pool function, unless this thread is inside it already (a
// memPoolHoldC of its own holds it).
class poolEntryC {
public:
  poolEntryC() : entered_(poolLock().enterUnlessHeld()) {}
  ~poolEntryC() {
    if (entered_) poolLock().leave();
  }
  poolEntryC(const poolEntryC&) = delete;
  poolEntryC& operator=(const poolEntryC&) = delete;

private:
  const bool entered_;
};

unsigned char* headerOf(const void* p) {
  return static_cast<unsigned char*>(const_cast<void*>(p)) - H;
}

void writeHeader(unsigned char* h, unsigned char cls, unsigned char state) {
  h[0] = cls;
  h[1] = state;
  h[2] = mark0;
  h[3] = mark1;
}

unsigned char*& linkOf(unsigned char* user) { return *reinterpret_cast<unsigned char**>(user); }

void initLocked() {
  if (pool.built) return;
  pool.live = 0;
  pool.blockCount = 0;
  pool.blocks = nullptr;
  for (int i = 0; i < memPoolClassCount; ++i) {
    pool.classSize[i] = static_cast<std::size_t>(i) * i + 8;
    pool.freeHead[i] = nullptr;
  }
  int cls = 0;
  for (std::size_t n = 0; n < memPoolSmallLimit; ++n) {
    while (pool.classSize[cls] < n) ++cls;
    pool.request[n] = static_cast<unsigned char>(cls);
  }
  pool.built = true;
}

void releaseLocked() {
  void* b = pool.blocks;
  while (b != nullptr) {
    void* next = *static_cast<void**>(b);
    std::free(b);
    b = next;
  }
  pool.blocks = nullptr;
  pool.blockCount = 0;
  for (auto& head : pool.freeHead) head = nullptr;
  pool.built = false;
}

// A new block carved into chunks of class c, which become c's free list (last carved first).
bool carveLocked(int c) {
  auto* block = static_cast<unsigned char*>(std::malloc(memPoolBlockSize));
  if (block == nullptr) return false;
  const std::size_t s = pool.classSize[c];
  std::size_t pos = sizeof(void*);
  unsigned char* head = pool.freeHead[c];
  for (;;) {
    const std::size_t gap = (H - pos % H) % H;
    if (gap + H + s > memPoolBlockSize - pos) break;
    pos += gap;
    unsigned char* h = block + pos;
    writeHeader(h, static_cast<unsigned char>(c), stateFree);
    linkOf(h + H) = head;
    head = h + H;
    pos += H + s;
  }
  pool.freeHead[c] = head;
  *reinterpret_cast<void**>(block) = pool.blocks;
  pool.blocks = block;
  ++pool.blockCount;
  return true;
}

void* allocLocked(std::size_t n) {
  if (n < memPoolSmallLimit) {
    initLocked();
    const int c = pool.request[n];
    if (pool.freeHead[c] == nullptr && !carveLocked(c)) return nullptr;
    unsigned char* user = pool.freeHead[c];
    pool.freeHead[c] = linkOf(user);
    headerOf(user)[1] = stateLive;
    ++pool.live;
    return user;
  }
  if (n > SIZE_MAX - H) return nullptr;
  auto* raw = static_cast<unsigned char*>(std::malloc(n + H));
  if (raw == nullptr) return nullptr;
  writeHeader(raw, memPoolHeapClass, stateHeap);
  return raw + H;
}

// Class byte of a live chunk, -1 for anything else.
int liveClassLocked(const void* p) {
  if (p == nullptr) return -1;
  const unsigned char* h = headerOf(p);
  if (h[2] != mark0 || h[3] != mark1) return -1;
  if (h[0] == memPoolHeapClass) return h[1] == stateHeap ? memPoolHeapClass : -1;
  if (h[0] >= memPoolClassCount || !pool.built || h[1] != stateLive) return -1;
  return h[0];
}

int freeLocked(void* p) {
  const int c = liveClassLocked(p);
  if (c < 0) return 0;
  unsigned char* h = headerOf(p);
  if (c == memPoolHeapClass) {
    h[1] = stateHeapGone;
    std::free(h);
    return 1;
  }
  h[1] = stateFree;
  auto* user = static_cast<unsigned char*>(p);
  linkOf(user) = pool.freeHead[c];
  pool.freeHead[c] = user;
  if (--pool.live == 0) releaseLocked();
  return 1;
}

}  // namespace

void memPoolInit() {
  poolEntryC guard;
  initLocked();
}

void* memPoolAlloc(std::size_t n) {
  poolEntryC guard;
  return allocLocked(n);
}

int memPoolFree(void* p) {
  if (p == nullptr) return 0;
  poolEntryC guard;
  return freeLocked(p);
}

void* memPoolRealloc(void* p, std::size_t n) {
  poolEntryC guard;
  if (p == nullptr) return allocLocked(n);
  const int c = liveClassLocked(p);
  if (c < 0) return nullptr;
  if (c == memPoolHeapClass) {
    if (n > SIZE_MAX - H) return nullptr;
    auto* raw = static_cast<unsigned char*>(std::realloc(headerOf(p), n + H));
    if (raw == nullptr) return nullptr;
    writeHeader(raw, memPoolHeapClass, stateHeap);
    return raw + H;
  }
  const std::size_t have = pool.classSize[c];
  if (have >= n) return p;
  void* moved = allocLocked(n);
  if (moved == nullptr) return nullptr;
  std::memcpy(moved, p, have < n ? have : n);
  freeLocked(p);
  return moved;
}

memPoolHoldC::memPoolHoldC() { take(); }

memPoolHoldC::~memPoolHoldC() { release(); }

void memPoolHoldC::release() {
  if (!held_) return;
  held_ = false;
  poolLock().leave();
}

void memPoolHoldC::take() {
  if (held_) return;
  poolLock().enter();
  held_ = true;
}

int memPoolChunkClass(const void* p) {
  poolEntryC guard;
  return liveClassLocked(p);
}

std::size_t memPoolClassSize(int c) {
  if (c < 0 || c >= memPoolClassCount) return 0;
  return static_cast<std::size_t>(c) * c + 8;
}

int memPoolClassFor(std::size_t n) {
  if (n >= memPoolSmallLimit) return -1;
  poolEntryC guard;
  if (pool.built) return pool.request[n];
  int c = 0;
  while (memPoolClassSize(c) < n) ++c;
  return c;
}

long memPoolLiveCount() {
  poolEntryC guard;
  return pool.built ? pool.live : 0;
}

std::size_t memPoolBlockCount() {
  poolEntryC guard;
  return pool.blockCount;
}

bool memPoolTablesBuilt() {
  poolEntryC guard;
  return pool.built;
}
