#!/usr/bin/env bash
# Renders the PNG sizes of the application and file-type icons from their SVG drawings into
# src/res/desktop/icons/<size>/. The PNGs are kept in the repository, so building needs no SVG
# renderer; run this after changing a drawing. Needs rsvg-convert (librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/../src/res/desktop/icons"
for size in 16 22 24 32 48 64 128 256; do
    mkdir -p "$size"
    for drawing in *.svg; do
        rsvg-convert --width "$size" --height "$size" "$drawing" -o "$size/${drawing%.svg}.png"
    done
done
