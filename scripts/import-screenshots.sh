#!/usr/bin/env bash
# Takes docs/screenshots/export-csv.png, import-progress.png and import-summary.png: File >
# Export as > CSV File on a copy of the demo catalogue, then a large generated Discogs
# collection export imported through File > Import, all from the keyboard (xdotool) under Xvfb. Needs a
# build, python3, xdotool and imagemagick.
set -euo pipefail
cd "$(dirname "$0")/.."
# The keys and the pictures are taken inside Xvfb, where a missing tool would go unnoticed.
for tool in xvfb-run xdotool import; do
    command -v "$tool" >/dev/null || { echo "$0: needs $tool (apt install xvfb xdotool imagemagick)" >&2; exit 1; }
done
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cp build/bin/demo.muf "$scratch/demo.muf"
mkdir -p docs/screenshots "$scratch/config/Quillon"
python3 - "$scratch/discogs-collection.csv" <<'PY'
import sys
with open(sys.argv[1], "w", encoding="utf-8", newline="") as out:
    out.write("Catalog#,Artist,Title,Label,Format,Rating,Released,release_id,CollectionFolder,"
              "Date Added,Collection Media Condition,Collection Sleeve Condition,"
              "Collection Notes\r\n")
    for i in range(1, 150001):
        out.write(f'CAT {i},"Artist {i % 4000} (2)",Title {i},"Label {i % 300}, Other",'
                  f'"2xLP, Album, RE",{i % 6},{1950 + i % 70},{i},Uncategorized,'
                  f'2020-01-02 03:04:05,Mint (M),Very Good (VG),\r\n')
PY
cat > "$scratch/config/Quillon/Tunvale.conf" <<CONF
[Vastry]
Settings\DisableTips=1
CONF

export XDG_CONFIG_HOME="$scratch/config" XDG_CACHE_HOME="$scratch/cache"
export QTWEBENGINE_CHROMIUM_FLAGS="--no-sandbox --disable-gpu"
xvfb-run -a -s "-screen 0 1024x700x24" bash -c "
    build/bin/tunvale '$scratch/demo.muf' & pid=\$!
    sleep 8
    focus() { xdotool search --sync --name \"\$1\" | tail -1 | xargs xdotool windowfocus --sync; }
    focus 'Tunvale'
    xdotool key alt+f e c
    sleep 5
    import -window root docs/screenshots/export-csv.png
    xdotool key Escape
    sleep 1
    focus 'Tunvale'
    xdotool key alt+f i d
    sleep 2
    xdotool type --delay 20 '$scratch/discogs-collection.csv'
    xdotool key Return
    sleep \${PROGRESS_WAIT:-2}
    import -window root docs/screenshots/import-progress.png
    xdotool search --sync --name 'Import Discogs Collection' > /dev/null
    sleep \${SUMMARY_WAIT:-12}
    import -window root docs/screenshots/import-summary.png
    xdotool key Return
    sleep 1
    kill \$pid; wait \$pid || true"
echo "wrote docs/screenshots/import-progress.png, import-summary.png, export-csv.png"
