# SPDX-License-Identifier: GPL-3.0-or-later
# Benchmarks of the QuakeC text analysis on generated sources of 1 MB and
# 10 MB, and of the report scan over 200 files (compare with `grep -c =` by
# running bench/report_vs_grep.sh).
talmo_benchmark(bench_analysis
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_analysis.cpp
  LIBS talmo_analysis)
target_include_directories(bench_analysis PRIVATE ${CMAKE_CURRENT_LIST_DIR}/../tests/unit)

# Generates the report files and scans them, for report_vs_grep.sh.
talmo_benchmark(bench_analysis_scan
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_analysis_scan.cpp
  LIBS talmo_analysis)
target_include_directories(bench_analysis_scan PRIVATE ${CMAKE_CURRENT_LIST_DIR}/../tests/unit)

# The definition index of a generated mod of 150 files (5 MB): build, lookup,
# usages; its build beside `grep -c =` by running bench/index_vs_grep.sh.
talmo_benchmark(bench_definitions
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_definitions.cpp
  LIBS talmo_analysis)
target_include_directories(bench_definitions PRIVATE ${CMAKE_CURRENT_LIST_DIR}/../tests/unit)
