#!/usr/bin/env bash
# Takes docs/screenshots/want-list.png: a copy of the demo catalogue with a Discogs wantlist
# (the one the import tests use) imported by the command-line companion, shown in the main
# window's want-list view under Xvfb. Needs a build and imagemagick.
set -euo pipefail
cd "$(dirname "$0")/.."
for tool in xvfb-run import; do
    command -v "$tool" >/dev/null || { echo "$0: needs $tool (apt install xvfb imagemagick)" >&2; exit 1; }
done
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cp build/bin/demo.muf "$scratch/demo.muf"
mkdir -p docs/screenshots "$scratch/config/Quillon"
export XDG_CONFIG_HOME="$scratch/config" XDG_CACHE_HOME="$scratch/cache" XDG_DATA_HOME="$scratch/data"
build/bin/tunvale-cli import "$scratch/demo.muf" tests/io/data/mouse-reeve-record-catalogue.wantlist.csv \
    --format discogs-wantlist
# The want list at start-up, and no tip of the day over the window.
cat > "$scratch/config/Quillon/Tunvale.conf" <<CONF
[Vastry]
Settings\DisableTips=1
Settings\CollectionView=2
CONF
export QTWEBENGINE_CHROMIUM_FLAGS="--no-sandbox --disable-gpu"
xvfb-run -a -s "-screen 0 1024x700x24" bash -c "
    build/bin/tunvale '$scratch/demo.muf' & pid=\$!
    sleep 8
    import -window root -crop 800x570+112+65 +repage docs/screenshots/want-list.png
    kill \$pid; wait \$pid || true"
echo "wrote docs/screenshots/want-list.png"
