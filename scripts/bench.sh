#!/usr/bin/env bash
# Builds and runs every benchmark, then prints the ratio table kept in docs/PERFORMANCE.md.
# Generated catalogues are cached in $TUNVALE_BENCH_DATA (default: build/bench-data); the first
# run makes them (the 100 000-album one takes a few minutes).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTUNVALE_BENCHMARKS=ON >/dev/null
cmake --build build -j2
export TUNVALE_BENCH_DATA="${TUNVALE_BENCH_DATA:-$PWD/build/bench-data}"
results=build/bench-results
mkdir -p "$results"
for program in build/bin/bench_*; do
    name=$(basename "$program")
    "$program" --benchmark_repetitions=3 --benchmark_out="$results/$name.json" \
        --benchmark_out_format=json "$@"
done
python3 scripts/bench_report.py "$results"/*.json
