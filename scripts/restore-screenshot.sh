#!/usr/bin/env bash
# Takes docs/screenshots/restore-backup.png and restore-confirm.png: three backups of a copy of
# the demo catalogue with an album deleted between each, then File > Restore from Backup, the
# oldest backup chosen and restored, all from the keyboard (xdotool) under Xvfb. Prints the
# album count before and after. Needs a build, xvfb-run, xdotool and imagemagick.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/screenshot-scratch.sh xvfb-run xdotool import
for id in 1 2 3; do
    build/bin/tunvale-cli backup "$scratch/demo.muf" >/dev/null
    build/bin/tunvale-cli delete "$scratch/demo.muf" "$id"
    sleep 1 # one backup a second keeps the names apart
done
echo "albums before: $(build/bin/tunvale-cli count "$scratch/demo.muf")"
xvfb-run -a -s "-screen 0 1024x700x24" bash -c "
    build/bin/tunvale '$scratch/demo.muf' & pid=\$!
    sleep 8
    focus() { xdotool search --sync --name \"\$1\" | tail -1 | xargs xdotool windowfocus --sync; }
    focus 'Tunvale'
    xdotool key alt+f r
    sleep 2
    xdotool key End
    sleep 1
    import -window root docs/screenshots/restore-backup.png
    xdotool key Return
    sleep 1
    import -window root docs/screenshots/restore-confirm.png
    xdotool key Return
    sleep 3
    import -window root '$scratch/after.png'
    kill \$pid; wait \$pid || true"
echo "albums after: $(build/bin/tunvale-cli count "$scratch/demo.muf")"
echo "wrote docs/screenshots/restore-backup.png, restore-confirm.png"
