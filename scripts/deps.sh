#!/usr/bin/env bash
# Installs the Debian packages Orvik needs to build, test and run, when any
# is missing, then proves the set-up: CMake must find every package the
# build asks it for, or the Debian package that is missing is named.
# Safe to run again: it installs nothing when all are present.
#   --with-xvfb        also a virtual display (screenshots)
#   --with-packaging   also what `cpack` needs to make the .deb
set -euo pipefail

packages=(build-essential cmake ninja-build pkg-config locales
          qt6-base-dev libqt6opengl6-dev qt6-charts-dev qt6-serialport-dev libgl-dev
          libgtest-dev libbenchmark-dev
          desktop-file-utils appstream
          yosys berkeley-abc   # these two judge exported circuits in the tests
          python3)             # tools/tables: the benchmark tables and comparisons
for option in "$@"; do
  case "$option" in
    --with-xvfb) packages+=(xvfb xauth) ;;
    --with-packaging) packages+=(dpkg-dev file) ;;
    *) echo "Unknown option: $option" >&2; exit 2 ;;
  esac
done

# What the build finds with CMake's find_package, and the Debian package that
# provides it. A dependency of another CMake package comes before it, so the
# package named is the one really missing (Qt6Charts needs Qt6OpenGL).
cmake_packages=(
  "Qt6Core        qt6-base-dev"
  "Qt6Gui         qt6-base-dev"
  "Qt6Widgets     qt6-base-dev"
  "Qt6Test        qt6-base-dev"
  "Qt6OpenGL      libqt6opengl6-dev"
  "Qt6Charts      qt6-charts-dev"
  "Qt6SerialPort  qt6-serialport-dev"
  "GTest          libgtest-dev"
  "benchmark      libbenchmark-dev"
)

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

install_missing() {
  local missing=() p
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [[ ${#missing[@]} -eq 0 ]] && return 0
  echo "Installing: ${missing[*]}"
  if [[ ${#sudo[@]} -gt 0 ]] && ! command -v sudo >/dev/null; then
    echo "Please install as root: ${missing[*]}" >&2
    exit 1
  fi
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# Configures a throw-away CMake project that looks for each package of
# cmake_packages; fails naming the Debian packages of those not found.
check_cmake_finds_everything() {
  local probe names=() entry name package
  for entry in "${cmake_packages[@]}"; do
    read -r name _ <<<"$entry"
    names+=("$name")
  done
  probe=$(mktemp -d)
  cat >"$probe/CMakeLists.txt" <<'EOF'
cmake_minimum_required(VERSION 3.22)
project(orvik_dependency_probe LANGUAGES CXX)
foreach(name IN LISTS PROBE)
  find_package(${name} QUIET)
  if(NOT ${name}_FOUND)
    string(REPLACE "\n" " " reason "${${name}_NOT_FOUND_MESSAGE}")
    file(APPEND ${CMAKE_BINARY_DIR}/missing "${name} ${reason}\n")
  endif()
endforeach()
EOF
  local names_list
  names_list=$(IFS=';'; echo "${names[*]}")
  if ! cmake -S "$probe" -B "$probe/build" -DPROBE="$names_list" >"$probe/log" 2>&1; then
    echo "CMake cannot configure a C++ project (is build-essential installed?):" >&2
    cat "$probe/log" >&2
    rm -rf "$probe"
    exit 1
  fi
  if [[ ! -s "$probe/build/missing" ]]; then
    rm -rf "$probe"
    return 0
  fi
  local debian=() cmake_name reason
  while read -r cmake_name reason; do
    reason="${reason%%. *}"  # CMake's first sentence; the rest is debugging advice
    for entry in "${cmake_packages[@]}"; do
      read -r name package <<<"$entry"
      [[ "$name" == "$cmake_name" ]] || continue
      if dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        echo "CMake cannot use $cmake_name although $package is installed${reason:+: $reason}" >&2
      else
        echo "CMake cannot find $cmake_name: the Debian package $package is missing" >&2
        [[ " ${debian[*]} " == *" $package "* ]] || debian+=("$package")
      fi
    done
  done <"$probe/build/missing"
  rm -rf "$probe"
  if [[ ${#debian[@]} -gt 0 ]]; then
    echo "Missing Debian packages: ${debian[*]}  (apt-get install ${debian[*]})" >&2
  fi
  exit 1
}

install_missing
ensure_comma_locale
check_cmake_finds_everything
