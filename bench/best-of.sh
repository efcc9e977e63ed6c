# Timing shared by the *_vs_grep.sh scripts (bash; sourced, not run).
# Needs $out, a file for the timed commands' output: GNU grep stops at the
# first match when its output is /dev/null, which would time almost nothing.

# best_of NAME COMMAND...: runs the command 5 times, prints the fastest as
# "NAME  T ms" and keeps it in microseconds as time_NAME. The clock is bash's
# own: a `date` process or a subshell per reading would add milliseconds to
# every figure and hide the ratios.
best_of() {
    local name=$1 best= i t t0 t1
    shift
    for i in 1 2 3 4 5; do
        t0=${EPOCHREALTIME/[.,]/}
        "$@" >"$out"
        t1=${EPOCHREALTIME/[.,]/}
        t=$((10#$t1 - 10#$t0))
        if [ -z "$best" ] || [ "$t" -lt "$best" ]; then best=$t; fi
    done
    printf '%-28s %6d.%03d ms\n' "$name" $((best / 1000)) $((best % 1000))
    eval "time_$name=$best"
}

# ratio A B: A's time over B's, two decimals.
ratio() {
    local a="time_$1" b="time_$2"
    awk "BEGIN { printf \"%.2f\", ${!a} / (${!b} > 0 ? ${!b} : 1) }"
}
