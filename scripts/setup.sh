#!/usr/bin/env bash
# Installs every Debian package the project needs, then configures and builds it in ./build.
# Safe to run again; works as root or through sudo.
set -euo pipefail
cd "$(dirname "$0")/.."

PACKAGES=(
    build-essential cmake pkg-config
    qt6-base-dev qt6-webengine-dev qt6-charts-dev libgl-dev
    libsqlcipher-dev sqlcipher
    libcdio-dev libdiscid-dev
    libchm-dev fp-utils-3.2.2
    libbenchmark-dev
    clang libclang-rt-14-dev clang-format
    xvfb xauth
    desktop-file-utils appstream help2man dpkg-dev xdg-utils libfile-mimeinfo-perl
    shared-mime-info librsvg2-bin
)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

missing=()
for package in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    as_root apt-get update
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}"
fi

# A compiler cache, when the machine has one, makes rebuilds after a branch switch cheap.
# TUNVALE_CMAKE_ARGS adds options (CI turns warnings into errors with it).
launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
# shellcheck disable=SC2086
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" ${TUNVALE_CMAKE_ARGS:-}
cmake --build build -j2
