#!/bin/sh
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

now_ms() { date +%s%N | cut -b1-13; }

# best_of NAME COMMAND...: runs the command 5 times, prints the fastest.
# Output goes to a file: GNU grep stops at the first match when its output
# is /dev/null, which would time almost nothing.
best_of() {
    name=$1
    shift
    best=
    i=0
    while [ $i -lt 5 ]; do
        t0=$(now_ms)
        "$@" >"$out"
        t1=$(now_ms)
        t=$((t1 - t0))
        if [ -z "$best" ] || [ $t -lt $best ]; then best=$t; fi
        i=$((i + 1))
    done
    printf '%-28s %6d ms\n' "$name" "$best"
    eval "time_$(echo "$name" | tr -c 'a-z\n' '_')=$best"
}

cat "$dir"/*.qc >/dev/null
best_of grep "grep" -c = "$dir"/file*.qc
best_of funcs "$tool" funcs "$dir"/file*.qc
best_of atribs "$tool" atribs "$dir"/file*.qc
best_of count "$tool" count "$dir"/file*.qc
echo "lines with \"=\": grep $(grep -c = "$dir"/file*.qc | awk -F: '{ s += $NF } END { print s }'), reader $("$tool" count "$dir"/file*.qc)"
echo "entries: funcs() $("$tool" funcs "$dir"/file*.qc), .atributes $("$tool" atribs "$dir"/file*.qc)"
echo "funcs()/grep: $(awk "BEGIN { printf \"%.2f\", $time_funcs / ($time_grep > 0 ? $time_grep : 1) }")"
echo "atribs/grep:  $(awk "BEGIN { printf \"%.2f\", $time_atribs / ($time_grep > 0 ? $time_grep : 1) }")"
echo "count/grep:   $(awk "BEGIN { printf \"%.2f\", $time_count / ($time_grep > 0 ? $time_grep : 1) }")"
