#!/usr/bin/env bash
# The fault campaign on the player store. It kills the game's save and the
# profile tool's import with SIGKILL at random moments, damages store files
# (truncated, random pages overwritten, zero-filled, a foreign header), and
# fails saves with a file size limit (ulimit -f, no root needed). After each
# fault the store must be whole with the old or the new profile, or recovered
# from a backup file with nothing older than that backup lost.
#
#   scripts/faults.sh --short        a quick run (a test of the suite)
#   scripts/faults.sh [--long] [N]   by hand: N kills of each kind (default 300);
#                                    writes docs/reliability.md
# Needs the debug build (or ZENTRIKA_TOOLS_DIR and ZENTRIKA_FAULT_SAVER).
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
mode=long
kills=300
case "${1:-}" in
--short) mode=short; kills=10 ;;
--long) shift; kills=${1:-300} ;;
[0-9]*) kills=$1 ;;
esac
if [ "$mode" = short ]; then damages=4; fulls=6; else damages=$((kills / 5)); fulls=$((kills / 5)); fi

tool=${ZENTRIKA_TOOLS_DIR:-$root/build/debug/bin}/zentrika-profile
saver=${ZENTRIKA_FAULT_SAVER:-$root/build/debug/tests/faults/fault_saver}
for p in "$tool" "$saver"; do
    [ -x "$p" ] || { echo "faults.sh: $p is missing; build the debug preset first" >&2; exit 2; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export ZENTRIKA_REGISTRY=$work/store/registry.sqlite3
store=$ZENTRIKA_REGISTRY
players=(Вася Петя Маша Коля Оля)

declare -A injected old new recovered lost
note() { # fault outcome
    injected[$1]=$(( ${injected[$1]:-0} + 1 ))
    case $2 in
    old) old[$1]=$(( ${old[$1]:-0} + 1 )) ;;
    new) new[$1]=$(( ${new[$1]:-0} + 1 )) ;;
    recovered) recovered[$1]=$(( ${recovered[$1]:-0} + 1 )) ;;
    *) lost[$1]=$(( ${lost[$1]:-0} + 1 )); echo "LOST after $1: $2" >&2 ;;
    esac
}

fresh() {
    rm -rf "$work/store"
    mkdir -p "$work/store"
    "$saver" seed "${players[@]}" || { echo "faults.sh: seeding failed" >&2; exit 1; }
}
scores() { "$tool" export "$1" 2>/dev/null | sed -n 's/^  "Scores": \(-\{0,1\}[0-9]*\),$/\1/p'; }
# A random number of milliseconds in [lo, hi), as seconds for sleep.
pause() { sleep "$(awk -v r="$(shuf -i "$1-$(( $2 - 1 ))" -n 1)" 'BEGIN { printf "%.3f", r / 1000 }')"; }
# Every backup file under a real name must be a whole store.
backups_whole() {
    /usr/bin/python3 - "$work/store/backups" <<'EOF'
import glob, sqlite3, sys
for f in glob.glob(sys.argv[1] + "/registry-*.sqlite3"):
    db = sqlite3.connect("file:%s?mode=ro" % f, uri=True)
    if db.execute("PRAGMA quick_check").fetchone()[0] != "ok":
        print("half backup: " + f); sys.exit(1)
EOF
}
# Recovers when damaged; prints "recovered" then.
heal() {
    if "$tool" check >/dev/null 2>&1; then return 0; fi
    "$tool" recover >/dev/null 2>&1 && echo recovered
}

# --- kills of the game's save ------------------------------------------------
fresh
for ((i = 0; i < kills; i++)); do
    before=$(scores Вася)
    others=$("$tool" list | grep -v '^Вася')
    "$saver" loop Вася >"$work/out" 2>"$work/err" &
    pid=$!
    pause 5 400
    kill -9 $pid 2>/dev/null
    wait $pid 2>/dev/null
    last=$(tail -n 1 "$work/out" | sed -n 's/^saved //p')
    last=${last:-$before}
    healed=$(heal)
    now=$(scores Вася)
    if ! backups_whole >&2; then note "kill the game's save" "a backup file is not whole"
    elif [ "$("$tool" list | grep -v '^Вася')" != "$others" ]; then note "kill the game's save" "another player changed"
    elif [ -n "$healed" ]; then note "kill the game's save" "the store needed recovery"
    elif [ "$now" = "$last" ]; then note "kill the game's save" old
    elif [ "$now" = "$((last + 1))" ]; then note "kill the game's save" new
    else note "kill the game's save" "score $now, last committed $last"
    fi
done

# --- kills of the tool's import ----------------------------------------------
fresh
"$tool" export Вася >"$work/base.json"
sed 's/^  "Scores": .*/  "Scores": 1000,/' "$work/base.json" >"$work/a.json"
sed 's/^  "Scores": .*/  "Scores": 2000,/' "$work/base.json" >"$work/b.json"
# Kills land anywhere in the tool's whole run: its length is measured first.
t0=$(date +%s%N)
for f in a b a b a; do "$tool" import "$work/$f.json" >/dev/null; done
run_ms=$(( ($(date +%s%N) - t0) / 5000000 + 2 ))
for ((i = 0; i < kills; i++)); do
    before=$(scores Вася)
    if [ "$before" = 1000 ]; then next=2000; file=b; else next=1000; file=a; fi
    "$tool" import "$work/$file.json" >/dev/null 2>&1 &
    pid=$!
    pause 1 "$run_ms"
    kill -9 $pid 2>/dev/null
    wait $pid 2>/dev/null
    rc=$?
    healed=$(heal)
    now=$(scores Вася)
    if [ -n "$healed" ]; then note "kill the tool's import" "the store needed recovery"
    elif [ "$now" = "$next" ]; then note "kill the tool's import" new
    elif [ "$now" = "$before" ] && [ $rc -ne 0 ]; then note "kill the tool's import" old
    else note "kill the tool's import" "score $now (before $before, import exit $rc)"
    fi
done

# --- damaged store files -----------------------------------------------------
damage() { # kind
    local size
    size=$(stat -c %s "$store")
    case $1 in
    truncated) truncate -s "$(shuf -i 0-$((size - 1)) -n 1)" "$store" ;;
    pages)
        for ((p = 0; p < $(shuf -i 1-3 -n 1); p++)); do
            dd if=/dev/urandom of="$store" bs=4096 seek="$(shuf -i 0-$((size / 4096 - 1)) -n 1)" count=1 conv=notrunc status=none
        done ;;
    zeros) dd if=/dev/zero of="$store" bs="$size" count=1 conv=notrunc status=none ;;
    header) printf 'PK\003\004 not a store at all' | dd of="$store" conv=notrunc status=none ;;
    esac
}
for kind in truncated pages zeros header; do
    label="store file: $kind"
    [ $kind = truncated ] && label="store file truncated at a random offset"
    [ $kind = pages ] && label="store file: 1-3 random pages overwritten"
    [ $kind = zeros ] && label="store file zero-filled"
    [ $kind = header ] && label="store file with a header that is not SQLite's"
    for ((i = 0; i < damages; i++)); do
        fresh
        expected=$("$tool" list)  # the seed's backup holds exactly this
        damage $kind
        healed=$(heal)
        if [ "$("$tool" list 2>&1)" != "$expected" ]; then note "$label" "players differ from the backup's"
        elif [ -n "$healed" ] && ls "$work/store"/registry.sqlite3.damaged-* >/dev/null 2>&1; then note "$label" recovered
        elif [ -z "$healed" ]; then note "$label" old  # the damage missed every page in use
        else note "$label" "the damaged file was not kept"
        fi
    done
done

# --- full disk -----------------------------------------------------------------
fresh
for ((i = 0; i < fulls; i++)); do
    before=$(scores Вася)
    limit=$(shuf -i 1-64 -n 1)  # KiB a file may grow to
    if [ $((i % 2)) = 0 ]; then
        what="a save with a full disk (ulimit -f)"
        (ulimit -f "$limit"; "$saver" grow Вася) >/dev/null 2>&1
        rc=$?
        want=$((before + 1000))
    else
        what="an import with a full disk (ulimit -f)"
        sed "s/^  \"Scores\": .*/  \"Scores\": $((before + 7)),/" "$work/base.json" >"$work/c.json"
        (ulimit -f "$limit"; "$tool" import "$work/c.json") >/dev/null 2>&1
        rc=$?
        want=$((before + 7))
    fi
    healed=$(heal)
    now=$(scores Вася)
    if [ -n "$healed" ]; then note "$what" "the store needed recovery"
    elif [ $rc -eq 0 ] && [ "$now" = "$want" ]; then note "$what" new
    elif [ $rc -ne 0 ] && [ "$now" = "$before" ]; then note "$what" old
    else note "$what" "score $now (before $before, wanted $want, exit $rc)"
    fi
    # Room again: the store keeps working.
    [ $((i % 4)) = 3 ] && fresh
done

# --- report --------------------------------------------------------------------
total_lost=0
table="| Fault | Injected | Whole, old profile | Whole, new profile | Recovered from backup | Players lost |
|---|---:|---:|---:|---:|---:|"
for f in "kill the game's save" "kill the tool's import" \
    "store file truncated at a random offset" "store file: 1-3 random pages overwritten" \
    "store file zero-filled" "store file with a header that is not SQLite's" \
    "a save with a full disk (ulimit -f)" "an import with a full disk (ulimit -f)"; do
    table+="
| $f | ${injected[$f]:-0} | ${old[$f]:-0} | ${new[$f]:-0} | ${recovered[$f]:-0} | ${lost[$f]:-0} |"
    total_lost=$((total_lost + ${lost[$f]:-0}))
done
echo "$table"
echo "players lost: $total_lost"

if [ "$mode" = long ]; then
    cat >"$root/docs/reliability.md" <<EOF
# Reliability of the player store

Written by \`scripts/faults.sh $kills\` on $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) CPU cores, $(uname -sr).

Each kill is a SIGKILL at a random moment (5-400 ms into a loop of the game's own
save, which writes a backup file every tenth save; anywhere in the run of
\`zentrika-profile import\`, whose length, $run_ms ms, is measured first).
Each damage is done to a closed store holding five players and one backup file, then the
store is checked and recovered as the game does at start (\`zentrika-profile check\`, \`recover\`).
A full disk is a file size limit (\`ulimit -f\` of 1-64 KiB) on a save or an import.

Outcomes: *whole, old profile* and *whole, new profile* mean the store passed SQLite's
quick_check and held the profile from before or after the interrupted save (for a damage
that hit no page in use, the players are all there unchanged); *recovered* means the damaged
file was moved aside and the players came back from the backup, exactly as the backup held
them. A full-disk save counts only when a failed save was reported as failed and a reported
success really landed. Anything else counts as players lost.

$table

**Players lost: $total_lost.**
EOF
    echo "wrote docs/reliability.md"
fi
[ "$total_lost" = 0 ]
