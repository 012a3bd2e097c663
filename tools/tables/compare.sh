#!/bin/bash
# Compares the GA (the window's defaults) and the (1+λ) evolution strategy
# (orvik-batch's defaults for it) on the same evaluation budget: for every
# table, at its exact minimum of AND terms and at the minimum + 2, RUNS runs
# of each; prints a Markdown table of runs solved and the median evaluations
# of the solved runs.
#
#   tools/tables/compare.sh [BUDGET [RUNS [JOBS]]]      (default 1000000 30 2)
#
# Run from the checkout after building (build/bin); writes the generated
# tables to tables/ and the summary files to compare/.
set -euo pipefail
budget=${1:-1000000}
runs=${2:-30}
jobs=${3:-2}
bin=build/bin
here=$(dirname "$0")

"$here/make-tables.py" tables > /dev/null
mkdir -p compare

# One row of the table from the two summary files: runs solved and the
# median evaluations of the solved runs, for each, and their ratio.
row() {
    python3 - "$@" <<'PY'
import csv, statistics, sys
name, terms, minimum, runs, ga, es = sys.argv[1:]
def cell(path):
    rows = list(csv.DictReader(open(path)))
    solved = [int(r["evaluations"]) for r in rows if r["reached_max"] == "1"]
    median = statistics.median(solved) if solved else None
    return len(solved), median
def text(median):
    return "%.2f M" % (median / 1e6) if median >= 1e6 else "%.0f k" % (median / 1e3) if median >= 1e4 \
        else "%.1f k" % (median / 1e3) if median >= 1e3 else "%d" % median
cells = [cell(ga), cell(es)]
shown = ["%d of %s" % (n, runs) + (", " + text(m) if n else "") for n, m in cells]
ratio = "%.1fx" % (cells[0][1] / cells[1][1]) if cells[0][0] and cells[1][0] else "-"
label = terms + (" (minimum)" if terms == minimum else "")
print("| %s | %s | %s | %s | %s |" % (name, label, shown[0], shown[1], ratio))
PY
}

echo "| table (inputs/outputs) | AND terms | GA: solved, median evaluations | (1+4)-ES | GA / ES |"
echo "|---|---|---|---|---|"
for table in examples/adder2.tbl tables/*.tbl; do
    read -r _ size minimum < <("$bin/orvik-min-terms" "$table")
    name=$(basename "$table" .tbl)
    for terms in "$minimum" $((minimum + 2)); do
        common=("$table" --terms "$terms" --runs "$runs" --jobs "$jobs" --evaluations "$budget")
        "$bin/orvik-batch" "${common[@]}" --summary "compare/$name-$terms-ga.csv" > /dev/null 2>&1
        "$bin/orvik-batch" "${common[@]}" --strategy es --summary "compare/$name-$terms-es.csv" > /dev/null 2>&1
        row "$name ($size)" "$terms" "$minimum" "$runs" "compare/$name-$terms-ga.csv" "compare/$name-$terms-es.csv"
    done
done
