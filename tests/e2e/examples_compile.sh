#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Compiles QuakeC with fteqcc in a scratch directory.
#
#   examples_compile.sh mod MODDIR
#       copies the example mod and compiles it as it is.
#   examples_compile.sh help MODDIR EXAMPLES_TXT
#       compiles every section of the examples help page on top of the
#       example mod: the code of a section is every line between a pair of
#       dash-only lines; each section is added to a fresh copy of the mod.
#
# Exits non-zero on the first failure, naming it.
set -u

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

command -v fteqcc >/dev/null 2>&1 || fail "fteqcc is not installed"

mode=${1:-}
moddir=${2:-}
[ -f "$moddir/progs.src" ] || fail "no progs.src in '$moddir'"

scratch=$(mktemp -d "${TMPDIR:-/tmp}/talmo-qc.XXXXXX") || fail "cannot make a scratch directory"
trap 'rm -rf "$scratch"' EXIT

# The first line of progs.src (the first non-blank, comment-free word)
# names the output file, relative to the progs.src folder.
progs_output() {
    sed -e 's://.*$::' "$1/progs.src" | awk 'NF { print $1; exit }'
}

# compile DIR LABEL: runs fteqcc in DIR and checks the output file.
compile() {
    out=$(progs_output "$1")
    [ -n "$out" ] || fail "$2: progs.src names no output file"
    case "$out" in
        /* | *..*) fail "$2: output '$out' would leave the scratch directory" ;;
    esac
    if ! (cd "$1" && fteqcc >fteqcc.out 2>&1); then
        cat "$1/fteqcc.out" >&2
        fail "$2: fteqcc reported errors"
    fi
    if grep -q -E ": error|\*+ ERROR" "$1/fteqcc.out"; then
        cat "$1/fteqcc.out" >&2
        fail "$2: fteqcc printed an error but exited 0"
    fi
    [ -s "$1/$out" ] || fail "$2: fteqcc wrote no $out"
    echo "ok: $2 -> $out"
}

case "$mode" in
mod)
    cp -R "$moddir" "$scratch/mod" || fail "cannot copy the mod"
    rm -f "$scratch/mod/progs.dat"
    compile "$scratch/mod" "example mod"
    ;;
help)
    examples=${3:-}
    [ -f "$examples" ] || fail "no examples text '$examples'"
    # Split the page: one file per section "13.N" holding the code blocks.
    awk -v dir="$scratch" '
        /^13\.[0-9]+[ .]/ { split($1, a, "."); section = a[2]; next }
        /^-----+[ \t\r]*$/ {
            if (section == "") { print "code block before any section" > "/dev/stderr"; exit 2 }
            inside = !inside
            if (!inside) blocks[section]++
            next
        }
        inside { sub(/\r$/, ""); print > (dir "/example" section ".qc") }
        END {
            if (inside) { print "unterminated code block" > "/dev/stderr"; exit 2 }
            for (s in blocks) n++
            print n > (dir "/count")
        }
    ' "$examples" || fail "cannot split '$examples'"
    count=$(cat "$scratch/count")
    [ "$count" -ge 6 ] || fail "expected code in 6 sections, found ${count:-0}"
    for qc in "$scratch"/example*.qc; do
        name=$(basename "$qc" .qc)
        rm -rf "$scratch/$name"
        cp -R "$moddir" "$scratch/$name" || fail "cannot copy the mod"
        rm -f "$scratch/$name/progs.dat"
        cp "$qc" "$scratch/$name/$name.qc"
        printf '\n%s.qc\n' "$name" >>"$scratch/$name/progs.src"
        compile "$scratch/$name" "$name (section 13.${name#example})"
    done
    ;;
*)
    fail "usage: $0 mod MODDIR | help MODDIR EXAMPLES_TXT"
    ;;
esac
exit 0
