#!/usr/bin/env bash
# Takes docs/screenshots/statistics-genres.png and statistics-loans.png: View > Statistics... on
# a copy of the demo catalogue, its Genres and Media tab and then its Loans tab, all from the
# keyboard (xdotool) under Xvfb. Needs a build, xdotool and imagemagick.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/screenshot-scratch.sh xvfb-run xdotool import
xvfb-run -a -s "-screen 0 1024x700x24" bash -c "
    build/bin/tunvale '$scratch/demo.muf' & pid=\$!
    sleep 8
    focus() { xdotool search --sync --name \"\$1\" | tail -1 | xargs xdotool windowfocus --sync; }
    focus 'Tunvale'
    xdotool key alt+v t
    sleep 2
    focus 'Statistics'
    xdotool key alt+g
    sleep 2
    import -window root docs/screenshots/statistics-genres.png
    xdotool key alt+l
    sleep 2
    import -window root docs/screenshots/statistics-loans.png
    kill \$pid; wait \$pid || true"
echo "wrote docs/screenshots/statistics-genres.png, statistics-loans.png"
