#!/usr/bin/env bash
# Starts the desktop program on a copy of the demo catalogue under Xvfb with an accessibility
# bus, prints its AT-SPI tree (as a screen reader sees it) and the controls without a name.
# Arguments, if any, are keys xdotool presses first, to open a dialog ("alt+l" "a" opens the
# Artist list).
# Needs at-spi2-core, python3-pyatspi, dbus-x11 and, for keys, xdotool (apt); settings go to a
# temporary folder.
set -euo pipefail
cd "$(dirname "$0")/.."
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp build/bin/demo.muf "$work/demo.muf"
export XDG_CONFIG_HOME="$work/config" XDG_CACHE_HOME="$work/cache"
# No tip of the day over the window at start-up.
mkdir -p "$work/config/Quillon"
printf '[Vastry]\nSettings\\DisableTips=1\n' > "$work/config/Quillon/Tunvale.conf"
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1
export QTWEBENGINE_CHROMIUM_FLAGS="--no-sandbox --disable-gpu"
xvfb-run -a -s "-screen 0 1024x768x24" dbus-run-session -- bash -c '
    /usr/libexec/at-spi-bus-launcher --launch-immediately &
    sleep 1
    build/bin/tunvale "$0/demo.muf" & program=$!
    sleep 4
    if [ $# -gt 0 ]; then
        # Without a window manager nothing has the keyboard until it is given.
        sleep 3
        xdotool windowfocus "$(xdotool search --name "Tunvale 1.00" | tail -1)"
        for key in "$@"; do sleep 0.7; xdotool key "$key"; done
        sleep 1.5
    fi
    status=0
    /usr/bin/python3 scripts/a11y-tree.py tunvale || status=$?
    kill $program
    exit $status' "$work" "$@"
