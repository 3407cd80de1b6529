#!/usr/bin/env bash
# Installs the Debian package the way a user of a fresh Debian 12 would: a minimal bookworm
# system is bootstrapped into a folder, the .deb goes in with `apt install ./...`, and the
# installed programs, the file type, the menu entry and the manual page are checked there as an
# ordinary user. Needs root and network; takes about five minutes, so CI does not run it.
# Usage: scripts/fresh-install-check.sh [build folder] [root folder of the test system]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
root=${2:-$(mktemp -d /tmp/tunvale-bookworm-XXXXXX)}

fail() {
    echo "fresh-install-check: $*" >&2
    exit 1
}

deb=$(ls "$build"/tunvale_*_amd64.deb 2>/dev/null || true)
[ -n "$deb" ] || bash scripts/package.sh "$build" > /dev/null
deb=$(ls "$build"/tunvale_*_amd64.deb)

command -v debootstrap > /dev/null || apt-get install -y debootstrap > /dev/null
[ -x "$root/bin/bash" ] || debootstrap --variant=minbase bookworm "$root" http://deb.debian.org/debian
cp /etc/resolv.conf "$root/etc/"
cp "$deb" "$root/root/"
mount --bind /proc "$root/proc"
trap 'umount "$root/proc"' EXIT

inside() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin bash -c "$1"; }
inside "apt-get update -q && DEBIAN_FRONTEND=noninteractive apt-get install -y -q \
    /root/$(basename "$deb") man-db xdg-utils > /dev/null"
inside "id collector > /dev/null 2>&1 || useradd -m collector"
as_user() { inside "cd /home/collector && su collector -c '$1'"; }

[ "$(as_user 'tunvale-cli --version')" = "tunvale-cli 1.00" ] || fail "tunvale-cli --version"
[ "$(as_user 'tunvale-cli count /usr/share/tunvale/demo.muf')" -gt 0 ] || fail "count of demo.muf"
as_user "cp /usr/share/tunvale/demo.muf x.muf"
[ "$(as_user 'xdg-mime query filetype x.muf')" = application/x-tunvale-catalog ] ||
    fail "the file type of a catalogue"
[ "$(as_user 'xdg-mime query default application/x-tunvale-catalog')" = \
    org.tunvale.Tunvale.desktop ] || fail "the program that opens a catalogue"
as_user "MANPAGER=cat man tunvale-cli" | grep -q "count FILE" || fail "man tunvale-cli"
inside "grep -q '^Icon=org.tunvale.Tunvale' /usr/share/applications/org.tunvale.Tunvale.desktop &&
    test -f /usr/share/icons/hicolor/48x48/apps/org.tunvale.Tunvale.png" || fail "menu icon"
echo "fresh-install-check: the package installs and works on a fresh Debian 12 in $root"
