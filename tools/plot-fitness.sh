#!/usr/bin/env bash
# Plots the median and the quartiles of the maximum fitness per generation
# over the runs of a statistics file (orvik-batch --stats, or "Save
# statistics..." of the fitness window), with gnuplot.
#
#   tools/plot-fitness.sh STATS.csv OUT.png [TITLE]
#
# Several files concatenated (with or without their header lines) plot as
# one set of runs; a run is told apart by its run and seed fields. A run that
# stopped early (at the maximum fitness) keeps its last value for the later
# generations, so the curves describe every run at every generation.
# The quartiles interpolate linearly, as orvik-batch's printed summary does.
#
# Needs gnuplot (Debian: apt-get install gnuplot-nox) and awk.
set -euo pipefail

if [[ $# -lt 2 || $# -gt 3 ]]; then
  echo "usage: $0 STATS.csv OUT.png [TITLE]" >&2
  exit 2
fi
stats=$1
out=$2
title=${3:-"Maximum fitness per generation"}
command -v gnuplot >/dev/null || { echo "$0: needs gnuplot (apt-get install gnuplot-nox)" >&2; exit 1; }
[[ -r $stats ]] || { echo "$0: cannot read $stats" >&2; exit 1; }

data=$(mktemp)
trap 'rm -f "$data"' EXIT

# One line per generation: generation, first quartile, median, third
# quartile, smallest and largest maximum, number of runs.
LC_ALL=C awk -F, '
  function quantile(p,   pos, lo, hi) {
    pos = p * (n - 1); lo = int(pos); hi = (lo + 1 < n) ? lo + 1 : lo
    return v[lo] + (pos - lo) * (v[hi] - v[lo])
  }
  $1 == "run" || NF < 6 { next }
  {
    key = $1 "," $2
    if (!(key in first)) { first[key] = $3; runs[++runCount] = key }
    value[key, $3] = $4
    if (!($3 in seen)) { seen[$3] = 1; gens[++genCount] = $3 + 0 }
  }
  END {
    # Generations in increasing order (insertion sort: files are small).
    for (i = 2; i <= genCount; i++) {
      g = gens[i]; for (j = i - 1; j >= 1 && gens[j] > g; j--) gens[j + 1] = gens[j]; gens[j + 1] = g
    }
    for (i = 1; i <= genCount; i++) {
      g = gens[i]; n = 0
      for (r = 1; r <= runCount; r++) {
        key = runs[r]
        if (g < first[key]) continue
        if ((key, g) in value) last[key] = value[key, g]
        x = last[key]
        for (j = n - 1; j >= 0 && v[j] > x; j--) v[j + 1] = v[j]
        v[j + 1] = x; n++
      }
      if (n > 0) printf "%d %.17g %.17g %.17g %.17g %.17g %d\n", g, quantile(0.25), quantile(0.5), quantile(0.75), v[0], v[n - 1], n
    }
  }' "$stats" > "$data"

[[ -s $data ]] || { echo "$0: $stats holds no statistics rows" >&2; exit 1; }
runs=$(LC_ALL=C awk -F, '$1 != "run" && NF >= 6 { k[$1 "," $2] = 1 } END { print length(k) }' "$stats")

LC_ALL=C gnuplot <<GNUPLOT
set terminal pngcairo size 800,480 font "DejaVu Sans,10"
set output "$out"
set title "$title ($runs runs)"
set xlabel "Generation"
set ylabel "Maximum fitness"
set key bottom right
set grid
set offsets 0, 0, 0.5, 0
plot "$data" using 1:5:6 with filledcurves lc rgb "#e6e6f5" title "smallest to largest", \
     "$data" using 1:2:4 with filledcurves lc rgb "#9fa8da" title "quartiles", \
     "$data" using 1:3 with lines lw 2 lc rgb "#1a237e" title "median"
GNUPLOT
echo "$out"
