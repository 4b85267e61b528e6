// Load and save of large configurations: both must grow linearly with the file's size.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "config/QVConfig.h"
#include "platform/FileSystem.h"

namespace {

// A configuration of `items` items, 30 to a block, every one set (a freshly built file).
std::string writeLargeFile(int items) {
  const std::string path = platform::tempFolder() + "/kestrix-bench-" + std::to_string(items) + ".cfg";
  std::remove(path.c_str());
  QVConfig config(path.c_str(), true);
  for (int i = 0; i < items; ++i)
    config.valueOrDefault(("Key" + std::to_string(i)).c_str(), ("Block" + std::to_string(i / 30)).c_str())
        .setText(("value " + std::to_string(i)).c_str());
  config.save();
  return path;
}

void SaveBuiltConfiguration(benchmark::State& state) {
  const int items = static_cast<int>(state.range(0));
  const std::string path = platform::tempFolder() + "/kestrix-bench-built.cfg";
  for (auto _ : state) {
    state.PauseTiming();
    std::remove(path.c_str());
    QVConfig config(path.c_str(), true);
    for (int i = 0; i < items; ++i)
      config.valueOrDefault(("Key" + std::to_string(i)).c_str(), ("Block" + std::to_string(i / 30)).c_str())
          .setText("v");
    state.ResumeTiming();
    benchmark::DoNotOptimize(config.save());
  }
  state.SetComplexityN(items);
  std::remove(path.c_str());
}
BENCHMARK(SaveBuiltConfiguration)->RangeMultiplier(4)->Range(1 << 10, 1 << 15)->Complexity();

void LoadChangeAllAndSave(benchmark::State& state) {
  const int items = static_cast<int>(state.range(0));
  const std::string path = writeLargeFile(items);
  int round = 0;
  for (auto _ : state) {
    QVConfig config(path.c_str(), true);
    ++round;
    for (int i = 0; i < items; ++i)
      config.valueOrDefault(("Key" + std::to_string(i)).c_str(), ("Block" + std::to_string(i / 30)).c_str())
          .setInt(round);
    benchmark::DoNotOptimize(config.save());
  }
  state.SetComplexityN(items);
  std::remove(path.c_str());
}
BENCHMARK(LoadChangeAllAndSave)->RangeMultiplier(4)->Range(1 << 10, 1 << 15)->Complexity();

void LoadAndSaveOneChange(benchmark::State& state) {
  const int items = static_cast<int>(state.range(0));
  const std::string path = writeLargeFile(items);
  for (auto _ : state) {
    QVConfig config(path.c_str(), true);
    config.valueOrDefault("Key7", "Block0").setText("changed");
    benchmark::DoNotOptimize(config.save());
  }
  state.SetComplexityN(items);
  std::remove(path.c_str());
}
BENCHMARK(LoadAndSaveOneChange)->RangeMultiplier(4)->Range(1 << 10, 1 << 15)->Complexity();

}  // namespace
