#!/bin/bash
# Tries settings of the (1+λ) evolution strategy on every table of
# make-tables.py (and examples/adder2.tbl) at its exact minimum of AND terms:
# RUNS runs per setting on BUDGET evaluations each; prints a Markdown table of
# runs solved and the median evaluations of the solved runs.
#
#   tools/tables/tune.sh [BUDGET [RUNS [JOBS [SETTING...]]]]   (default 1000000 30 2)
#
# SETTING: orvik-batch options in one argument, e.g. "--lambda 2"; without
# any, the list below.
# A setting's rate "0.5/L" or "2/L" is turned into a number for each table's
# chromosome length L (2 x inputs x AND terms x outputs).
set -euo pipefail
budget=${1:-1000000}
runs=${2:-30}
jobs=${3:-2}
bin=build/bin
here=$(dirname "$0")
shift $(($# < 3 ? $# : 3))
settings=("$@")
[ ${#settings[@]} -gt 0 ] || settings=(
    "--lambda 4"
    "--lambda 1"
    "--lambda 2"
    "--lambda 8"
    "--lambda 4 --mutation 0.5/L"
    "--lambda 4 --mutation 2/L"
    "--lambda 4 --es-mutation bits:1"
    "--lambda 4 --es-mutation bits:2"
    "--lambda 4 --es-mutation fuse-pairs"
)

"$here/make-tables.py" tables > /dev/null
mkdir -p compare

header="| setting |"
rule="|---|"
for table in examples/adder2.tbl tables/*.tbl; do
    header+=" $(basename "$table" .tbl) |"
    rule+="---|"
done
echo "$header"
echo "$rule"
for setting in "${settings[@]}"; do
    line="| \`$setting\` |"
    for table in examples/adder2.tbl tables/*.tbl; do
        read -r _ size terms < <("$bin/orvik-min-terms" "$table")
        inputs=${size%/*}
        outputs=${size#*/}
        length=$((2 * inputs * terms * outputs))
        # shellcheck disable=SC2086
        arguments=$(echo "$setting" | sed -E "s#([0-9.]+)/L#\$(python3 -c 'print(\1 / $length)')#")
        arguments=$(eval echo "$arguments")
        summary=compare/tune.csv
        # shellcheck disable=SC2086
        "$bin/orvik-batch" "$table" --terms "$terms" --runs "$runs" --jobs "$jobs" --evaluations "$budget" \
            --strategy es $arguments --summary "$summary" > /dev/null 2>&1
        line+=" $(python3 - "$summary" <<'PY'
import csv, statistics, sys
rows = list(csv.DictReader(open(sys.argv[1])))
solved = [int(r["evaluations"]) for r in rows if r["reached_max"] == "1"]
m = statistics.median(solved) if solved else 0
text = "%.2f M" % (m / 1e6) if m >= 1e6 else "%.0f k" % (m / 1e3) if m >= 1e4 else "%.1f k" % (m / 1e3)
print("%d, %s" % (len(solved), text) if solved else "0")
PY
) |"
    done
    echo "$line"
done
