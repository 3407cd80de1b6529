#!/usr/bin/env bash
# Builds the Debian package tunvale_<version>_<arch>.deb into the build folder (default: build).
# Install it with: sudo apt install ./build/tunvale_1.00_amd64.deb
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
# cpack builds whatever is out of date first (all targets), then installs into its staging folder.
cmake --build "$build" -j2
(cd "$build" && cpack -G DEB)
ls "$build"/tunvale_*.deb
