# Timing shared by the *_vs_grep.sh scripts (bash; sourced, not run).
# Needs $out, a file for the timed commands' output: GNU grep stops at the
# first match when its output is /dev/null, which would time almost nothing.
#
# The clock is bash's own: a `date` process or a subshell per reading would
# add milliseconds to every figure and hide the ratios. The commands compared
# take turns, round after round, so that a busy spell of the machine slows
# them alike; each keeps its fastest round.

rounds=11

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
