#!/usr/bin/env bash
# Writes the fuzz targets' seeds, every input a target is meant to take made from the real data,
# into OUT/<target>/. scripts/fuzz.sh starts from them; the test suite replays them through the
# same targets built without the fuzzer, so a seed that crashes fails an ordinary test run.
#
#   bash scripts/fuzz-seeds.sh OUT HELPFILE      # HELPFILE: the music.chm the build compiled
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seeds="$1"
helpfile="$2"
# The full CDDB test data beside the repository when it is there, else the copy kept with the
# tests.
shared="$root/../shared/testdata/cddb"
[ -d "$shared" ] || shared="$root/tests/freedb/data"

rm -rf "$seeds"
mkdir -p "$seeds/fuzz_xmcd_entry" "$seeds/fuzz_query_reply" "$seeds/fuzz_reply_buffer" \
    "$seeds/fuzz_csv_reader" "$seeds/fuzz_musicbrainz_release" "$seeds/fuzz_musicbrainz_search" \
    "$seeds/fuzz_chm_archive"
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
if [ -f "$shared/replies/gnudb_observed_errors.txt" ]; then
    i=0
    while IFS= read -r line; do
        i=$((i + 1))
        printf '%s\r\n' "${line%% |*}" >"$seeds/fuzz_query_reply/line_$i"
    done <"$shared/replies/gnudb_observed_errors.txt"
fi
printf 'gnudb.gnudb.org' >"$seeds/fuzz_query_reply/setting_host"
printf 'http://gnudb.gnudb.org:80/~cddb/cddb.cgi' >"$seeds/fuzz_query_reply/setting_url"
printf '127.0.0.1:8880/cgi-bin/cddb.cgi' >"$seeds/fuzz_query_reply/setting_port_path"

# MusicBrainz answers from the repository's test data, each behind the byte that picks its disc.
for answer in "$root"/tests/musicbrainz/data/*.json; do
    name="$(basename "$answer" .json)"
    for disc in 0 1 2; do
        { printf "\\x0$disc"; cat "$answer"; } >"$seeds/fuzz_musicbrainz_release/${disc}_$name"
    done
done

# Search and release lookup answers, each behind the byte that picks its reading: 0 the
# candidate list, 1 the release mapping (both for each, so each reading meets the other's shape).
for answer in "$root"/tests/musicbrainz/data/search/mb_*.json; do
    name="$(basename "$answer" .json)"
    for reading in 0 1; do
        { printf "\\x0$reading"; cat "$answer"; } >"$seeds/fuzz_musicbrainz_search/${reading}_$name"
    done
done

# Help files: the one the build compiled and the damaged ones kept as test data.
cp "$helpfile" "$root"/tests/ui/data/*.chm "$seeds/fuzz_chm_archive/"
