#!/usr/bin/env bash
# Builds the libFuzzer targets with clang, ASan and UBSan into build-fuzz/ and runs each one for
# the given number of seconds (default 60), seeded by scripts/fuzz-seeds.sh from the CDDB test
# data (../shared/testdata/cddb beside the repository, else tests/freedb/data), the MusicBrainz answers in
# tests/musicbrainz/data (release searches and lookups in its search/ folder), the Discogs exports
# in tests/io/data, and the help file the build compiles with the damaged ones in tests/ui/data.
# Crashes land in build-fuzz/artifacts/<target>/, the grown corpus in build-fuzz/corpus/<target>/,
# the output in build-fuzz/logs/<target>.log.
#
#   bash scripts/fuzz.sh 300                  # every target, five minutes each
#   bash scripts/fuzz.sh 60 fuzz_xmcd_entry   # one target
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
seconds="${1:-60}"
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    targets=(fuzz_xmcd_entry fuzz_query_reply fuzz_reply_buffer fuzz_musicbrainz_release
        fuzz_musicbrainz_search fuzz_csv_reader fuzz_chm_archive)
fi

build="$root/build-fuzz"

cmake -S "$root" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTUNVALE_BUILD_FUZZ=ON -DTUNVALE_BUILD_TESTS=OFF -DTUNVALE_BENCHMARKS=OFF >/dev/null
cmake --build "$build" -j2 --target "${targets[@]}" helpfile

# Seeds: every input a target is meant to take, made from the real data.
seeds="$build/seeds"
bash "$root/scripts/fuzz-seeds.sh" "$seeds" "$build/bin/music.chm"

status=0
for target in "${targets[@]}"; do
    # A box set's answer runs past 100 KB, so its target takes longer inputs.
    max_len=65536
    case "$target" in
    fuzz_xmcd_entry) dict="$root/fuzz/xmcd.dict" ;;
    fuzz_musicbrainz_release) dict="$root/fuzz/musicbrainz.dict" max_len=262144 ;;
    # The 100-candidate search answer is 665 KB.
    fuzz_musicbrainz_search) dict="$root/fuzz/musicbrainz.dict" max_len=700000 ;;
    fuzz_csv_reader) dict="$root/fuzz/csv.dict" ;;
    fuzz_chm_archive) dict="$root/fuzz/chm.dict" max_len=262144 ;;
    *) dict="$root/fuzz/reply.dict" ;;
    esac
    corpus="$build/corpus/$target"
    artifacts="$build/artifacts/$target/"
    mkdir -p "$corpus" "$artifacts" "$build/logs"
    echo "== $target: $seconds s"
    if ! "$build/bin/$target" -max_total_time="$seconds" -max_len="$max_len" -timeout=10 \
        -rss_limit_mb=2048 -print_final_stats=1 -dict="$dict" -artifact_prefix="$artifacts" \
        "$corpus" "$seeds/$target" >"$build/logs/$target.log" 2>&1; then
        status=1
        echo "   FINDING: see $build/logs/$target.log and $artifacts"
    fi
    grep -E '^(Done|stat::number_of_executed_units|stat::peak_rss_mb|stat::new_units_added)' \
        "$build/logs/$target.log" | sed 's/^/   /' || true
done
exit $status
