#!/usr/bin/env bash
# Builds the libFuzzer targets with clang, ASan and UBSan into build-fuzz/ and runs each one for
# the given number of seconds (default 60), seeded from the shared CDDB test data
# (../shared/testdata/cddb beside the repository), the MusicBrainz answers in
# tests/musicbrainz/data, the Discogs exports in tests/io/data, and the help file the build
# compiles with the damaged ones in tests/ui/data. Crashes land in build-fuzz/artifacts/<target>/,
# the grown corpus in build-fuzz/corpus/<target>/, the output in build-fuzz/logs/<target>.log.
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
        fuzz_csv_reader fuzz_chm_archive)
fi

shared="$root/../shared/testdata/cddb"
if [ ! -d "$shared" ]; then
    echo "fuzz.sh: no CDDB test data at $shared" >&2
    exit 1
fi
build="$root/build-fuzz"

cmake -S "$root" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTUNVALE_BUILD_FUZZ=ON -DTUNVALE_BUILD_TESTS=OFF -DTUNVALE_BENCHMARKS=OFF >/dev/null
cmake --build "$build" -j2 --target "${targets[@]}" helpfile

# Seeds: every input a target is meant to take, made from the real data.
seeds="$build/seeds"
rm -rf "$seeds"
mkdir -p "$seeds/fuzz_xmcd_entry" "$seeds/fuzz_query_reply" "$seeds/fuzz_reply_buffer" \
    "$seeds/fuzz_csv_reader"
# CSV seeds: the first lines of each export (whole files are far beyond -max_len).
for csv in "$root"/tests/io/data/*.csv; do
    head -c 8000 "$csv" >"$seeds/fuzz_csv_reader/$(basename "$csv")"
done
http=$'HTTP/1.0 200 OK\r\nContent-Type: text/plain; charset=ISO-8859-1\r\n\r\n'
for entry in "$shared"/xmcd/*.txt; do
    name="$(basename "$entry" .txt)"
    { printf '210 misc 00000000 CD database entry follows\r\n'; cat "$entry"; } \
        >"$seeds/fuzz_xmcd_entry/$name"
    { printf '\x00\x07%s210 misc 00000000 CD database entry follows\r\n' "$http"
      sed 's/$/\r/' "$entry"; printf '.\r\n'; } >"$seeds/fuzz_reply_buffer/read_$name"
done
for reply in "$shared"/replies/*.txt; do
    name="$(basename "$reply" .txt)"
    cp "$reply" "$seeds/fuzz_xmcd_entry/$name"
    cp "$reply" "$seeds/fuzz_query_reply/$name"
    { printf '%s' "$http"; cat "$reply"; } >"$seeds/fuzz_query_reply/http_$name"
    { printf '\x01\x2a%s' "$http"; cat "$reply"; } >"$seeds/fuzz_reply_buffer/query_$name"
done
# Single reply lines (gnudb's errors among them) and server settings as a user might type them.
i=0
while IFS= read -r line; do
    i=$((i + 1))
    printf '%s\r\n' "${line%% |*}" >"$seeds/fuzz_query_reply/line_$i"
done <"$shared/replies/gnudb_observed_errors.txt"
printf 'gnudb.gnudb.org' >"$seeds/fuzz_query_reply/setting_host"
printf 'http://gnudb.gnudb.org:80/~cddb/cddb.cgi' >"$seeds/fuzz_query_reply/setting_url"
printf '127.0.0.1:8880/cgi-bin/cddb.cgi' >"$seeds/fuzz_query_reply/setting_port_path"

# MusicBrainz answers from the repository's test data, each behind the byte that picks its disc.
mkdir -p "$seeds/fuzz_musicbrainz_release"
for answer in "$root"/tests/musicbrainz/data/*.json; do
    name="$(basename "$answer" .json)"
    for disc in 0 1 2; do
        { printf "\\x0$disc"; cat "$answer"; } >"$seeds/fuzz_musicbrainz_release/${disc}_$name"
    done
done

# Help files: the one the build compiled and the damaged ones kept as test data.
mkdir -p "$seeds/fuzz_chm_archive"
cp "$build/bin/music.chm" "$root"/tests/ui/data/*.chm "$seeds/fuzz_chm_archive/"

status=0
for target in "${targets[@]}"; do
    # A box set's answer runs past 100 KB, so its target takes longer inputs.
    max_len=65536
    case "$target" in
    fuzz_xmcd_entry) dict="$root/fuzz/xmcd.dict" ;;
    fuzz_musicbrainz_release) dict="$root/fuzz/musicbrainz.dict" max_len=262144 ;;
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
