#!/usr/bin/env bash
# Builds the core library, the command-line companion and every test that needs no web engine
# (ctest label "core") with AddressSanitizer and UndefinedBehaviorSanitizer into build-asan/,
# and runs those tests. The tests of the window and dialogs stay out: the web engine's own
# processes and allocator make the sanitizers' reports there about the engine, not about us.
set -euo pipefail
cd "$(dirname "$0")/.."
launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DTUNVALE_SANITIZE=ON -DTUNVALE_WERROR=ON \
    "${launcher[@]}" >/dev/null
mapfile -t tests < <(cd build-asan && ctest -N -L core | sed -n 's/^ *Test *#[0-9]*: \(test_.*\|replay_.*\)/\1/p')
cmake --build build-asan -j2 --target tunvale-cli "${tests[@]}"
cd build-asan
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1" UBSAN_OPTIONS="print_stacktrace=1"
ctest --output-on-failure -j2 -L core "$@"
