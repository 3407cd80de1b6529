#!/usr/bin/env bash
# Kills tunvale-cli hundreds of times in the middle of backups and restores, and checks after
# each kill that every backup under a final name passes the engine's check and that the
# catalogue opens, passes it and holds the albums of either the old or the restored state.
#   scripts/kill-backup.sh [ROUNDS] [CATALOGUE]
# CATALOGUE (default: the generated 10 000-album benchmark catalogue) is copied first; the
# original is never touched. Prints the number of kills that landed mid-operation.
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=${1:-200}
source_catalogue=${2:-${TUNVALE_BENCH_DATA:-$PWD/build/bench-data}/albums-10000.muf}
cli=$PWD/build/bin/tunvale-cli
key=Vrelta # the built-in catalogue key; a catalogue with a password of its own is not for this

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config XDG_CACHE_HOME=$work/cache
catalogue=$work/catalogue.muf
cp "$source_catalogue" "$catalogue"

check() {
    [ "$(sqlcipher "$1" "PRAGMA key='$key';" "PRAGMA quick_check;" 2>&1 | tail -n 1)" = ok ]
}
count() { "$cli" count "$catalogue"; }

backup=$("$cli" backup "$catalogue")
full=$(count)
"$cli" delete "$catalogue" 1 >/dev/null
less=$(count)
cp "$catalogue" "$work/less.muf"
start=$(date +%s%N)
"$cli" backup "$catalogue" >/dev/null
span_ms=$((($(date +%s%N) - start) / 1000000))
echo "catalogue: $full albums, backup and restore take about $span_ms ms; $rounds rounds"

# Runs the command and kills it after a random part of twice the usual time; true when the
# kill came before the command ended.
kill_during() {
    local delay_ms=$((RANDOM % (2 * span_ms + 1)))
    "$@" >/dev/null 2>&1 &
    local pid=$!
    sleep "$(printf '0.%03d' "$delay_ms")" 2>/dev/null || sleep 0
    if kill -KILL "$pid" 2>/dev/null; then
        wait "$pid" 2>/dev/null || true
        return 0
    fi
    wait "$pid" 2>/dev/null || true
    return 1
}

backup_kills=0
restore_kills=0
failures=0
for ((round = 1; round <= rounds; round++)); do
    if kill_during "$cli" backup "$catalogue"; then backup_kills=$((backup_kills + 1)); fi
    while IFS= read -r file; do
        if ! check "$file"; then
            echo "round $round: backup $file fails the check" >&2
            failures=$((failures + 1))
        fi
    done < <(find "$XDG_DATA_HOME" -name '*.muf' ! -name '.*')
    if kill_during "$cli" restore "$catalogue" "$backup"; then restore_kills=$((restore_kills + 1)); fi
    albums=$(count || echo unreadable)
    if ! check "$catalogue" || { [ "$albums" != "$full" ] && [ "$albums" != "$less" ]; }; then
        echo "round $round: the catalogue holds '$albums' albums or fails the check" >&2
        failures=$((failures + 1))
    fi
    # Back to the smaller state, so the next restore changes something again.
    if [ "$albums" = "$full" ]; then
        rm -f "$catalogue-journal"
        cp "$work/less.muf" "$catalogue"
    fi
done
leftovers=$(find "$XDG_DATA_HOME" -name '.*part-*' | wc -l)
echo "backups killed mid-way: $backup_kills, restores killed mid-way: $restore_kills," \
    "failures: $failures, temporary files left now: $leftovers"
[ "$failures" = 0 ]
