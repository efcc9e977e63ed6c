#!/usr/bin/env bash
# Times the build of the definition index over a generated mod of 150 files
# (5 MB) beside `grep -c =` over the same files. Best of 5 runs each, warm
# page cache; both are whole processes, started the same way.
#   bench/index_vs_grep.sh [BUILD_DIR]     (default: build)
set -eu
build=${1:-build}
cmake --build "$build" --target bench_definitions >/dev/null
tool="$build/bench/bench_definitions"
dir=$(mktemp -d "${TMPDIR:-/tmp}/talmo-index-vs-grep.XXXXXX")
out=$(mktemp "${TMPDIR:-/tmp}/talmo-index-vs-grep-out.XXXXXX")
trap 'rm -rf "$dir" "$out"' EXIT
"$tool" generate "$dir"
echo "files: $(ls "$dir"/*.qc | wc -l), bytes: $(cat "$dir"/*.qc | wc -c)"

# Microseconds from bash itself, read without starting a process: a `date`
# or a subshell per reading would add milliseconds to both sides and hide
# the ratio.

# best_of NAME COMMAND...: runs the command 5 times, prints the fastest.
# Output goes to a file: GNU grep stops at the first match when its output
# is /dev/null, which would time almost nothing.
best_of() {
    name=$1
    shift
    best=
    i=0
    while [ $i -lt 5 ]; do
        t0=${EPOCHREALTIME/[.,]/}
        "$@" >"$out"
        t1=${EPOCHREALTIME/[.,]/}
        t=$((10#$t1 - 10#$t0))
        if [ -z "$best" ] || [ $t -lt $best ]; then best=$t; fi
        i=$((i + 1))
    done
    printf '%-28s %6d.%03d ms\n' "$name" $((best / 1000)) $((best % 1000))
    eval "time_$name=$best"
}

cat "$dir"/*.qc >/dev/null
best_of grep grep -c = "$dir"/file*.qc
best_of index "$tool" index "$dir"
echo "index: $("$tool" index "$dir")"
echo "index/grep: $(awk "BEGIN { printf \"%.2f\", $time_index / ($time_grep > 0 ? $time_grep : 1) }")"
