#!/usr/bin/env bash
# Takes docs/screenshots/main-window.png: the program on the demo catalogue under Xvfb, with
# settings and pages in a throw-away folder. Needs a build (scripts/setup.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v xvfb-run >/dev/null || ! command -v import >/dev/null; then
    sudo_or() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }
    sudo_or apt-get install -y --no-install-recommends xvfb xauth imagemagick
fi
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cp build/bin/demo.muf "$scratch/demo.muf"
mkdir -p docs/screenshots
export XDG_CONFIG_HOME="$scratch/config" XDG_CACHE_HOME="$scratch/cache"
# No tip of the day over the window at start-up.
mkdir -p "$scratch/config/Quillon"
printf '[Vastry]\nSettings\\DisableTips=1\n' > "$scratch/config/Quillon/Tunvale.conf"
export QTWEBENGINE_CHROMIUM_FLAGS="--no-sandbox --disable-gpu"
xvfb-run -a -s "-screen 0 1024x700x24" bash -c "
    build/bin/tunvale '$scratch/demo.muf' & pid=\$!
    sleep 8
    import -window root -crop 800x570+112+65 +repage docs/screenshots/main-window.png
    kill \$pid; wait \$pid || true"
echo "wrote docs/screenshots/main-window.png"
