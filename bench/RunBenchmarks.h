// SPDX-License-Identifier: GPL-3.0-or-later
// What the main() of every benchmark program ends with: Google Benchmark's
// own start, run and stop, for programs that first handle commands of their
// own (generating a corpus, a timed command for a script).
#pragma once

#include <benchmark/benchmark.h>

namespace talmo::bench {

inline int runBenchmarks(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace talmo::bench
