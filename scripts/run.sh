#!/usr/bin/env bash
# Builds Orvik (installing what it needs) and starts it in the current
# directory, where its files ("default.ga", "default.tbl", "fitness.bmp")
# are proposed. The schematic's pictures are found beside the executable.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${ORVIK_BUILD_DIR:-$root/build}"

"$root/scripts/deps.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target orvik

if [[ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}${QT_QPA_PLATFORM:-}" ]]; then
  echo "No display found: run it under a virtual display with  xvfb-run -a scripts/run.sh  (apt-get install xvfb)."
  exit 1
fi
exec "$build/bin/orvik" "$@"
