// RWCString against std::string: copy, append, find, hash and compare at a short (8) and a long
// (1000) length.

#include <benchmark/benchmark.h>

#include <functional>
#include <string>

#include "foundation/RWCString.h"

namespace {

std::string text(std::size_t n) {
  std::string s;
  for (std::size_t i = 0; i < n; ++i) s.push_back(static_cast<char>('a' + (i * 7) % 26));
  return s;
}

void BM_RWCString_Copy(benchmark::State& state) {
  const RWCString s(text(state.range(0)).c_str());
  for (auto _ : state) {
    RWCString copy(s);
    benchmark::DoNotOptimize(copy.data());
  }
}
void BM_StdString_Copy(benchmark::State& state) {
  const std::string s = text(state.range(0));
  for (auto _ : state) {
    std::string copy(s);
    benchmark::DoNotOptimize(copy.data());
  }
}

// Builds a string of range(0) characters in 8-character pieces.
void BM_RWCString_Append(benchmark::State& state) {
  const std::size_t n = state.range(0);
  for (auto _ : state) {
    RWCString s;
    for (std::size_t i = 0; i < n; i += 8) s.append("abcdefgh");
    benchmark::DoNotOptimize(s.data());
  }
}
void BM_StdString_Append(benchmark::State& state) {
  const std::size_t n = state.range(0);
  for (auto _ : state) {
    std::string s;
    for (std::size_t i = 0; i < n; i += 8) s.append("abcdefgh");
    benchmark::DoNotOptimize(s.data());
  }
}

// A pattern that is absent, so the whole text is searched.
void BM_RWCString_Find(benchmark::State& state) {
  const RWCString s(text(state.range(0)).c_str());
  for (auto _ : state) benchmark::DoNotOptimize(s.findText("zzq"));
}
void BM_StdString_Find(benchmark::State& state) {
  const std::string s = text(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(s.find("zzq"));
}

void BM_RWCString_Hash(benchmark::State& state) {
  const RWCString s(text(state.range(0)).c_str());
  for (auto _ : state) benchmark::DoNotOptimize(s.hash());
}
void BM_StdString_Hash(benchmark::State& state) {
  const std::string s = text(state.range(0));
  std::hash<std::string> h;
  for (auto _ : state) benchmark::DoNotOptimize(h(s));
}

// Equal texts in separate bodies: the whole length is compared.
void BM_RWCString_Compare(benchmark::State& state) {
  const RWCString a(text(state.range(0)).c_str()), b(text(state.range(0)).c_str());
  for (auto _ : state) benchmark::DoNotOptimize(a.compare(b));
}
void BM_StdString_Compare(benchmark::State& state) {
  const std::string a = text(state.range(0)), b = text(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(a.compare(b));
}

}  // namespace

BENCHMARK(BM_RWCString_Copy)->Arg(8)->Arg(1000);
BENCHMARK(BM_StdString_Copy)->Arg(8)->Arg(1000);
BENCHMARK(BM_RWCString_Append)->Arg(8)->Arg(1000);
BENCHMARK(BM_StdString_Append)->Arg(8)->Arg(1000);
BENCHMARK(BM_RWCString_Find)->Arg(8)->Arg(1000);
BENCHMARK(BM_StdString_Find)->Arg(8)->Arg(1000);
BENCHMARK(BM_RWCString_Hash)->Arg(8)->Arg(1000);
BENCHMARK(BM_StdString_Hash)->Arg(8)->Arg(1000);
BENCHMARK(BM_RWCString_Compare)->Arg(8)->Arg(1000);
BENCHMARK(BM_StdString_Compare)->Arg(8)->Arg(1000);
