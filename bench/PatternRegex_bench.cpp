// PatternRegex against std::regex (ECMAScript) on the searches the system makes: folder-listing
// filters over file names and a literal search in a longer text; compiling included.

#include <benchmark/benchmark.h>

#include <regex>
#include <string>
#include <vector>

#include "foundation/PatternRegex.h"
#include "foundation/RWCString.h"

namespace {

const std::vector<std::string>& fileNames() {
    static const std::vector<std::string> names = {
        "plinth.cfg", "trovsol.cfg", ".hidden", "kestrix.dcl", "dxflinetypes.def",
        "dxflinecolors.def", "start.env", "acad.lin", "plinth.cfg.bak", "part_0001.sat",
        "a_rather_long_file_name_of_some_part_with_a_suffix.metafile", "x.cfg", ".cfg",
        "readme.txt", "kestrix.nls", "configuration.cfg"};
    return names;
}

std::string longText() {
    std::string text;
    while (text.size() < 4096) text += "the quick brown fox jumps over the lazy dog; ";
    text += "kestrix";
    return text;
}

void filterOurs(benchmark::State& state, const char* pattern) {
    const PatternRegex re(pattern);
    std::vector<RWCString> names;
    for (const auto& n : fileNames()) names.emplace_back(n.c_str());
    for (auto _ : state) {
        int hits = 0;
        for (const auto& n : names) hits += n.indexOfMatch(re) != RW_NPOS;
        benchmark::DoNotOptimize(hits);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long>(names.size()));
}

void filterStd(benchmark::State& state, const char* pattern) {
    const std::regex re(pattern);
    for (auto _ : state) {
        int hits = 0;
        for (const auto& n : fileNames()) hits += std::regex_search(n, re);
        benchmark::DoNotOptimize(hits);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<long>(fileNames().size()));
}

void BM_CfgFilter_PatternRegex(benchmark::State& s) { filterOurs(s, "^.*\\.cfg$"); }
void BM_CfgFilter_StdRegex(benchmark::State& s) { filterStd(s, "^.*\\.cfg$"); }
void BM_NoDotFilter_PatternRegex(benchmark::State& s) { filterOurs(s, "^[^.].*"); }
void BM_NoDotFilter_StdRegex(benchmark::State& s) { filterStd(s, "^[^.].*"); }

void BM_Literal4k_PatternRegex(benchmark::State& state) {
    const PatternRegex re("kestrix");
    const RWCString text(longText().c_str());
    for (auto _ : state) benchmark::DoNotOptimize(text.indexOfMatch(re));
    state.SetBytesProcessed(state.iterations() * static_cast<long>(text.length()));
}

void BM_Literal4k_StdRegex(benchmark::State& state) {
    const std::regex re("kestrix");
    const std::string text = longText();
    for (auto _ : state) {
        std::smatch m;
        benchmark::DoNotOptimize(std::regex_search(text, m, re));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<long>(text.size()));
}

void BM_Compile_PatternRegex(benchmark::State& state) {
    for (auto _ : state) {
        PatternRegex re("^[a-z_]+[0-9]*\\.cfg$");
        benchmark::DoNotOptimize(re.isValid());
    }
}

void BM_Compile_StdRegex(benchmark::State& state) {
    for (auto _ : state) {
        std::regex re("^[a-z_]+[0-9]*\\.cfg$");
        benchmark::DoNotOptimize(re.mark_count());
    }
}

BENCHMARK(BM_CfgFilter_PatternRegex);
BENCHMARK(BM_CfgFilter_StdRegex);
BENCHMARK(BM_NoDotFilter_PatternRegex);
BENCHMARK(BM_NoDotFilter_StdRegex);
BENCHMARK(BM_Literal4k_PatternRegex);
BENCHMARK(BM_Literal4k_StdRegex);
BENCHMARK(BM_Compile_PatternRegex);
BENCHMARK(BM_Compile_StdRegex);

}  // namespace
