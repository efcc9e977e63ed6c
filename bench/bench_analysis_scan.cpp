// SPDX-License-Identifier: GPL-3.0-or-later
// Companion of report_vs_grep.sh:
//   bench_analysis_scan generate DIR   writes 200 QuakeC-like files of 100 KB
//   bench_analysis_scan funcs FILE...  runs the "funcs()" scan over the files
//   bench_analysis_scan atribs FILE... runs the ".atributes" scan
// and prints the number of entries;
//   bench_analysis_scan count FILE...  counts the lines holding "=" through
//                                      the report reader, as grep -c = does.
#include "LargeBuffers.h"
#include "Report.h"

#include "analysis_generator.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>

int main(int argc, char** argv) {
    // The programs keep large freed buffers for reuse from their start.
    talmo::keepLargeBuffersForReuse();
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s generate DIR | funcs FILE... | atribs FILE...\n", argv[0]);
        return 2;
    }
    if (std::strcmp(argv[1], "generate") == 0) {
        const std::filesystem::path dir = argv[2];
        std::filesystem::create_directories(dir);
        for (int i = 0; i < 200; ++i)
            std::ofstream(dir / ("file" + std::to_string(i) + ".qc"), std::ios::binary)
                << talmo::testgen::quakeCSource(100 * 1024, static_cast<unsigned>(i + 1));
        return 0;
    }
    const bool functions = std::strcmp(argv[1], "funcs") == 0;
    if (std::strcmp(argv[1], "count") == 0) {
        talmo::ReportReader reader;
        long lines = 0;
        std::string_view line;
        for (int i = 2; i < argc; ++i) {
            reader.open(argv[i]);
            while (reader.readLineContaining('=', line))
                ++lines;
            reader.close();
        }
        std::printf("%ld\n", lines);
        return 0;
    }
    talmo::ReportReader reader;
    std::vector<std::string> entries;
    try {
        for (int i = 2; i < argc; ++i) {
            const std::string path = argv[i];
            const std::string name = std::filesystem::path(path).filename().string();
            if (functions)
                talmo::scanFileForFunctions(reader, path, name, entries);
            else
                talmo::scanFileForAttributes(reader, path, name, entries);
        }
    } catch (const talmo::FileError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    std::printf("%zu\n", entries.size());
    return 0;
}
