#!/bin/sh
# Instructions per state of kelvane.properties on the 100 000-state grid of each fluid
# against the engine's own loop over the same grid (kelvane_profile FLUID grid), counted
# by callgrind, so the comparison does not depend on the machine's load. Each count is
# that of two passes minus one pass, in one process, on one thread.
#
#   bench/python_instructions.sh [BUILD_DIR]     (default: build; needs -DKELVANE_BENCH=ON
#                                                 and the kelvane_profile and kelvane_python targets)
set -eu
build=${1:-build}
profile="$build/bench/kelvane_profile"
[ -x "$profile" ] || { echo "no $profile" >&2; exit 2; }
command -v valgrind >/dev/null || { echo "valgrind is not installed" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
here=$(cd "$(dirname "$0")" && pwd)

count() {
    valgrind --tool=callgrind --callgrind-out-file="$work/cg.out" "$@" >/dev/null 2>&1
    sed -n 's/^summary: *//p' "$work/cg.out"
}

python_call() {
    PYTHONPATH="$build/python" count /usr/bin/python3 -c "
import sys; sys.path.insert(0, '$here')
import numpy as np, kelvane
from python_bench import grid
T, P = grid('$1')
for _ in range($2):
    kelvane.properties('$1', T=T, P=P, threads=1)
"
}

printf '%-10s %14s %14s %7s\n' fluid "C++/state" "Python/state" ratio
for fluid in water methanol co2; do
    c1=$(count "$profile" "$fluid" grid 1)
    c2=$(count "$profile" "$fluid" grid 2)
    p1=$(python_call "$fluid" 1)
    p2=$(python_call "$fluid" 2)
    awk -v f="$fluid" -v a="$c1" -v b="$c2" -v c="$p1" -v d="$p2" \
        'BEGIN { cpp = (b - a) / 100000; py = (d - c) / 100000; printf "%-10s %14.0f %14.0f %7.3f\n", f, cpp, py, py / cpp }'
done
