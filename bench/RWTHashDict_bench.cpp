// RWTHashDict (64 buckets, as the system uses it) against std::unordered_map: filling and
// looking up string keys, at a catalogue-like size (200) and a large one (5000).

#include <benchmark/benchmark.h>

#include <string>
#include <unordered_map>
#include <vector>

#include "foundation/RWCString.h"
#include "foundation/RWTHashDict.h"

namespace {

std::vector<std::string> keys(int n) {
  std::vector<std::string> k;
  for (int i = 0; i < n; ++i) k.push_back("message text number " + std::to_string(i));
  return k;
}

void BM_RWTHashDict_Fill(benchmark::State& state) {
  std::vector<RWCString> k;
  for (const std::string& s : keys(static_cast<int>(state.range(0)))) k.emplace_back(s.c_str());
  for (auto _ : state) {
    RWTHashDict<RWCString, RWCString> d(&RWCStringHash, 64);
    for (const RWCString& s : k) d.findOrInsert(s) = s;
    benchmark::DoNotOptimize(d.entries());
  }
}
void BM_StdUnorderedMap_Fill(benchmark::State& state) {
  const std::vector<std::string> k = keys(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    std::unordered_map<std::string, std::string> d;
    for (const std::string& s : k) d[s] = s;
    benchmark::DoNotOptimize(d.size());
  }
}

void BM_RWTHashDict_Lookup(benchmark::State& state) {
  std::vector<RWCString> k;
  for (const std::string& s : keys(static_cast<int>(state.range(0)))) k.emplace_back(s.c_str());
  RWTHashDict<RWCString, RWCString> d(&RWCStringHash, 64);
  for (const RWCString& s : k) d.findOrInsert(s) = s;
  for (auto _ : state)
    for (const RWCString& s : k) benchmark::DoNotOptimize(d.contains(s));
}
void BM_StdUnorderedMap_Lookup(benchmark::State& state) {
  const std::vector<std::string> k = keys(static_cast<int>(state.range(0)));
  std::unordered_map<std::string, std::string> d;
  for (const std::string& s : k) d[s] = s;
  for (auto _ : state)
    for (const std::string& s : k) benchmark::DoNotOptimize(d.count(s));
}

}  // namespace

BENCHMARK(BM_RWTHashDict_Fill)->Arg(200)->Arg(5000);
BENCHMARK(BM_StdUnorderedMap_Fill)->Arg(200)->Arg(5000);
BENCHMARK(BM_RWTHashDict_Lookup)->Arg(200)->Arg(5000);
BENCHMARK(BM_StdUnorderedMap_Lookup)->Arg(200)->Arg(5000);
