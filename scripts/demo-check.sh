#!/usr/bin/env bash
# Runs the README's first command as a newcomer would (whoever runs this; CI runs it as root,
# without the web-engine flags the tests set), on a virtual display, and checks that the window
# fills with the demo catalogue. The program ends by itself once it has.
set -euo pipefail
cd "$(dirname "$0")/.."
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
output=$(env -u QTWEBENGINE_CHROMIUM_FLAGS -u QT_QPA_PLATFORM \
    XDG_CONFIG_HOME="$home/config" XDG_CACHE_HOME="$home/cache" \
    timeout 300 xvfb-run -a bash scripts/run-demo.sh --quit-when-filled 2>"$home/errors") || {
    cat "$home/errors" >&2
    echo "demo check: the program did not start and fill its window" >&2
    exit 1
}
if ! grep -qx filled <<<"$output"; then
    cat "$home/errors" >&2
    echo "demo check: the window did not fill" >&2
    exit 1
fi
echo "demo check: the window filled with the demo catalogue"
