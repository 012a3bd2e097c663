#!/usr/bin/env bash
# Installs the Debian packages Orvik needs to build, test and run, when any
# is missing. Safe to run again: it does nothing when all are present.
set -euo pipefail

packages=(build-essential cmake ninja-build pkg-config locales
          qt6-base-dev libqt6opengl6-dev qt6-charts-dev qt6-serialport-dev libgl-dev
          libgtest-dev libbenchmark-dev)
if [[ "${1:-}" == "--with-xvfb" ]]; then
  packages+=(xvfb xauth)
fi

sudo=()
if [[ $(id -u) -ne 0 ]]; then
  sudo=(sudo)
fi

# The file round trips are also tested under a locale whose decimal
# separator is a comma.
ensure_comma_locale() {
  locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$' && return 0
  command -v localedef >/dev/null || return 0
  "${sudo[@]}" localedef -i de_DE -f UTF-8 de_DE.UTF-8 2>/dev/null ||
    echo "Note: could not build the de_DE.UTF-8 locale; the comma-locale tests will be skipped."
}

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [[ ${#missing[@]} -eq 0 ]]; then
  ensure_comma_locale
  exit 0
fi

echo "Installing: ${missing[*]}"
if [[ ${#sudo[@]} -gt 0 ]] && ! command -v sudo >/dev/null; then
  echo "Please install as root: ${missing[*]}" >&2
  exit 1
fi
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
ensure_comma_locale
