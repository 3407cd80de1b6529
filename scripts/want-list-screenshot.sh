#!/usr/bin/env bash
# Takes docs/screenshots/want-list.png: a copy of the demo catalogue with a small Discogs
# wantlist imported by the command-line companion, shown in the main window's want-list view
# under Xvfb. Needs a build and imagemagick.
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
# As Discogs writes it: the date added is a field the header does not name.
cat > "$scratch/wants.csv" <<'CSV'
Catalog#,Artist,Title,Label,Format,Rating,Released,release_id,Notes
NO-2001,Les Étoiles Filantes,Lumières du port,Nordlys,"LP, Album",,2016,9100001,First pressing,2024-02-11 10:12:00
CO-2002,Harbour Lights,Sea Wall Sessions,Coastline,"CD, Album",,1995,9100002,,2024-03-02 18:40:10
QU-2003,The Rowan Ensemble,Corelli: Concerti Grossi,Quire,"2xCD, Album",,2003,9100003,,2024-05-19 09:05:44
BL-2004,Kestrel & Finch,Low Orbit,Bluefield,"LP, Album, RE",,2018,9100004,Green vinyl,2024-06-30 21:15:31
ÉD-2005,Midnight Cartographers,Night Atlas,Éditions Brume,"CD, Album",,2021,9100005,,2024-08-08 08:08:08
CSV
build/bin/tunvale-cli import "$scratch/demo.muf" "$scratch/wants.csv" --format discogs-wantlist
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
