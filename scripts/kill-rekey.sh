#!/usr/bin/env bash
# Changes a catalogue's password back and forth with `tunvale-cli passwd`, killing it with
# SIGKILL at a random moment of each run, and checks after every kill that the catalogue opens
# with exactly one of the two passwords and still holds every album. Prints the tally: how
# many kills left the old password, how many the new one, and how many a broken file (must
# be 0).
#
#   bash scripts/kill-rekey.sh            # 300 kills, with build/bin/tunvale-cli
#   bash scripts/kill-rekey.sh 500 build  # 500 kills, with the programs of another build
set -euo pipefail
cd "$(dirname "$0")/.."
kills="${1:-300}"
bin="$PWD/${2:-build}/bin"
cli="$bin/tunvale-cli"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
unset TUNVALE_PASSWORD_FILE
export XDG_CONFIG_HOME="$work/config"

catalogue="$work/kill.muf"
cp "$bin/demo.muf" "$catalogue"
chmod u+w "$catalogue"
# Some megabytes of rows, so the copy takes long enough for kills to land inside it.
printf "PRAGMA key = 'Vrelta';\nCREATE TABLE filler(x);\nWITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 40000) INSERT INTO filler SELECT randomblob(200) FROM n;\n" |
    sqlcipher "$catalogue" >/dev/null
albums="$("$cli" count "$catalogue")"

printf 'first password\n' >"$work/a"
printf 'second password\n' >"$work/b"
"$cli" passwd "$catalogue" --new-password-file "$work/a" >/dev/null
start=$(date +%s%N)
"$cli" passwd "$catalogue" --password-file "$work/a" --new-password-file "$work/b" >/dev/null
full_ms=$(( ($(date +%s%N) - start) / 1000000 + 1 ))
current=b other=a
kept_old=0 took_new=0 broken=0

opens_with() {
    [ "$("$cli" count "$catalogue" --password-file "$work/$1" 2>/dev/null)" = "$albums" ]
}

for ((i = 1; i <= kills; i++)); do
    "$cli" passwd "$catalogue" --password-file "$work/$current" \
        --new-password-file "$work/$other" >/dev/null 2>&1 &
    pid=$!
    delay_ms=$(( (RANDOM * 32768 + RANDOM) % full_ms ))
    sleep "$(printf '%d.%03d' $((delay_ms / 1000)) $((delay_ms % 1000)))"
    kill -KILL "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    old=0 new=0
    opens_with "$current" && old=1
    opens_with "$other" && new=1
    if [ $old -eq 1 ] && [ $new -eq 0 ]; then
        kept_old=$((kept_old + 1))
    elif [ $old -eq 0 ] && [ $new -eq 1 ]; then
        took_new=$((took_new + 1))
        tmp=$current current=$other other=$tmp
    else
        broken=$((broken + 1))
        echo "kill $i: old password opens: $old, new password opens: $new" >&2
    fi
done
leftovers=$(find "$work" -maxdepth 1 -name '.kill.muf.part-*' | wc -l)
echo "albums: $albums; one uninterrupted change: ${full_ms} ms; file: $(stat -c %s "$catalogue") bytes"
echo "kills: $kills; old password kept: $kept_old; new password in place: $took_new; broken: $broken"
echo "temporary files left by the kills (removed by the next change once ten minutes old): $leftovers"
[ "$broken" -eq 0 ]
