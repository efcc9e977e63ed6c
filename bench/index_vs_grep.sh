#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Times the build of the definition index over a generated mod of 150 files
# (5 MB) beside `grep -c =` over the same files, taking turns for 11 rounds;
# the fastest round of each, warm page cache. Both are whole processes,
# started the same way.
#   bench/index_vs_grep.sh [BUILD_DIR]     (default: build)
set -eu
. "$(dirname "$0")/best-of.sh"
generated "${1:-build}" bench_definitions

for round in $(seq "$rounds"); do
    timed grep grep -c = "$dir"/file*.qc
    timed index "$tool" index "$dir"
done
shown grep
shown index
echo "index: $("$tool" index "$dir")"
echo "index/grep: $(ratio index grep)"
