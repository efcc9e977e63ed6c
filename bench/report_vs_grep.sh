#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Times the report scans over 200 generated QuakeC-like files (20 MB) beside
# `grep -c =` over the same files, taking turns for 11 rounds; the fastest
# round of each, warm page cache.
#   bench/report_vs_grep.sh [BUILD_DIR]     (default: build)
set -eu
. "$(dirname "$0")/best-of.sh"
generated "${1:-build}" bench_analysis_scan

for round in $(seq "$rounds"); do
    timed grep grep -c = "$dir"/file*.qc
    timed funcs "$tool" funcs "$dir"/file*.qc
    timed atribs "$tool" atribs "$dir"/file*.qc
    timed count "$tool" count "$dir"/file*.qc
done
for name in grep funcs atribs count; do shown "$name"; done
echo "lines with \"=\": grep $(grep -c = "$dir"/file*.qc | awk -F: '{ s += $NF } END { print s }'), reader $("$tool" count "$dir"/file*.qc)"
echo "entries: funcs() $("$tool" funcs "$dir"/file*.qc), .atributes $("$tool" atribs "$dir"/file*.qc)"
echo "funcs()/grep: $(ratio funcs grep)"
echo "atribs/grep:  $(ratio atribs grep)"
echo "count/grep:   $(ratio count grep)"
