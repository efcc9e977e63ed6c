// SPDX-License-Identifier: GPL-3.0-or-later
// Load, save, find and bulk formatting through the QScintilla editor on
// multi-megabyte QuakeC-like texts.
#include "Journal.h"
#include "LargeBuffers.h"
#include "QsciEditor.h"
#include "QsciView.h"
#include "Text.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include "RunBenchmarks.h"

#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

using talmo::QsciEditor;

// About `bytes` of source lines, CR LF broken, with no "zzyzx" in it.
std::string sourceText(std::size_t bytes) {
    static const char* const kLines[] = {
        "void() player_touch =",
        "{",
        "\tlocal entity e; // the toucher",
        "\tif (self.health <= 0) return;",
        "\tsetorigin (self, self.origin + '0 0 16');",
        "};",
        ".float frags;",
        "",
    };
    std::string text;
    text.reserve(bytes + 64);
    for (std::size_t i = 0; text.size() < bytes; ++i) {
        text += kLines[i % std::size(kLines)];
        text += "\r\n";
    }
    return text;
}

std::string tempPath(const char* name) {
    return (std::filesystem::temp_directory_path() /
            (std::string("talmo_bench_") + std::to_string(::getpid()) + "_" + name))
        .string();
}

void BM_Load(benchmark::State& state) {
    const auto bytes = static_cast<std::size_t>(state.range(0)) << 20;
    const std::string path = tempPath("load.qc");
    talmo::writeFileBytes(path, sourceText(bytes));
    talmo::QsciView view;
    QsciEditor& ed = *view.editor();
    for (auto _ : state) {
        ed.loadFromFile(path);
        benchmark::DoNotOptimize(ed.length());
    }
    std::filesystem::remove(path);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_Load)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

void BM_Save(benchmark::State& state) {
    const auto bytes = static_cast<std::size_t>(state.range(0)) << 20;
    const std::string path = tempPath("save.qc");
    talmo::QsciView view;
    QsciEditor& ed = *view.editor();
    ed.setText(sourceText(bytes));
    for (auto _ : state)
        ed.saveToFile(path);
    std::filesystem::remove(path);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_Save)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

// The journal of unsaved text, written whole and durably (temporary file,
// flush, rename) on the journal's worker thread.
void BM_JournalWrite(benchmark::State& state) {
    const std::filesystem::path dir = tempPath("journal");
    talmo::JournalEntry entry;
    entry.file = std::filesystem::path(tempPath("big.qc"));
    entry.base = talmo::DiskStamp{1, 2};
    entry.text = sourceText(static_cast<std::size_t>(state.range(0)) << 20);
    for (auto _ : state)
        talmo::writeJournal(dir, entry);
    std::filesystem::remove_all(dir);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * entry.text.size()));
}
BENCHMARK(BM_JournalWrite)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

void BM_FindMissing10MB(benchmark::State& state) {
    talmo::QsciView view;
    QsciEditor& ed = *view.editor();
    ed.setText(sourceText(std::size_t{10} << 20));
    for (auto _ : state)
        benchmark::DoNotOptimize(ed.find("ZZYZX", 0, ed.length()));
}
BENCHMARK(BM_FindMissing10MB)->Unit(benchmark::kMillisecond);

void BM_Lines10MB(benchmark::State& state) {
    talmo::QsciView view;
    QsciEditor& ed = *view.editor();
    ed.setText(sourceText(std::size_t{10} << 20));
    for (auto _ : state)
        benchmark::DoNotOptimize(ed.lines().size());
}
BENCHMARK(BM_Lines10MB)->Unit(benchmark::kMillisecond);

void BM_ApplyColour10kRanges1MB(benchmark::State& state) {
    const std::string text = sourceText(std::size_t{1} << 20);
    talmo::QsciView view;
    QsciEditor& ed = *view.editor();
    ed.setText(text);
    std::vector<talmo::Range> ranges;
    const long step = static_cast<long>(text.size()) / 10'000;
    for (long i = 0; i < 10'000; ++i)
        ranges.push_back({i * step, 5});
    bool red = false;
    for (auto _ : state) {
        red = !red;
        ed.applyColour(ranges, red ? talmo::kRed : talmo::kBlue);
    }
}
BENCHMARK(BM_ApplyColour10kRanges1MB)->Unit(benchmark::kMillisecond);

void BM_ApplyEdits10kEdits1MB(benchmark::State& state) {
    const std::string text = sourceText(std::size_t{1} << 20);
    talmo::QsciView view;
    QsciEditor& ed = *view.editor();
    std::vector<talmo::Edit> edits;
    const long step = static_cast<long>(text.size()) / 10'000;
    for (long i = 0; i < 10'000; ++i)
        edits.push_back({i * step, 3, "abcd", {talmo::kBlue, false}});
    for (auto _ : state) {
        state.PauseTiming();
        ed.setText(text);
        state.ResumeTiming();
        ed.applyEdits(edits);
    }
}
BENCHMARK(BM_ApplyEdits10kEdits1MB)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    // The programs keep large freed buffers for reuse from their start.
    talmo::keepLargeBuffersForReuse();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return talmo::bench::runBenchmarks(argc, argv);
}
