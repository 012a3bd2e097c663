# Shared by fresh-check.sh and deb-check.sh (sourced, not run): a fresh
# minimal Debian root to try Orvik in, as a new user's machine would be.
#
#   debian_mirror                 the mirror this machine's apt uses for $DEBIAN_SUITE
#   make_fresh_root ROOT CACHE    unpacks a bare minbase root into ROOT
#                                 (CACHE: where the bare root is kept, $ROOT_CACHE)
#   mount_root_filesystems ROOT   binds /proc, /sys, /dev, /dev/pts (undone at exit)
#   run_in_root ROOT COMMAND      runs COMMAND in bash inside the root, clean environment
#
# The caller must be root and must `set -euo pipefail`.

DEBIAN_SUITE="${DEBIAN_SUITE:-bookworm}"
ROOT_CACHE="${ORVIK_ROOT_CACHE:-/var/tmp/orvik-debian-base}"

# The URI of the first enabled "deb" source for $DEBIAN_SUITE in the apt
# sources, in either format (deb822 *.sources, one-line sources.list).
# ORVIK_DEBIAN_MIRROR overrides it.
debian_mirror() {
  if [[ -n "${ORVIK_DEBIAN_MIRROR:-}" ]]; then
    echo "${ORVIK_DEBIAN_MIRROR%/}"
    return
  fi
  local mirror="" file
  for file in /etc/apt/sources.list.d/*.sources; do
    [[ -r "$file" ]] || continue
    mirror=$(awk -v suite="$DEBIAN_SUITE" '
      function flush() {
        if (!found && types ~ /(^| )deb( |$)/ && (" " suites " ") ~ (" " suite " ") &&
            tolower(enabled) != "no" && uris != "") {
          split(uris, u, " "); print u[1]; found = 1
        }
        types = uris = suites = enabled = ""
      }
      /^[ \t]*#/ { next }
      /^[ \t]*$/ { flush(); next }
      { field = tolower($1); $1 = ""; sub(/^ +/, "") }
      field == "types:" { types = $0 }
      field == "uris:" { uris = $0 }
      field == "suites:" { suites = $0 }
      field == "enabled:" { enabled = $0 }
      END { flush() }' "$file")
    [[ -n "$mirror" ]] && break
  done
  if [[ -z "$mirror" ]]; then
    for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
      [[ -r "$file" ]] || continue
      mirror=$(awk -v suite="$DEBIAN_SUITE" '
        $1 == "deb" {
          sub(/\[[^]]*\]/, "")          # options: [arch=... signed-by=...]
          if ($3 == suite) { print $2; exit }
        }' "$file")
      [[ -n "$mirror" ]] && break
    done
  fi
  if [[ ! "$mirror" =~ ^(https?|ftp|file):// ]]; then
    echo "No '$DEBIAN_SUITE' Debian mirror found in the apt sources; set ORVIK_DEBIAN_MIRROR." >&2
    return 1
  fi
  echo "${mirror%/}"
}

# A bind mount left under a folder would make `rm -rf` reach the host's
# files: refuse to delete while anything is mounted below it.
remove_root() {
  local root="$1"
  [[ -e "$root" ]] || return 0
  if grep -q " $(realpath "$root")/" /proc/mounts; then
    echo "Something is still mounted below $root; not deleting it." >&2
    return 1
  fi
  rm -rf --one-file-system "$root"
}

# debootstrap is not part of a fresh Debian: install it when it is missing,
# as the set-up installs the build's packages.
ensure_debootstrap() {
  command -v debootstrap >/dev/null && return 0
  echo "Installing the Debian package debootstrap"
  { apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap; } \
    >/dev/null || {
    echo "Could not install debootstrap (apt-get install debootstrap)." >&2
    return 1
  }
}

# Unpacks a bare `debootstrap --variant=minbase` root of $DEBIAN_SUITE into
# ROOT (deleted first). The bare root is made once and kept as a tarball in
# CACHE (outside the checkout), so later runs start from the same bare root
# without downloading it again; ORVIK_REFRESH_BASE=1 makes it anew.
make_fresh_root() {
  local root="$1" cache="$2" mirror arch base
  mirror=$(debian_mirror)
  arch=$(dpkg --print-architecture)
  base="$cache/minbase-$DEBIAN_SUITE-$arch-$(echo "$mirror" | md5sum | cut -c1-8).tar"
  mkdir -p "$cache"
  if [[ ! -s "$base" || "${ORVIK_REFRESH_BASE:-0}" == 1 ]]; then
    echo "Making a bare $DEBIAN_SUITE root with debootstrap from $mirror (once; kept in $base)"
    ensure_debootstrap
    local staging="$cache/staging"
    remove_root "$staging"
    debootstrap --variant=minbase "$DEBIAN_SUITE" "$staging" "$mirror" >"$cache/debootstrap.log" 2>&1 || {
      echo "debootstrap failed; see $cache/debootstrap.log" >&2
      return 1
    }
    tar -C "$staging" --numeric-owner -cf "$base.part" .
    mv "$base.part" "$base"
    remove_root "$staging"
  fi
  remove_root "$root"
  mkdir -p "$root"
  tar -C "$root" --numeric-owner -xpf "$base"
  # Name resolution for apt inside the root; and no service may start there.
  cp /etc/resolv.conf "$root/etc/resolv.conf"
  printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
  chmod +x "$root/usr/sbin/policy-rc.d"
}

ROOT_MOUNTS=()

unmount_root_filesystems() {
  local i
  for ((i = ${#ROOT_MOUNTS[@]} - 1; i >= 0; i--)); do
    umount "${ROOT_MOUNTS[i]}" 2>/dev/null || umount -l "${ROOT_MOUNTS[i]}" ||
      echo "Could not unmount ${ROOT_MOUNTS[i]}" >&2
  done
  ROOT_MOUNTS=()
}

# Binds the host's /proc, /sys, /dev and /dev/pts into ROOT. They are
# unmounted when the calling script exits, however it exits.
mount_root_filesystems() {
  local root="$1" dir
  trap unmount_root_filesystems EXIT
  trap 'exit 130' INT
  trap 'exit 143' TERM
  for dir in /proc /sys /dev /dev/pts; do
    mkdir -p "$root$dir"
    mount --bind "$dir" "$root$dir"
    ROOT_MOUNTS+=("$root$dir")
  done
}

# Runs COMMAND with bash inside ROOT as root, with the environment of a
# fresh login: no display, no inherited variables.
run_in_root() {
  local root="$1" command="$2"
  chroot "$root" /usr/bin/env -i HOME=/root TERM="${TERM:-dumb}" LANG=C.UTF-8 \
    PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    /bin/bash -c "$command"
}
