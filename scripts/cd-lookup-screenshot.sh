#!/usr/bin/env bash
# Takes docs/screenshots/editor-filled.png: a new album in the editor filled by "Get info from
# FreeDB" from a generated disc image, answered by a small CDDB server on 127.0.0.1, all driven
# from the keyboard (xdotool) under Xvfb. Needs a build, python3 and xdotool.
set -euo pipefail
cd "$(dirname "$0")/.."
# The keys and the pictures are taken inside Xvfb, where a missing tool would go unnoticed.
for tool in xvfb-run xdotool import; do
    command -v "$tool" >/dev/null || { echo "$0: needs $tool (apt install xvfb xdotool imagemagick)" >&2; exit 1; }
done
scratch=$(mktemp -d)
trap 'kill $server 2>/dev/null || true; rm -rf "$scratch"' EXIT
cp build/bin/demo.muf "$scratch/demo.muf"
mkdir -p docs/screenshots "$scratch/config/Quillon"

# Four tracks of 3:25, 4:10, 2:58 and 5:02 as a sparse image: 2352-byte frames, 75 a second.
frames=(15375 18750 13350 22650)
{
    echo 'FILE "disc.bin" BINARY'
    position=0
    for i in "${!frames[@]}"; do
        printf '  TRACK %02d AUDIO\n    INDEX 01 %02d:%02d:%02d\n' $((i + 1)) \
            $((position / 4500)) $((position / 75 % 60)) $((position % 75))
        position=$((position + frames[i]))
    done
} > "$scratch/disc.cue"
truncate -s $((position * 2352)) "$scratch/disc.bin"

port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
python3 - "$port" > /dev/null 2>&1 <<'PY' &
import http.server, sys, urllib.parse
titles = ["Harbour Lights", "Salt and Rope", "The Long Watch", "Low Tide"]
class Cddb(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.0"
    def do_GET(self):
        cmd = urllib.parse.parse_qs(urllib.parse.urlparse(self.path).query)["cmd"][0].split()
        if cmd[1] == "query":
            body = "200 folk %s Ada Vane / Low Tide\r\n" % cmd[2]
        else:
            count = len(titles)
            entry = ["# xmcd", "# Track frame offsets:"]
            entry += ["# %d" % o for o in (150, 15525, 34275, 47625)]
            entry += ["# Disc length: 941 seconds", "# Submitted via: Tunvale 1.0",
                      "DISCID=%s" % cmd[3], "DTITLE=Ada Vane / Low Tide", "DYEAR=2019",
                      "DGENRE=Sea Shanty"]
            entry += ["TTITLE%d=%s" % (i, t) for i, t in enumerate(titles)]
            entry += ["EXTD="] + ["EXTT%d=" % i for i in range(count)] + ["PLAYORDER="]
            body = ("210 folk %s CD database entry follows (until terminating `.')\r\n" % cmd[3]
                    + "\r\n".join(entry) + "\r\n.\r\n")
        data = body.encode()
        self.send_response(200)
        self.send_header("Content-Type", "text/plain")
        self.end_headers()
        self.wfile.write(data)
http.server.HTTPServer(("127.0.0.1", int(sys.argv[1])), Cddb).serve_forever()
PY
server=$!

cat > "$scratch/config/Quillon/Tunvale.conf" <<CONF
[Vastry]
Settings\DisableTips=1
Settings\CddbServer=127.0.0.1:$port
Settings\freedbdrive=$scratch/disc.cue
CONF

export XDG_CONFIG_HOME="$scratch/config" XDG_CACHE_HOME="$scratch/cache"
export QTWEBENGINE_CHROMIUM_FLAGS="--no-sandbox --disable-gpu"
xvfb-run -a -s "-screen 0 1024x700x24" bash -c "
    build/bin/tunvale '$scratch/demo.muf' & pid=\$!
    sleep 8
    focus() { xdotool search --sync --name \"\$1\" | tail -1 | xargs xdotool windowfocus --sync; }
    focus 'Tunvale'
    xdotool key Insert
    focus 'Music item'
    # From the artist box down the left column to the lookup button.
    xdotool key --delay 50 \${LOOKUP_TABS:-Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab}
    xdotool key space
    sleep 3
    import -window root docs/screenshots/editor-filled.png
    xdotool key Escape
    kill \$pid; wait \$pid || true"
echo "wrote docs/screenshots/editor-filled.png"
