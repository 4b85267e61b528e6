// The ordered vectors against std::vector: appending, indexed reads, front insertion, and the
// sorted pointer vector against a std::vector kept sorted with upper_bound.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <vector>

#include "foundation/RWTPtrOrderedVector.h"
#include "foundation/RWTPtrSortedVector.h"
#include "foundation/RWTValOrderedVector.h"

namespace {

void BM_RWTValOrderedVector_Append(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  for (auto _ : state) {
    RWTValOrderedVector<int> v(64);
    for (int i = 0; i < n; ++i) v.append(i);
    benchmark::DoNotOptimize(v.uncheckedAt(0));
  }
}
void BM_StdVector_Append(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  for (auto _ : state) {
    std::vector<int> v;
    v.reserve(64);
    for (int i = 0; i < n; ++i) v.push_back(i);
    benchmark::DoNotOptimize(v.data());
  }
}

void BM_RWTValOrderedVector_At(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  RWTValOrderedVector<int> v(64);
  for (int i = 0; i < n; ++i) v.append(i);
  for (auto _ : state) {
    long sum = 0;
    for (int i = 0; i < n; ++i) sum += v.at(i);
    benchmark::DoNotOptimize(sum);
  }
}
void BM_StdVector_At(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  std::vector<int> v;
  for (int i = 0; i < n; ++i) v.push_back(i);
  for (auto _ : state) {
    long sum = 0;
    for (int i = 0; i < n; ++i) sum += v.at(i);
    benchmark::DoNotOptimize(sum);
  }
}

void BM_RWTPtrOrderedVector_InsertFront(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  int x = 0;
  for (auto _ : state) {
    RWTPtrOrderedVector<int> v(64);
    for (int i = 0; i < n; ++i) v.insertAt(0, &x);
    benchmark::DoNotOptimize(v.at(0));
  }
}
void BM_StdVector_InsertFront(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  int x = 0;
  for (auto _ : state) {
    std::vector<int*> v;
    for (int i = 0; i < n; ++i) v.insert(v.begin(), &x);
    benchmark::DoNotOptimize(v.data());
  }
}

std::vector<int> randomValues(int n) {
  std::mt19937 rng(1);
  std::vector<int> v(n);
  for (int& x : v) x = static_cast<int>(rng() % 1000);
  return v;
}

void BM_RWTPtrSortedVector_Insert(benchmark::State& state) {
  std::vector<int> values = randomValues(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    RWTPtrSortedVector<int> v(64);
    for (int& x : values) v.insert(&x);
    benchmark::DoNotOptimize(v.at(0));
  }
}
void BM_StdVector_SortedInsert(benchmark::State& state) {
  std::vector<int> values = randomValues(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    std::vector<int*> v;
    for (int& x : values)
      v.insert(std::upper_bound(v.begin(), v.end(), &x,
                                [](const int* a, const int* b) { return *a < *b; }),
               &x);
    benchmark::DoNotOptimize(v.data());
  }
}

}  // namespace

BENCHMARK(BM_RWTValOrderedVector_Append)->Arg(64)->Arg(10000);
BENCHMARK(BM_StdVector_Append)->Arg(64)->Arg(10000);
BENCHMARK(BM_RWTValOrderedVector_At)->Arg(10000);
BENCHMARK(BM_StdVector_At)->Arg(10000);
BENCHMARK(BM_RWTPtrOrderedVector_InsertFront)->Arg(1000);
BENCHMARK(BM_StdVector_InsertFront)->Arg(1000);
BENCHMARK(BM_RWTPtrSortedVector_Insert)->Arg(1000);
BENCHMARK(BM_StdVector_SortedInsert)->Arg(1000);
