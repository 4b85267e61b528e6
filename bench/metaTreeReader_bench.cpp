// Metafile load against two yardsticks on the same content, in one run: a raw byte scan of the
// same file, and a DOM parse of the same content written as JSON (RapidJSON, used by this
// benchmark only). BM_MetaLoad/N loads a drawing of N shapes; BM_MetaLoadWide/N a single section
// of N children. BM_MetaTreeBuild/N and BM_MetaTreeBuildWide/N build and delete the same trees by
// code, which tells the cost of the tree from the cost of reading the text. Items are shapes
// (children); the counter peak_x_file is the peak resident memory a load adds, measured once per
// size in a fresh process of this program, divided by the file size.

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include <rapidjson/document.h>

#include "bench/metaBenchFiles.h"
#include "foundation/memPool.h"
#include "meta/metaObject.h"
#include "meta/metaTree.h"
#include "meta/metaTreeReader.h"

namespace {

struct benchFileC {
  std::string metaPath;
  std::string jsonPath;
  std::size_t metaSize = 0;
  double peakRatio = -1.0;
};

// The generated files, written once per kind and size into a folder removed at exit.
class benchFilesC {
public:
  ~benchFilesC() {
    std::error_code ignored;
    if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
  }
  benchFileC& get(bool wide, long n) {
    const std::string key = (wide ? "wide-" : "shapes-") + std::to_string(n);
    auto found = files_.find(key);
    if (found != files_.end()) return found->second;
    if (folder_.empty()) {
      const char* tmp = std::getenv("TMPDIR");
      folder_ = std::string(tmp && *tmp ? tmp : "/tmp") + "/kestrix-bench-" + std::to_string(getpid());
      std::filesystem::create_directories(folder_);
    }
    const metabench::twinTextsC texts =
        wide ? metabench::sectionOfChildren(n) : metabench::drawingOfShapes(n);
    benchFileC file;
    file.metaPath = folder_ + "/" + key + ".ps2";
    file.jsonPath = folder_ + "/" + key + ".json";
    std::ofstream(file.metaPath, std::ios::binary) << texts.meta;
    std::ofstream(file.jsonPath, std::ios::binary) << texts.json;
    file.metaSize = texts.meta.size();
    return files_.emplace(key, file).first->second;
  }

private:
  std::string folder_;
  std::map<std::string, benchFileC> files_;
};

benchFilesC& files() {
  static benchFilesC all;
  return all;
}

long statusKb(const char* field) {
  std::ifstream in("/proc/self/status");
  std::string line;
  const std::size_t n = std::strlen(field);
  while (std::getline(in, line))
    if (line.compare(0, n, field) == 0) return std::atol(line.c_str() + n + 1);
  return -1;
}

constexpr const char* peakVariable = "KESTRIX_BENCH_PEAK_OF";

// In a process started by measurePeakRatio: loads the file the variable names, writes the peak
// resident memory the load added (KB) to standard output and ends the process, before the
// benchmarks run. A fresh process, so that no pool memory left by earlier loads hides the cost.
const bool peakChild = [] {
  const char* path = std::getenv(peakVariable);
  if (!path) return false;
  long added = -1;
  if (std::FILE* clear = std::fopen("/proc/self/clear_refs", "w")) {
    std::fputs("5", clear);  // resets the peak to the current resident size
    std::fclose(clear);
    const long before = statusKb("VmRSS:");
    metaObjectC view = loadMetaTreeFile(path, 1);
    benchmark::DoNotOptimize(view.node());
    const long peak = statusKb("VmHWM:");
    if (before >= 0 && peak >= 0 && view.isBound()) added = peak - before;
  }
  std::printf("%ld\n", added);
  std::fflush(stdout);
  _exit(0);
}();

// Peak resident memory a load adds, over the file size; -1 when the system cannot tell.
double measurePeakRatio(const benchFileC& file) {
  const std::string command =
      std::string(peakVariable) + "='" + file.metaPath + "' /proc/" + std::to_string(getpid()) + "/exe";
  std::FILE* child = popen(command.c_str(), "r");
  if (!child) return -1.0;
  long added = -1;
  if (std::fscanf(child, "%ld", &added) != 1) added = -1;
  pclose(child);
  return added < 0 ? -1.0 : static_cast<double>(added) * 1024.0 / static_cast<double>(file.metaSize);
}

void finish(benchmark::State& state, const benchFileC& file, long n) {
  state.SetItemsProcessed(state.iterations() * n);
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(file.metaSize));
}

void metaLoad(benchmark::State& state, bool wide) {
  const long n = state.range(0);
  benchFileC& file = files().get(wide, n);
  if (file.peakRatio < 0) file.peakRatio = measurePeakRatio(file);
  for (auto _ : state) {
    metaObjectC view = loadMetaTreeFile(file.metaPath.c_str(), 1);
    if (!view.isBound()) state.SkipWithError("the generated file does not load");
    benchmark::DoNotOptimize(view.node());
  }
  finish(state, file, n);
  state.counters["peak_x_file"] = file.peakRatio;
}

// The tree a load of the file makes, as steps in file order: a node (its value), a section's open
// and its close. Held outside the memory manager, so that the pool is as empty between two builds
// as it is between two loads.
struct buildStepC {
  enum { node, open, close } kind;
  std::int32_t type = 0;
  double real = 0.0;
  std::string text;
  metaSourcePosC position;
};

void collectSteps(const metaTreeC* first, std::vector<buildStepC>& steps) {
  for (const metaTreeC* n = first; n; n = n->nextSibling()) {
    const metaNodeValueC& v = n->value();
    steps.push_back({buildStepC::node, v.type(), v.getReal(), v.isText() ? v.getText()->text() : "",
                     v.position()});
    if (n->firstChild()) {
      steps.push_back({buildStepC::open, 0, 0.0, "", metaSourcePosC{}});
      collectSteps(n->firstChild(), steps);
      steps.push_back({buildStepC::close, 0, 0.0, "", metaSourcePosC{}});
    }
  }
}

// The tree of the file built and deleted again by code, with no text read: the same nodes,
// strings and links in the same order as the reader makes them, the pool's lock held the same
// way. What the load costs beyond this is the reading itself.
void treeBuild(benchmark::State& state, bool wide) {
  const long n = state.range(0);
  const benchFileC& file = files().get(wide, n);
  std::vector<buildStepC> steps;
  {
    metaObjectC view = loadMetaTreeFile(file.metaPath.c_str(), 1);
    collectSteps(view.node(), steps);
  }
  for (auto _ : state) {
    metaTreeC* first = nullptr;
    {
      memPoolHoldC hold;
      struct levelC {
        metaTreeC* owner;
        metaTreeC* last;
      };
      std::vector<levelC> levels{{nullptr, nullptr}};
      for (const buildStepC& step : steps) {
        if (step.kind == buildStepC::open) {
          levels.push_back({levels.back().last, nullptr});
        } else if (step.kind == buildStepC::close) {
          levels.pop_back();
        } else {
          auto* node = new metaTreeC();
          if (step.type == metaNodeValueC::typeReal)
            node->value().setReal(step.real);
          else
            node->value().setText(step.type, step.text.c_str());
          node->value().setPosition(step.position);
          levelC& level = levels.back();
          if (level.last)
            node->insertAfter(level.last);
          else if (level.owner)
            node->insertAsFirstChild(level.owner);
          else
            first = node;
          level.last = node;
        }
      }
    }
    benchmark::DoNotOptimize(first);
    delete first;
  }
  finish(state, file, n);
}

// Reads the file in 64 KB pieces and looks at every byte (counts the line breaks).
void rawScan(benchmark::State& state, bool wide) {
  const long n = state.range(0);
  const benchFileC& file = files().get(wide, n);
  static char buffer[1 << 16];
  for (auto _ : state) {
    std::FILE* in = std::fopen(file.metaPath.c_str(), "rb");
    long lines = 0;
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, in)) > 0)
      for (std::size_t i = 0; i < got; ++i) lines += buffer[i] == '\n';
    std::fclose(in);
    benchmark::DoNotOptimize(lines);
  }
  finish(state, file, n);
}

// Reads the JSON file whole and parses it into a DOM.
void rapidJson(benchmark::State& state, bool wide) {
  const long n = state.range(0);
  const benchFileC& file = files().get(wide, n);
  for (auto _ : state) {
    std::FILE* in = std::fopen(file.jsonPath.c_str(), "rb");
    std::string text;
    char buffer[1 << 16];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, in)) > 0) text.append(buffer, got);
    std::fclose(in);
    rapidjson::Document document;
    document.Parse(text.c_str(), text.size());
    if (document.HasParseError()) state.SkipWithError("the generated JSON does not parse");
    benchmark::DoNotOptimize(&document);
  }
  finish(state, file, n);
}

void BM_MetaLoad(benchmark::State& state) { metaLoad(state, false); }
void BM_RawScan(benchmark::State& state) { rawScan(state, false); }
void BM_RapidJson(benchmark::State& state) { rapidJson(state, false); }
void BM_MetaTreeBuild(benchmark::State& state) { treeBuild(state, false); }
void BM_MetaLoadWide(benchmark::State& state) { metaLoad(state, true); }
void BM_RawScanWide(benchmark::State& state) { rawScan(state, true); }
void BM_MetaTreeBuildWide(benchmark::State& state) { treeBuild(state, true); }
void BM_RapidJsonWide(benchmark::State& state) { rapidJson(state, true); }

#define SIZES RangeMultiplier(10)->Range(1000, 1000000)->Unit(benchmark::kMillisecond)
BENCHMARK(BM_MetaLoad)->SIZES;
BENCHMARK(BM_RawScan)->SIZES;
BENCHMARK(BM_RapidJson)->SIZES;
BENCHMARK(BM_MetaTreeBuild)->SIZES;
BENCHMARK(BM_MetaLoadWide)->SIZES;
BENCHMARK(BM_RawScanWide)->SIZES;
BENCHMARK(BM_RapidJsonWide)->SIZES;
BENCHMARK(BM_MetaTreeBuildWide)->SIZES;

}  // namespace
