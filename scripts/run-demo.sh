#!/usr/bin/env bash
# Sets up, builds and starts the program on the demonstration catalogue.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display to show the window on: run this from a desktop session." >&2
    echo "Without one, the catalogue can be read with: build/bin/tunvale-cli list build/bin/demo.muf" >&2
    exit 1
fi
exec build/bin/tunvale build/bin/demo.muf "$@"
