#!/usr/bin/env bash
# Takes docs/screenshots/album-editor-*.png and track-editor.png: the album editor on the first
# album of the demo catalogue, each page in turn, then the track editor on its first track,
# all reached from the keyboard (xdotool) under Xvfb. Needs a build and xdotool.
set -euo pipefail
cd "$(dirname "$0")/.."
# The keys and the pictures are taken inside Xvfb, where a missing tool would go unnoticed.
for tool in xvfb-run xdotool import; do
    command -v "$tool" >/dev/null || { echo "$0: needs $tool (apt install xvfb xdotool imagemagick)" >&2; exit 1; }
done
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cp build/bin/demo.muf "$scratch/demo.muf"
mkdir -p docs/screenshots
export XDG_CONFIG_HOME="$scratch/config" XDG_CACHE_HOME="$scratch/cache"
export QTWEBENGINE_CHROMIUM_FLAGS="--no-sandbox --disable-gpu"
xvfb-run -a -s "-screen 0 1024x700x24" bash -c "
    build/bin/tunvale '$scratch/demo.muf' & pid=\$!
    sleep 8
    shot() { sleep 1.5; import -window root \"docs/screenshots/\$1.png\"; }
    # Without a window manager nothing hands out the keyboard focus: each window is given it.
    focus() { xdotool search --sync --name \"\$1\" | tail -1 | xargs xdotool windowfocus --sync; }
    focus 'Tunvale'
    xdotool key F6 key F6 key Home key Return
    focus 'Music item'
    shot album-editor-general
    xdotool key shift+Tab key Down; shot album-editor-personal
    xdotool key Down; shot album-editor-tracks
    xdotool key Down; shot album-editor-notes
    xdotool key Up key Tab key Down key Return
    focus 'Edit Track'
    shot track-editor
    xdotool key Escape; sleep 0.5; xdotool key Escape
    kill \$pid; wait \$pid || true"
echo "wrote docs/screenshots/album-editor-*.png and track-editor.png"
