#!/usr/bin/env bash
# `make test` as a new user runs it: on a fresh Debian 12 (debootstrap
# minbase, plus make and git), in a clone of this repository's HEAD, as root
# with an empty environment. Needs root; installs debootstrap if missing.
#
# The fresh root is made once and kept under /var/cache, then copied for each
# run, so every run starts from the same untouched system.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
cache=${VK41_CI_CACHE:-/var/cache/vk41-ci}
pristine=$cache/bookworm-minbase
suite=bookworm

SUDO=""
[ "$(id -u)" = 0 ] || SUDO=sudo

say() { printf '%s ci: %s\n' "$(date +%H:%M:%S)" "$*"; }

# The Debian mirror this machine's own apt sources name for the suite, so
# that no host name is written into the repository.
mirror() {
    local uri
    uri=$(grep -hs -A3 '^Types:.*deb' /etc/apt/sources.list.d/*.sources |
        awk '/^URIs:/ { u = $2 } /^Suites:/ && / '"$suite"'( |$)/ { print u; exit }')
    [ -n "$uri" ] || uri=$(awk '$1 == "deb" && $3 == "'"$suite"'" { print $2; exit }' \
        /etc/apt/sources.list 2>/dev/null)
    [ -n "$uri" ] || { echo "ci: no apt source names a mirror for $suite" >&2; return 1; }
    echo "$uri"
}

makePristine() {
    [ -f "$pristine/.complete" ] && return 0
    command -v debootstrap >/dev/null || {
        say "installing debootstrap"
        $SUDO apt-get update -qq
        DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends debootstrap
    }
    local uri
    uri=$(mirror)
    say "making a fresh $suite root from $uri"
    $SUDO rm -rf "$pristine"
    $SUDO mkdir -p "$cache"
    $SUDO debootstrap --variant=minbase --include=make,git "$suite" "$pristine" "$uri" \
        >"$cache/debootstrap.log" 2>&1 || {
        tail -n 20 "$cache/debootstrap.log"
        return 1
    }
    $SUDO touch "$pristine/.complete"
}

root=""
mounted=()
cleanUp() {
    local i
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do $SUDO umount -l "${mounted[$i]}" || true; done
    [ -n "$root" ] && $SUDO rm -rf "$root"
}
trap cleanUp EXIT

bind() { # what where [mount options...]
    $SUDO mkdir -p "$2"
    $SUDO mount "${@:3}" "$1" "$2"
    mounted+=("$2")
}

makePristine
root=$(mktemp -d "${TMPDIR:-/var/tmp}/vk41-ci.XXXXXX")
say "copying the fresh root"
$SUDO cp -a "$pristine/." "$root/"
$SUDO rm -f "$root/.complete"
$SUDO cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true
bind proc "$root/proc" -t proc
bind sysfs "$root/sys" -t sysfs
bind /dev "$root/dev" --rbind
bind tmpfs "$root/tmp" -t tmpfs

say "cloning $(git -C "$top" rev-parse --short HEAD)"
$SUDO git clone -q --no-local "$top" "$root/root/vk41-demo"

say "make test in the fresh root"
$SUDO chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root \
    /bin/sh -c 'cd /root/vk41-demo && make test'
say "make test passed in the fresh root"
