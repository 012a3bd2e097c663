#!/usr/bin/env bash
# Builds the Debian package (installing what it needs) and shows its control
# data: build/orvik_<version>_<arch>.deb, which `apt install ./orvik_*.deb`
# installs with the Debian runtime libraries it depends on.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${ORVIK_BUILD_DIR:-$root/build}"

"$root/scripts/deps.sh" --with-packaging
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target package
deb=$(ls -t "$build"/orvik_*.deb | head -n 1)
dpkg-deb --info "$deb"
echo "Wrote $deb"
