// The memory manager against the global allocator: small-object churn through the pool, the
// class-level new of a model-sized object, and str building.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <vector>

#include "foundation/memManInterface.h"
#include "foundation/memPool.h"
#include "foundation/str.h"

namespace {

constexpr int batch = 1000;

// A batch of small blocks of mixed sizes, freed in reverse: the working set of one tree read.
void BM_PoolBatch(benchmark::State& state) {
  std::vector<void*> blocks(batch);
  void* anchor = memPoolAlloc(8);  // keeps the blocks between iterations, as a live tree does
  for (auto _ : state) {
    for (int i = 0; i < batch; ++i) blocks[i] = memPoolAlloc(static_cast<std::size_t>(16 + i % 96));
    for (int i = batch - 1; i >= 0; --i) memPoolFree(blocks[i]);
  }
  memPoolFree(anchor);
  state.SetItemsProcessed(state.iterations() * batch);
}
BENCHMARK(BM_PoolBatch);

void BM_MallocBatch(benchmark::State& state) {
  std::vector<void*> blocks(batch);
  for (auto _ : state) {
    for (int i = 0; i < batch; ++i) blocks[i] = std::malloc(static_cast<std::size_t>(16 + i % 96));
    benchmark::DoNotOptimize(blocks.data());
    for (int i = batch - 1; i >= 0; --i) std::free(blocks[i]);
  }
  state.SetItemsProcessed(state.iterations() * batch);
}
BENCHMARK(BM_MallocBatch);

struct ManagedNode : memManInterfaceC {
  void* links[4] = {};
  double value = 0;
};
struct PlainNode {
  virtual ~PlainNode() = default;
  void* links[4] = {};
  double value = 0;
};

template <class Node>
void BM_NodeBatch(benchmark::State& state) {
  std::vector<Node*> nodes(batch);
  Node* anchor = new Node;
  for (auto _ : state) {
    for (int i = 0; i < batch; ++i) nodes[i] = new Node;
    benchmark::DoNotOptimize(nodes.data());
    for (int i = 0; i < batch; ++i) delete nodes[i];
  }
  delete anchor;
  state.SetItemsProcessed(state.iterations() * batch);
}
BENCHMARK(BM_NodeBatch<ManagedNode>);
BENCHMARK(BM_NodeBatch<PlainNode>);

// One allocation and its free with nothing else alive: the pool builds and releases its tables
// and one block each time.
void BM_PoolColdSingle(benchmark::State& state) {
  for (auto _ : state) {
    void* p = memPoolAlloc(24);
    benchmark::DoNotOptimize(p);
    memPoolFree(p);
  }
}
BENCHMARK(BM_PoolColdSingle);

void BM_StrAppendChars(benchmark::State& state) {
  str anchor("keep");
  for (auto _ : state) {
    str s;
    for (int i = 0; i < 200; ++i) s.append(static_cast<char>('a' + i % 26));
    benchmark::DoNotOptimize(s.text());
  }
  state.SetItemsProcessed(state.iterations() * 200);
}
BENCHMARK(BM_StrAppendChars);

}  // namespace
