#!/usr/bin/env bash
# Takes docs/screenshots/set-password.png and password-prompt.png: File > Set Password... on a
# copy of the demo catalogue, a password typed twice, then the program started again on that
# catalogue, a wrong password and the prompt that says so, then the right one. All from the
# keyboard (xdotool) under Xvfb. Needs a build, xdotool and imagemagick.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/screenshot-scratch.sh xvfb-run xdotool import
xvfb-run -a -s "-screen 0 1024x700x24" bash -c "
    focus() { xdotool search --sync --name \"\$1\" | tail -1 | xargs xdotool windowfocus --sync; }
    build/bin/tunvale '$scratch/demo.muf' & pid=\$!
    sleep 8
    focus 'Tunvale'
    xdotool key alt+f w
    sleep 1
    focus 'Set Password'
    xdotool type --delay 40 'Mein Schlüssel'
    xdotool key Tab
    xdotool type --delay 40 'Mein Schlüssel'
    import -window root docs/screenshots/set-password.png
    xdotool key Return
    sleep 3
    # The box that says the password is set.
    xdotool key Return
    sleep 1
    kill \$pid; wait \$pid || true

    build/bin/tunvale '$scratch/demo.muf' & pid=\$!
    sleep 5
    focus 'Password'
    xdotool type --delay 40 'mein schlüssel'
    xdotool key Return
    sleep 1
    focus 'Password'
    import -window root docs/screenshots/password-prompt.png
    xdotool type --delay 40 'Mein Schlüssel'
    xdotool key Return
    sleep 6
    xdotool search --name 'Tunvale 1' >/dev/null && echo 'opened with the password'
    import -window root '$scratch/opened.png'
    kill \$pid; wait \$pid || true"
echo "wrote docs/screenshots/set-password.png, password-prompt.png"
