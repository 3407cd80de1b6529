#!/usr/bin/env bash
# Takes docs/screenshots/find-online.png and find-online-filled.png: a new album, "Find
# Online..." with a barcode typed as a scanner types it (digits, Enter), the candidate with its
# cover, then the album filled by "Use". MusicBrainz and the Cover Art Archive are played by a
# small server on 127.0.0.1 serving answers kept in tests/musicbrainz/data/search and a drawn
# cover. Driven from the keyboard (xdotool) under Xvfb. Needs a build, python3, ImageMagick and
# xdotool.
set -euo pipefail
cd "$(dirname "$0")/.."
for tool in xvfb-run xdotool import convert; do
    command -v "$tool" >/dev/null || { echo "$0: needs $tool (apt install xvfb xdotool imagemagick)" >&2; exit 1; }
done
root="$PWD"
scratch=$(mktemp -d)
server=
trap 'kill $server 2>/dev/null || true; rm -rf "$scratch"' EXIT
cp build/bin/demo.muf "$scratch/demo.muf"
mkdir -p docs/screenshots "$scratch/config/Quillon"
convert -size 500x500 gradient:'#40204a-#e0b040' -gravity center -font "$(fc-match -f '%{file}' 'DejaVu Sans:bold')" -pointsize 90 -fill white \
    -annotate 0 'Five' "$scratch/front.jpg"

port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
data="$root/tests/musicbrainz/data/search"
python3 - "$port" "$data/mb_search_barcode_4582515778491.json" \
    "$data/mb_release_f1223d63_five_cd_bluray.json" "$scratch/front.jpg" > /dev/null 2>&1 <<'PY' &
import http.server, sys
search, release, cover = (open(path, "rb").read() for path in sys.argv[2:5])
class Services(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        if self.path.startswith("/ws/2/release?"):
            kind, body = "application/json", search
        elif self.path.startswith("/ws/2/release/"):
            kind, body = "application/json", release
        elif "/front-" in self.path:
            kind, body = "image/jpeg", cover
        else:
            self.send_response(404); self.end_headers(); return
        self.send_response(200)
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
Settings\MusicBrainzServer=http://127.0.0.1:$port
Settings\CoverArtServer=http://127.0.0.1:$port
CONF

export XDG_CONFIG_HOME="$scratch/config" XDG_CACHE_HOME="$scratch/cache"
export XDG_DATA_HOME="$scratch/data"
export QTWEBENGINE_CHROMIUM_FLAGS="--no-sandbox --disable-gpu"
xvfb-run -a -s "-screen 0 1100x700x24" bash -c "
    build/bin/tunvale '$scratch/demo.muf' & pid=\$!
    sleep 8
    focus() { xdotool search --sync --name \"\$1\" | tail -1 | xargs xdotool windowfocus --sync; }
    focus 'Tunvale'
    xdotool key Insert
    focus 'Music item'
    xdotool key alt+o
    focus 'Find Online'
    xdotool type --delay 30 4582515778491
    xdotool key Return
    sleep 4
    import -window root docs/screenshots/find-online.png
    xdotool key alt+u
    sleep 3
    import -window root docs/screenshots/find-online-filled.png
    kill \$pid; wait \$pid || true"
echo "wrote docs/screenshots/find-online.png and find-online-filled.png"
