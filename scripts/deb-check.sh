#!/usr/bin/env bash
# Installs the Debian package into a fresh, minimal Debian 12 root with
# `apt install ./orvik_*.deb`, as a user would, and checks it there:
#   - the package depends on runtime libraries only (no -dev package)
#   - `orvik --check-install`, started from /tmp, finds the pictures and README
#   - the desktop entry and icon are in place
#   - `orvik` started from /tmp under xvfb-run shows its window: a screenshot
#     is written to WORK_DIR/orvik-from-tmp.png (message boxes that appear
#     at start are dismissed with Return, after a screenshot of each).
#
# Usage (as root): scripts/deb-check.sh [DEB] [WORK_DIR]
# DEB defaults to the newest build/orvik_*.deb (scripts/package.sh makes it);
# WORK_DIR (default /var/tmp/orvik-deb-check) must lie outside the checkout.
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
deb="${1:-$(ls -t "${ORVIK_BUILD_DIR:-$repo/build}"/orvik_*.deb 2>/dev/null | head -n 1)}"
work="$(realpath -m "${2:-/var/tmp/orvik-deb-check}")"
source "$repo/scripts/lib/debian-root.sh"

if [[ $(id -u) -ne 0 ]]; then
  echo "Run as root (debootstrap, mount and chroot need it)." >&2
  exit 2
fi
if [[ ! -f "$deb" ]]; then
  echo "No package: make one with scripts/package.sh, or name it." >&2
  exit 2
fi
if [[ "$work/" == "$repo/"* ]]; then
  echo "WORK_DIR must lie outside the checkout." >&2
  exit 2
fi

failed=0
pass() { echo "PASS  $*"; }
fail() { echo "FAIL  $*"; failed=1; }

depends=$(dpkg-deb --field "$deb" Depends)
echo "Depends: $depends"
if [[ -n "$depends" && ! "$depends" =~ -dev([ ,]|$) ]]; then
  pass "the package depends on runtime packages only"
else
  fail "the package's dependencies: '$depends'"
fi

root="$work/root"
mkdir -p "$work"
rm -f "$work"/*.png "$work"/*.xwd  # the last run's screenshots
make_fresh_root "$root" "$ROOT_CACHE"
mount_root_filesystems "$root"
cp "$deb" "$root/tmp/"
package="/tmp/$(basename "$deb")"

echo "== apt install .$package (log: $work/install.log)"
if run_in_root "$root" "apt-get update -qq && cd /tmp && DEBIAN_FRONTEND=noninteractive apt install -y ./$(basename "$deb")" \
  >"$work/install.log" 2>&1; then
  pass "apt install ./$(basename "$deb")"
else
  fail "apt install: see $work/install.log"
  exit 1
fi

if run_in_root "$root" "cd /tmp && orvik --check-install" >"$work/check-install.log" 2>&1; then
  pass "orvik --check-install from /tmp: $(grep pictures "$work/check-install.log")"
else
  fail "orvik --check-install: $(cat "$work/check-install.log")"
fi
for file in /usr/share/applications/orvik.desktop /usr/share/icons/hicolor/scalable/apps/orvik.svg; do
  [[ -f "$root$file" ]] && pass "$file is installed" || fail "$file is missing"
done

# The window, under a virtual display started by xvfb-run, from /tmp. The
# display's frame buffer is kept in a file (-fbdir) that is read from here.
echo "== orvik under xvfb-run (log: $work/gui.log)"
run_in_root "$root" "DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends xvfb xauth xdotool" \
  >>"$work/install.log" 2>&1
cat >"$root/tmp/show-orvik.sh" <<'EOF'
#!/bin/bash
# Runs inside the virtual display: start Orvik, dismiss the message boxes
# shown at start (each one copied first), copy the screen, close Orvik.
orvik >/tmp/orvik.log 2>&1 &
pid=$!
sleep 8
# A message box is a second visible window of the program; Return presses its
# OK. There is no window manager: the keys go where the pointer is.
for box in 1 2 3 4 5; do
  boxes=()
  for window in $(xdotool search --onlyvisible --pid $pid 2>/dev/null); do
    [[ "$(xdotool getwindowname "$window")" == Orvik ]] || boxes+=("$window")
  done
  [[ ${#boxes[@]} -gt 0 ]] || break
  echo "message box $box: '$(xdotool getwindowname "${boxes[0]}")'"
  cp /tmp/fb/Xvfb_screen0 "/tmp/box-$box.xwd"
  xdotool mousemove --window "${boxes[0]}" 20 20 windowfocus "${boxes[0]}" key Return
  sleep 2
done
cp /tmp/fb/Xvfb_screen0 /tmp/orvik.xwd
kill $pid
wait $pid
echo "orvik exit status: $?"
EOF
chmod +x "$root/tmp/show-orvik.sh"
rm -f "$root"/tmp/*.xwd
mkdir -p "$root/tmp/fb"
run_in_root "$root" 'cd /tmp && xvfb-run -a -s "-screen 0 1400x900x24 -fbdir /tmp/fb" /tmp/show-orvik.sh' \
  >"$work/gui.log" 2>&1 || true
cat "$work/gui.log" "$root/tmp/orvik.log" 2>/dev/null
for shot in "$root"/tmp/*.xwd; do
  [[ -f "$shot" ]] || continue
  name=$(basename "$shot" .xwd)
  [[ "$name" == orvik ]] && name=orvik-from-tmp
  if command -v convert >/dev/null; then
    convert "xwd:$shot" "$work/$name.png" && echo "Screenshot: $work/$name.png"
  else
    cp "$shot" "$work/$name.xwd" && echo "Screenshot (XWD): $work/$name.xwd"
  fi
done
[[ -f "$root/tmp/orvik.xwd" ]] && pass "orvik ran under xvfb-run from /tmp" || fail "no screenshot of orvik"
exit $failed
