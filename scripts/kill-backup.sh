#!/usr/bin/env bash
# Kills tunvale-cli hundreds of times in the middle of backups and restores, and checks after
# each kill that every backup under a final name passes the engine's check and that the
# catalogue opens, passes it and holds the albums of either the old or the restored state.
#   scripts/kill-backup.sh [ROUNDS] [CATALOGUE]
# CATALOGUE (default: the generated 10 000-album benchmark catalogue) is copied first; the
# original is never touched. Prints the number of kills that landed mid-operation, every 25
# rounds and at the end. TUNVALE_CLI names another tunvale-cli to run.
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=${1:-200}
source_catalogue=${2:-${TUNVALE_BENCH_DATA:-$PWD/build/bench-data}/albums-10000.muf}
cli=${TUNVALE_CLI:-$PWD/build/bin/tunvale-cli}
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
# Milliseconds the command takes when nothing stops it.
time_ms() {
    local start
    start=$(date +%s%N)
    "$@" >/dev/null
    echo $((($(date +%s%N) - start) / 1000000))
}
backup_ms=$(time_ms "$cli" backup "$catalogue")
restore_ms=$(time_ms "$cli" restore "$catalogue" "$backup")
cp "$work/less.muf" "$catalogue"
echo "catalogue: $full albums; a backup takes about $backup_ms ms, a restore $restore_ms ms;" \
    "$rounds rounds"

# Runs the command and kills it after a random part of 1.2 times `span` ms; true when the kill
# came before the command ended.
kill_during() {
    local span=$1
    shift
    local delay_ms=$((RANDOM * (span * 6 / 5 + 1) / 32768))
    "$@" >/dev/null 2>&1 &
    local pid=$!
    sleep "$(printf '%d.%03d' $((delay_ms / 1000)) $((delay_ms % 1000)))"
    kill -KILL "$pid" 2>/dev/null || true
    local status=0
    wait "$pid" 2>/dev/null || status=$?
    [ "$status" = 137 ]
}

backup_kills=0
restore_kills=0
failures=0
declare -A checked # backups already found whole, by name and size
report() {
    echo "$1: backups killed mid-way: $backup_kills, restores killed mid-way: $restore_kills," \
        "failures: $failures, temporary files left now: $(find "$work" -name '.*part-*' | wc -l)"
}
for ((round = 1; round <= rounds; round++)); do
    if kill_during "$backup_ms" "$cli" backup "$catalogue"; then backup_kills=$((backup_kills + 1)); fi
    while IFS= read -r file; do
        id="$file $(stat -c %s "$file")"
        [ -n "${checked[$id]:-}" ] && continue
        if check "$file"; then
            checked[$id]=1
        else
            echo "round $round: backup $file fails the check" >&2
            failures=$((failures + 1))
        fi
    done < <(find "$XDG_DATA_HOME" -name '*.muf' ! -name '.*')
    if kill_during "$restore_ms" "$cli" restore "$catalogue" "$backup"; then restore_kills=$((restore_kills + 1)); fi
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
    if ((round % 25 == 0)); then report "after $round rounds"; fi
done
report "done"
[ "$failures" = 0 ]
