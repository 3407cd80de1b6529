#!/usr/bin/env bash
# Takes docs/screenshots/published-site.png: the demo catalogue published with tunvale-cli and
# its list shown in a phone-sized window (360 x 740) under Xvfb, opened from the folder as a
# phone's browser opens it. Needs a build and xvfb-run.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v xvfb-run >/dev/null || { echo "$0: needs xvfb-run (apt install xvfb)" >&2; exit 1; }
cmake --build build --target site_snapshot tunvale-cli >/dev/null
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p docs/screenshots
cp build/bin/demo.muf "$scratch/demo.muf"
export XDG_CONFIG_HOME="$scratch/config" XDG_CACHE_HOME="$scratch/cache" XDG_DATA_HOME="$scratch/data"
export QTWEBENGINE_CHROMIUM_FLAGS="--no-sandbox --disable-gpu"
build/bin/tunvale-cli publish "$scratch/demo.muf" "$scratch/site"
xvfb-run -a -s "-screen 0 800x900x24" \
    build/bin/site_snapshot "$scratch/site/index.html" 360 740 docs/screenshots/published-site.png
echo "wrote docs/screenshots/published-site.png"
