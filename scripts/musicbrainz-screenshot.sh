#!/usr/bin/env bash
# Takes docs/screenshots/musicbrainz-filled.png and album-page-cover.png: a new album filled by
# "Get info from FreeDB" from a disc image when the CDDB server refuses the client, through
# MusicBrainz and the Cover Art Archive, both played by a small server on 127.0.0.1 that serves
# an answer kept in tests/musicbrainz/data and a drawn cover; then the album saved and its page
# shown. Driven from the keyboard (xdotool) under Xvfb. Needs a build, python3, ImageMagick and
# xdotool.
set -euo pipefail
cd "$(dirname "$0")/.."
# The keys and the pictures are taken inside Xvfb, where a missing tool would go unnoticed.
for tool in xvfb-run xdotool import; do
    command -v "$tool" >/dev/null || { echo "$0: needs $tool (apt install xvfb xdotool imagemagick)" >&2; exit 1; }
done
root="$PWD"
scratch=$(mktemp -d)
server=
trap 'kill $server 2>/dev/null || true; rm -rf "$scratch"' EXIT
cp build/bin/demo.muf "$scratch/demo.muf"
mkdir -p docs/screenshots "$scratch/config/Quillon"

# The disc of tests/musicbrainz/data/powerclassics_va_box.discid.json: ten tracks, the first
# at frame 187 (37 after the lead-in).
offsets=(187 24487 35362 62137 67687 97462 121162 147037 191662 220987 291890)
{
    echo 'FILE "disc.bin" BINARY'
    echo '  TRACK 01 AUDIO'
    echo '    PREGAP 00:00:37'
    echo '    INDEX 01 00:00:00'
    for i in $(seq 1 9); do
        position=$((offsets[i] - 187))
        printf '  TRACK %02d AUDIO\n    INDEX 01 %02d:%02d:%02d\n' $((i + 1)) \
            $((position / 4500)) $((position / 75 % 60)) $((position % 75))
    done
} > "$scratch/disc.cue"
truncate -s $(((offsets[10] - 187) * 2352)) "$scratch/disc.bin"
convert -size 500x500 gradient:'#1b3a5c-#d98e04' -gravity center -font "$(fc-match -f '%{file}' 'DejaVu Sans:bold')" -pointsize 56 -fill white \
    -annotate 0 'Power\nClassics' "$scratch/front.jpg"

port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
python3 - "$port" "$root/tests/musicbrainz/data/powerclassics_va_box.discid.json" \
    "$scratch/front.jpg" > /dev/null 2>&1 <<'PY' &
import http.server, sys
answer = open(sys.argv[2], "rb").read()
cover = open(sys.argv[3], "rb").read()
class Services(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        if self.path.startswith("/~cddb/"):
            status, kind, body = 200, "text/plain", b"500 Unknown developer email\r\n"
        elif self.path.startswith("/ws/2/discid/"):
            status, kind, body = 200, "application/json", answer
        elif self.path.endswith("/front-500"):
            status, kind, body = 200, "image/jpeg", cover
        else:
            status, kind, body = 404, "text/plain", b""
        self.send_response(status)
        self.send_header("Content-Type", kind)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)
http.server.HTTPServer(("127.0.0.1", int(sys.argv[1])), Services).serve_forever()
PY
server=$!

cat > "$scratch/config/Quillon/Tunvale.conf" <<CONF
[Vastry]
Settings\DisableTips=1
Settings\CddbServer=127.0.0.1:$port
Settings\MusicBrainzServer=http://127.0.0.1:$port
Settings\CoverArtServer=http://127.0.0.1:$port
Settings\freedbdrive=$scratch/disc.cue
CONF

export XDG_CONFIG_HOME="$scratch/config" XDG_CACHE_HOME="$scratch/cache"
export XDG_DATA_HOME="$scratch/data"
export QTWEBENGINE_CHROMIUM_FLAGS="--no-sandbox --disable-gpu"
xvfb-run -a -s "-screen 0 1024x700x24" bash -c "
    build/bin/tunvale '$scratch/demo.muf' & pid=\$!
    sleep 8
    focus() { xdotool search --sync --name \"\$1\" | tail -1 | xargs xdotool windowfocus --sync; }
    focus 'Tunvale'
    xdotool key Insert
    focus 'Music item'
    # From the artist box down the left column to the lookup button.
    xdotool key --delay 50 Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab
    xdotool key space
    sleep 5
    import -window root docs/screenshots/musicbrainz-filled.png
    xdotool key alt+s
    sleep 4
    import -window root docs/screenshots/album-page-cover.png
    kill \$pid; wait \$pid || true"
echo "wrote docs/screenshots/musicbrainz-filled.png and album-page-cover.png"
