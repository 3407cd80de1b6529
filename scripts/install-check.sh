#!/usr/bin/env bash
# Checks the installed program the way a user's machine sees it: installs the build (default:
# build) into a temporary prefix, checks the layout and the desktop files, runs the installed
# programs from / with the build tree moved away, asks the prefix's MIME database for the type of
# a catalogue, then builds the Debian package and checks its contents.
set -euo pipefail
cd "$(dirname "$0")/.."
source_dir=$PWD
build=${1:-build}
work=$(mktemp -d)
prefix=$work/prefix
moved=$work/build-away

restore_build() {
    if [ -d "$moved" ]; then mv "$moved" "$source_dir/$build"; fi
    rm -rf "$work"
}
trap restore_build EXIT

fail() {
    echo "install-check: $*" >&2
    exit 1
}

cmake --install "$build" --prefix "$prefix" > /dev/null

id=org.tunvale.Tunvale
expected=(
    bin/tunvale bin/tunvale-cli
    share/tunvale/template.bin share/tunvale/demo.muf share/tunvale/music.chm
    share/applications/$id.desktop share/mime/packages/$id.xml share/metainfo/$id.metainfo.xml
    share/icons/hicolor/scalable/apps/$id.svg
    share/icons/hicolor/scalable/mimetypes/application-x-tunvale-catalog.svg
    share/man/man1/tunvale.1.gz share/man/man1/tunvale-cli.1.gz
)
for size in 16 22 24 32 48 64 128 256; do
    expected+=(share/icons/hicolor/${size}x$size/apps/$id.png
        share/icons/hicolor/${size}x$size/mimetypes/application-x-tunvale-catalog.png)
done
for file in "${expected[@]}"; do
    [ -f "$prefix/$file" ] || fail "missing from the install: $file"
done

desktop-file-validate "$prefix/share/applications/$id.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml"
zcat "$prefix/share/man/man1/tunvale-cli.1.gz" | grep -q 'count FILE' ||
    fail "the manual page of tunvale-cli lacks its commands"

# The installed programs must find their assets through the prefix alone, and leave it as it was.
mv "$source_dir/$build" "$moved"
touch "$work/stamp"
sleep 1
cd /
"$prefix/bin/tunvale-cli" --version | grep -qx 'tunvale-cli 1.00' || fail "tunvale-cli --version"
"$prefix/bin/tunvale" --version | grep -qx 'tunvale 1.00' || fail "tunvale --version"
count=$("$prefix/bin/tunvale-cli" count "$prefix/share/tunvale/demo.muf")
[ "$count" -gt 0 ] || fail "tunvale-cli count of the installed demo.muf gave '$count'"
# Without a usable home the programs still work; settings have nowhere to go, that is all.
env -u HOME -u XDG_CONFIG_HOME -u XDG_CACHE_HOME "$prefix/bin/tunvale-cli" count \
    "$prefix/share/tunvale/demo.muf" > /dev/null || fail "tunvale-cli without HOME"
HOME=/nonexistent "$prefix/bin/tunvale-cli" new "$work/new.muf" ||
    fail "tunvale-cli new with an unwritable HOME"
written=$(find "$prefix" -newer "$work/stamp")
[ -z "$written" ] || fail "written under the prefix at run time: $written"
cd "$source_dir"
mv "$moved" "$source_dir/$build"

# A double-click on a catalogue opens it in Tunvale only if the MIME database knows the type.
XDG_DATA_DIRS="$prefix/share" update-mime-database "$prefix/share/mime"
cp "$prefix/share/tunvale/demo.muf" "$work/x.muf"
type=$(cd "$work" && env -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION -u KDE_FULL_SESSION \
    -u GNOME_DESKTOP_SESSION_ID XDG_DATA_HOME="$work/no-user-data" XDG_DATA_DIRS="$prefix/share" \
    xdg-mime query filetype x.muf)
[ "$type" = application/x-tunvale-catalog ] || fail "xdg-mime says x.muf is '$type'"

bash scripts/package.sh "$build" > /dev/null
deb=$(ls "$build"/tunvale_*_*.deb)
contents=$(dpkg-deb -c "$deb")
for file in "${expected[@]}"; do
    grep -q " \./usr/$file\$" <<<"$contents" || fail "missing from $deb: /usr/$file"
done
dpkg-deb -f "$deb" Depends | grep -q libsqlcipher || fail "$deb does not depend on SQLCipher"
echo "install-check: $deb and the installed layout are in order"
