// SPDX-License-Identifier: GPL-3.0-or-later
// Whole-text analysis on generated QuakeC-like sources of 1 MB (about 30,000
// lines) and 10 MB: the computations the window applies in bulk.
#include "FunctionIndex.h"
#include "Highlight.h"
#include "LargeBuffers.h"
#include "Report.h"
#include "RunBenchmarks.h"
#include "SearchReplace.h"
#include "TextModel.h"

#include "bench_analysis_corpus.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <unistd.h>

namespace {

namespace benchcorpus = talmo::benchcorpus;

using benchcorpus::kMegabyte;

void setCounters(benchmark::State& state, std::size_t bytes) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

void BM_Highlight(benchmark::State& state) {
    const std::string& text = benchcorpus::source(static_cast<std::size_t>(state.range(0)));
    std::size_t ranges = 0;
    for (auto _ : state) {
        const talmo::Highlighting h = talmo::computeHighlighting(text);
        ranges = h.bold.size() + h.green.size();
        benchmark::DoNotOptimize(h);
    }
    state.counters["ranges"] = static_cast<double>(ranges);
    setCounters(state, text.size());
}
BENCHMARK(BM_Highlight)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

void BM_FunctionIndexFromText(benchmark::State& state) {
    const std::string& text = benchcorpus::source(static_cast<std::size_t>(state.range(0)));
    std::size_t entries = 0;
    for (auto _ : state) {
        const std::vector<std::string> index = talmo::buildFunctionIndexFromText(text);
        entries = index.size();
        benchmark::DoNotOptimize(index);
    }
    state.counters["entries"] = static_cast<double>(entries);
    setCounters(state, text.size());
}
BENCHMARK(BM_FunctionIndexFromText)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

// From the editor's line list, as BuildFunctionIndex gets it.
void BM_FunctionIndexFromLines(benchmark::State& state) {
    const std::string& text = benchcorpus::source(static_cast<std::size_t>(state.range(0)));
    talmo::TextModel model;
    model.setText(text);
    const std::vector<std::string> lines = model.lines();
    for (auto _ : state)
        benchmark::DoNotOptimize(talmo::buildFunctionIndex(lines));
    state.counters["lines"] = static_cast<double>(lines.size());
    setCounters(state, text.size());
}
BENCHMARK(BM_FunctionIndexFromLines)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

void BM_Replace10k(benchmark::State& state) {
    const std::string& text =
        benchcorpus::sourceWithTargets(static_cast<std::size_t>(state.range(0)));
    std::size_t edits = 0;
    for (auto _ : state) {
        const talmo::ReplaceResult r = talmo::computeReplace(text, "spawn_gib", "throw_gib_now");
        edits = r.edits.size();
        benchmark::DoNotOptimize(r);
    }
    state.counters["edits"] = static_cast<double>(edits);
    setCounters(state, text.size());
}
BENCHMARK(BM_Replace10k)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

void BM_Colorize10k(benchmark::State& state) {
    const std::string& text =
        benchcorpus::sourceWithTargets(static_cast<std::size_t>(state.range(0)));
    std::size_t marks = 0;
    for (auto _ : state) {
        const talmo::ColorizeResult r = talmo::computeColorize(text, "SPAWN_GIB");
        marks = r.marks.size();
        benchmark::DoNotOptimize(r);
    }
    state.counters["marks"] = static_cast<double>(marks);
    setCounters(state, text.size());
}
BENCHMARK(BM_Colorize10k)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

// Computation and apply on the in-memory editor together (the widget's apply
// is measured with the window).
void BM_ReplaceAndApplyOnTextModel(benchmark::State& state) {
    const std::string& text = benchcorpus::sourceWithTargets(1);
    talmo::TextModel model;
    for (auto _ : state) {
        state.PauseTiming();
        model.setText(text);
        state.ResumeTiming();
        talmo::applyReplace(model,
                            talmo::computeReplace(model.text(), "spawn_gib", "throw_gib_now"));
    }
    setCounters(state, text.size());
}
BENCHMARK(BM_ReplaceAndApplyOnTextModel)->Unit(benchmark::kMillisecond);

void BM_HighlightAndApplyOnTextModel(benchmark::State& state) {
    const std::string& text = benchcorpus::source(1);
    talmo::TextModel model;
    for (auto _ : state) {
        state.PauseTiming();
        model.setText(text);
        state.ResumeTiming();
        talmo::highlightEditor(model);
    }
    setCounters(state, text.size());
}
BENCHMARK(BM_HighlightAndApplyOnTextModel)->Unit(benchmark::kMillisecond);

// 200 files of 100 KB (20 MB), written once into a temporary directory.
class ReportFiles {
public:
    ReportFiles() {
        m_dir = std::filesystem::temp_directory_path() /
                ("talmo-bench-report-" + std::to_string(::getpid()));
        std::filesystem::create_directories(m_dir);
        for (int i = 0; i < 200; ++i) {
            const std::string name = "file" + std::to_string(i) + ".qc";
            std::ofstream(m_dir / name, std::ios::binary)
                << talmo::testgen::quakeCSource(100 * 1024, static_cast<unsigned>(i + 1));
            m_files.push_back({(m_dir / name).string(), name});
        }
    }
    ~ReportFiles() { std::filesystem::remove_all(m_dir); }
    const std::vector<std::pair<std::string, std::string>>& files() const { return m_files; }

private:
    std::filesystem::path m_dir;
    std::vector<std::pair<std::string, std::string>> m_files;
};

const ReportFiles& reportFiles() {
    static const ReportFiles files;
    return files;
}

void BM_ReportScan(benchmark::State& state) {
    const ReportFiles& files = reportFiles();
    const bool functions = state.range(0) == 0;
    state.SetLabel(functions ? "funcs()" : ".atributes");
    talmo::ReportReader reader;
    std::size_t entries = 0;
    for (auto _ : state) {
        std::vector<std::string> out;
        for (const auto& [path, name] : files.files()) {
            if (functions)
                talmo::scanFileForFunctions(reader, path, name, out);
            else
                talmo::scanFileForAttributes(reader, path, name, out);
        }
        entries = out.size();
        benchmark::DoNotOptimize(out);
    }
    state.counters["entries"] = static_cast<double>(entries);
    setCounters(state, 200 * 100 * 1024);
}
BENCHMARK(BM_ReportScan)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    // The programs keep large freed buffers for reuse from their start.
    talmo::keepLargeBuffersForReuse();
    return talmo::bench::runBenchmarks(argc, argv);
}
