# Set-up and timing shared by the *_vs_grep.sh scripts (bash; sourced, not
# run).
#
# The clock is bash's own: a `date` process or a subshell per reading would
# add milliseconds to every figure and hide the ratios. The commands compared
# take turns, round after round, so that a busy spell of the machine slows
# them alike; each keeps its fastest round.

rounds=11

# generated BUILD_DIR PROGRAM: builds the benchmark PROGRAM, which writes its
# generated files into $dir; $tool is the program. $out takes the timed
# commands' output: GNU grep stops at the first match when its output is
# /dev/null, which would time almost nothing. Both go at exit. The files are
# read once, so that every round finds them in the page cache.
generated() {
    cmake --build "$1" --target "$2" >/dev/null
    tool="$1/bench/$2"
    dir=$(mktemp -d "${TMPDIR:-/tmp}/talmo-$2.XXXXXX")
    out=$(mktemp "${TMPDIR:-/tmp}/talmo-$2-out.XXXXXX")
    trap 'rm -rf "$dir" "$out"' EXIT
    "$tool" generate "$dir"
    echo "files: $(ls "$dir"/*.qc | wc -l), bytes: $(cat "$dir"/*.qc | wc -c)"
}

# timed NAME COMMAND...: runs the command once and keeps its time in
# microseconds as time_NAME when it is the fastest so far.
timed() {
    local name=$1 t0 t1 t best="time_$1"
    shift
    t0=${EPOCHREALTIME/[.,]/}
    "$@" >"$out"
    t1=${EPOCHREALTIME/[.,]/}
    t=$((10#$t1 - 10#$t0))
    if [ -z "${!best:-}" ] || [ "$t" -lt "${!best}" ]; then eval "time_$name=$t"; fi
}

# shown NAME: prints the fastest time of NAME as "NAME  T ms".
shown() {
    local best="time_$1"
    printf '%-28s %6d.%03d ms\n' "$1" $((${!best} / 1000)) $((${!best} % 1000))
}

# ratio A B: A's time over B's, two decimals.
ratio() {
    local a="time_$1" b="time_$2"
    awk "BEGIN { printf \"%.2f\", ${!a} / (${!b} > 0 ? ${!b} : 1) }"
}
