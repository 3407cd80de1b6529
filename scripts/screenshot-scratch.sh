# Sourced by the screenshot scripts, from the project's root: checks that the tools they name
# are installed, then sets up $scratch, removed on exit, with a copy of the demo catalogue and
# settings of its own (no tip of the day), and points the program's settings, caches and data
# there. Usage: source scripts/screenshot-scratch.sh TOOL...
for tool in "$@"; do
    command -v "$tool" >/dev/null || { echo "$0: needs $tool (apt install xvfb xdotool imagemagick python3)" >&2; exit 1; }
done
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p docs/screenshots "$scratch/config/Quillon"
cp build/bin/demo.muf "$scratch/demo.muf"
cat > "$scratch/config/Quillon/Tunvale.conf" <<CONF
[Vastry]
Settings\DisableTips=1
CONF
export XDG_CONFIG_HOME="$scratch/config" XDG_CACHE_HOME="$scratch/cache" XDG_DATA_HOME="$scratch/data"
export QTWEBENGINE_CHROMIUM_FLAGS="--no-sandbox --disable-gpu"
