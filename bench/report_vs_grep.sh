#!/usr/bin/env bash
# Times the report scans over 200 generated QuakeC-like files (20 MB) beside
# `grep -c =` over the same files. Best of 5 runs each, warm page cache.
#   bench/report_vs_grep.sh [BUILD_DIR]     (default: build)
set -eu
build=${1:-build}
cmake --build "$build" --target bench_analysis_scan >/dev/null
tool="$build/bench/bench_analysis_scan"
dir=$(mktemp -d "${TMPDIR:-/tmp}/talmo-report-vs-grep.XXXXXX")
out=$(mktemp "${TMPDIR:-/tmp}/talmo-report-vs-grep-out.XXXXXX")
trap 'rm -rf "$dir" "$out"' EXIT
"$tool" generate "$dir"
echo "files: $(ls "$dir" | wc -l), bytes: $(cat "$dir"/*.qc | wc -c)"

. "$(dirname "$0")/best-of.sh"

cat "$dir"/*.qc >/dev/null
best_of grep grep -c = "$dir"/file*.qc
best_of funcs "$tool" funcs "$dir"/file*.qc
best_of atribs "$tool" atribs "$dir"/file*.qc
best_of count "$tool" count "$dir"/file*.qc
echo "lines with \"=\": grep $(grep -c = "$dir"/file*.qc | awk -F: '{ s += $NF } END { print s }'), reader $("$tool" count "$dir"/file*.qc)"
echo "entries: funcs() $("$tool" funcs "$dir"/file*.qc), .atributes $("$tool" atribs "$dir"/file*.qc)"
echo "funcs()/grep: $(ratio funcs grep)"
echo "atribs/grep:  $(ratio atribs grep)"
echo "count/grep:   $(ratio count grep)"
