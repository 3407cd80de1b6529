#!/usr/bin/env bash
# Takes docs/screenshots/duplicates.png: a copy of the demo catalogue with one album entered
# twice and another entered again as its remastered LP, then Record > Find Duplicates... from
# the keyboard (xdotool) under Xvfb. Needs a build, xvfb-run, xdotool, imagemagick and python3.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/screenshot-scratch.sh xvfb-run xdotool import python3
cli=build/bin/tunvale-cli
"$cli" show "$scratch/demo.muf" 9 | "$cli" add "$scratch/demo.muf" - >/dev/null
"$cli" show "$scratch/demo.muf" 3 | python3 -c '
import json, sys
album = json.load(sys.stdin)
album.update(title=album["title"] + " (2011 Remaster)", type_name="LP", year=2011,
             labelnumber=album["labelnumber"] + "R")
print(json.dumps(album))' | "$cli" add "$scratch/demo.muf" - >/dev/null
"$cli" duplicates "$scratch/demo.muf"
xvfb-run -a -s "-screen 0 1024x700x24" bash -c "
    build/bin/tunvale '$scratch/demo.muf' & pid=\$!
    sleep 8
    focus() { xdotool search --sync --name \"\$1\" | tail -1 | xargs xdotool windowfocus --sync; }
    focus 'Tunvale'
    xdotool key alt+r f
    sleep 2
    focus 'Find Duplicates'
    xdotool key Down Down
    sleep 1
    import -window root docs/screenshots/duplicates.png
    kill \$pid; wait \$pid || true"
echo "wrote docs/screenshots/duplicates.png"
