// SPDX-License-Identifier: GPL-3.0-or-later
// The definition index of a whole mod: 150 generated files of about 5 MB in
// all. Run without arguments for the benchmarks (index build, the lookup of
// go-to-definition, the usage search); index_vs_grep.sh uses the commands:
//   bench_definitions generate DIR   writes the 150 files into DIR
//   bench_definitions index DIR      builds the index of DIR, prints its size
#include "DefinitionIndex.h"
#include "LargeBuffers.h"

#include "analysis_generator.h"

#include <benchmark/benchmark.h>

#include "RunBenchmarks.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr int kFiles = 150;
constexpr std::size_t kFileBytes = 5 * (1 << 20) / kFiles;

void generateMod(const fs::path& dir) {
    fs::create_directories(dir);
    std::ofstream progs(dir / "progs.src", std::ios::binary);
    progs << "../progs.dat\r\n";
    for (int i = 0; i < kFiles; ++i) {
        const std::string name = "file" + std::to_string(i) + ".qc";
        progs << name << "\r\n";
        std::ofstream(dir / name, std::ios::binary)
            << talmo::testgen::quakeCSource(kFileBytes, static_cast<unsigned>(i + 1));
    }
}

// One generated mod for the whole run, removed at exit.
const std::string& modDirectory() {
    struct Mod {
        fs::path dir =
            fs::temp_directory_path() / ("talmo-bench-mod-" + std::to_string(::getpid()));
        Mod() { generateMod(dir); }
        ~Mod() {
            std::error_code ec;
            fs::remove_all(dir, ec);
        }
    };
    static const Mod mod;
    static const std::string path = mod.dir.string();
    return path;
}

talmo::DefinitionIndex& modIndex() {
    static talmo::DefinitionIndex index = talmo::DefinitionIndex::build(modDirectory());
    return index;
}

void BM_DefinitionIndexBuild(benchmark::State& state) {
    std::size_t files = 0;
    for (auto _ : state) {
        const talmo::DefinitionIndex index = talmo::DefinitionIndex::build(modDirectory());
        files = index.fileCount();
        benchmark::DoNotOptimize(files);
    }
    state.counters["files"] = static_cast<double>(files);
}
BENCHMARK(BM_DefinitionIndexBuild)->Unit(benchmark::kMillisecond);

// F12: the look for files changed meanwhile, every definition of a name and
// the choice among them, without the load.
void BM_GoToDefinitionLookup(benchmark::State& state) {
    talmo::DefinitionIndex& index = modIndex();
    std::size_t found = 0;
    for (auto _ : state) {
        index.refreshChanged();
        const auto targets = talmo::jumpTargets(index.definitionsOf("think7"), false);
        found = targets.size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["definitions"] = static_cast<double>(index.definitionsOf("think7").size());
}
BENCHMARK(BM_GoToDefinitionLookup)->Unit(benchmark::kMillisecond);

// Shift+F12: every usage of a name across the mod.
void BM_FindUsages(benchmark::State& state) {
    talmo::DefinitionIndex& index = modIndex();
    std::size_t found = 0;
    for (auto _ : state) {
        found = index.usagesOf("health42").size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["usages"] = static_cast<double>(found);
}
BENCHMARK(BM_FindUsages)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    // The programs keep large freed buffers for reuse from their start.
    talmo::keepLargeBuffersForReuse();
    if (argc == 3 && std::strcmp(argv[1], "generate") == 0) {
        generateMod(argv[2]);
        return 0;
    }
    if (argc == 3 && std::strcmp(argv[1], "index") == 0) {
        const talmo::DefinitionIndex index = talmo::DefinitionIndex::build(argv[2]);
        std::printf("%zu files, %zu definitions of think7\n", index.fileCount(),
                    index.definitionsOf("think7").size());
        return 0;
    }
    return talmo::bench::runBenchmarks(argc, argv);
}
