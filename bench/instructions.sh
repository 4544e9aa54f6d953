#!/bin/sh
# Instructions per table cell, counted by callgrind (independent of the machine's load).
#
#   bench/instructions.sh [BUILD_DIR]     (default: build)
#
# new T: a TYPE II table from a pairs file whose temperature changes every row (liquid
#        at 10 MPa), 2000 rows minus 20 rows, divided by 1980: every cell computes a new
#        saturation state and searches its density from scratch.
# same T: a TYPE I table with T as the ROW and 100 pressures (10..59.5 MPa) as the
#        COLUMN, 10 rows x 100 columns minus 10 rows x 1 column, divided by 990: the
#        cells of a row share the saturation state of their temperature.
# Both run with --jobs 1 and the property Cp.
set -eu
build=${1:-build}
cli="$build/src/cli/kelvane-cli"
[ -x "$cli" ] || { echo "no $cli (build the kelvane-cli target first)" >&2; exit 2; }
command -v valgrind >/dev/null || { echo "valgrind is not installed" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Instructions of one run of kelvane-cli with the given arguments.
count() {
    valgrind --tool=callgrind --callgrind-out-file="$work/cg.out" "$cli" table "$@" \
        --property 11 --jobs 1 --out "$work/table.txt" >/dev/null 2>&1
    sed -n 's/^summary: *//p' "$work/cg.out"
}

# pairs FILE ROWS T0 T1: ROWS lines "T<TAB>10" with T from T0 to T1, after a heading.
pairs() {
    awk -v n="$2" -v a="$3" -v b="$4" 'BEGIN {
        print "T\tP";
        for (i = 0; i < n; ++i) printf "%.6f\t10\n", a + (b - a) * i / (n - 1) }' > "$1"
}

printf '%-10s %14s %14s\n' fluid "new T/cell" "same T/cell"
for fluid_range in "water 300 500" "methanol 200 450" "co2 220 290"; do
    set -- $fluid_range
    fluid=$1 t0=$2 t1=$3
    pairs "$work/p2000.txt" 2000 "$t0" "$t1"
    pairs "$work/p20.txt" 20 "$t0" "$t1"
    big=$(count --fluid "$fluid" --type II --file "$work/p2000.txt")
    small=$(count --fluid "$fluid" --type II --file "$work/p20.txt")
    step=$(awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.6f", (b - a) / 9 }')
    wide=$(count --fluid "$fluid" --type I --row-series "T=$t0,$step,10" --col-series "P=10,0.5,100")
    narrow=$(count --fluid "$fluid" --type I --row-series "T=$t0,$step,10" --col-series "P=10,0.5,1")
    awk -v f="$fluid" -v b="$big" -v s="$small" -v w="$wide" -v n="$narrow" \
        'BEGIN { printf "%-10s %14.0f %14.0f\n", f, (b - s) / 1980, (w - n) / 990 }'
done
