#!/usr/bin/env bash
# Tries the README's two commands as a new user on a fresh, minimal Debian 12
# machine would: builds a bare `debootstrap --variant=minbase` root, clones
# the committed HEAD of this checkout into it, and inside it (chroot) runs
#   scripts/test.sh   must end with ctest's "100% tests passed"
#   scripts/run.sh    without a display: must say so with the xvfb-run hint
#
# Usage (as root): scripts/fresh-check.sh [WORK_DIR]
# WORK_DIR (default /var/tmp/orvik-fresh-check) must lie outside the checkout;
# it keeps the root of the last run and the logs. The bare root is made once
# and kept in /var/tmp/orvik-debian-base (ORVIK_ROOT_CACHE); each run starts
# from a new copy of it. Slow: the whole build runs inside the root (about 20
# minutes on two cores).
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
work="$(realpath -m "${1:-/var/tmp/orvik-fresh-check}")"
source "$repo/scripts/lib/debian-root.sh"

if [[ $(id -u) -ne 0 ]]; then
  echo "Run as root (debootstrap, mount and chroot need it)." >&2
  exit 2
fi
if [[ "$work/" == "$repo/"* ]]; then
  echo "WORK_DIR must lie outside the checkout." >&2
  exit 2
fi

root="$work/root"
commit=$(git -C "$repo" rev-parse HEAD)
echo "Fresh check of $(git -C "$repo" log -1 --format='%h %s' HEAD)"
make_fresh_root "$root" "$ROOT_CACHE"
mount_root_filesystems "$root"

# What is committed, not the working tree.
git clone --quiet --no-hardlinks --no-checkout "$repo" "$root/root/orvik"
git -C "$root/root/orvik" -c advice.detachedHead=false checkout --quiet "$commit"

echo "== scripts/test.sh (log: $work/test.log)"
test_status=0
run_in_root "$root" "cd /root/orvik && scripts/test.sh" >"$work/test.log" 2>&1 || test_status=$?
tail -n 4 "$work/test.log"

echo "== scripts/run.sh without a display (log: $work/run.log)"
run_status=0
run_in_root "$root" "cd /root/orvik && scripts/run.sh" >"$work/run.log" 2>&1 || run_status=$?
run_last_line=$(tail -n 1 "$work/run.log")
echo "$run_last_line (exit status $run_status)"

failed=0
if [[ $test_status -eq 0 ]] && grep -q '100% tests passed' "$work/test.log"; then
  echo "PASS  scripts/test.sh: 100% tests passed"
else
  echo "FAIL  scripts/test.sh (exit status $test_status): see $work/test.log"
  failed=1
fi
# Without a display the run command cannot start the program: it must say so
# in one line naming xvfb-run and fail (exit status 1), after a good build.
if [[ $run_status -eq 1 && "$run_last_line" == *"No display found"*"xvfb-run"* ]]; then
  echo "PASS  scripts/run.sh: built, then asked for a display"
else
  echo "FAIL  scripts/run.sh (exit status $run_status): see $work/run.log"
  failed=1
fi
exit $failed
