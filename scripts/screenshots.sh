#!/usr/bin/env bash
# Remakes the pictures in docs/ (main window and chart after and during a
# run, the largest PAL) under a virtual
# display (installs xvfb when missing).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${ORVIK_BUILD_DIR:-$root/build}"

"$root/scripts/deps.sh" --with-xvfb
cmake -S "$root" -B "$build" -G Ninja >/dev/null
cmake --build "$build" --target orvik-screenshot
xvfb-run -a -s "-screen 0 1400x900x24" "$build/bin/orvik-screenshot" "$root/docs"
echo "Wrote the pictures in $root/docs"
