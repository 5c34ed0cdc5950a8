#!/usr/bin/env bash
# The fault campaign on the player store. It kills the game's save, the
# profile tool's import and its recovery with SIGKILL at random moments; runs
# readers while a recovery works; damages store files (truncated, random pages
# overwritten, zero-filled, a foreign header, a changed byte in the last frame
# of the write-ahead log), sometimes with saves made after the newest backup;
# drops junk and misdated files among the backups; takes the store's
# permissions away; deletes and restores players; and fails saves with a file
# size limit (ulimit -f, no root needed) that strikes during the save. After
# each fault the store must be whole with the old or the new profile, or
# recovered with no more saves lost than were made since the newest backup,
# and any loss must be reported. Every save of the game's loop logs its point
# in the player's answer log: after each fault every save the profile holds
# must have its record exactly once (the log and the profile are written in
# one transaction), and an import without a log must leave the log as it was.
#
#   scripts/faults.sh --short        a quick run (a test of the suite)
#   scripts/faults.sh [--long] [N]   by hand: N rounds of each kind (default 300);
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
if [ "$mode" = short ]; then damages=4; fulls=3; rounds=4; else damages=$kills; fulls=$kills; rounds=$kills; fi

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

declare -A injected old new recovered lost saves_lost saves_since log_lost log_dup
# Saves lost in a recovery, and saves made since the newest backup then.
count_saves() { # fault lost since
    saves_lost[$1]=$(( ${saves_lost[$1]:-0} + $2 ))
    saves_since[$1]=$(( ${saves_since[$1]:-0} + $3 ))
}
# The answer log against the profile: "lost duplicated". chain: every point
# the profile holds since the first record has one record; same: the log holds
# as many records as before the fault; grew: log_added more than before, the
# newest for the points the profile holds.
log_mode=chain
log_who=Вася
log_before=0
log_added=0
log_faults() {
    "$tool" log "$log_who" --json 2>/dev/null | /usr/bin/python3 -c '
import json, sys
mode, scores, before, added = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
try:
    recs = json.load(sys.stdin)["records"]
except Exception:
    print("1 0"); sys.exit()
if mode in ("same", "grew"):
    want = before + (added if mode == "grew" else 0)
    lost, dup = max(0, want - len(recs)), max(0, len(recs) - want)
    if mode == "grew" and added and recs and str(recs[-1]["after"]) != scores:
        lost += 1
    print("%d %d" % (lost, dup)); sys.exit()
afters = [r["after"] for r in recs if r["event"] == "right"]
if not afters or not scores:
    print("0 0"); sys.exit()
want = set(range(recs[0]["before"] + 1, int(scores) + 1))
dup = len(afters) - len(set(afters)) + len(set(afters) - want)
print("%d %d" % (len(want - set(afters)), dup))
' "$log_mode" "$(scores "$log_who")" "$log_before" "$log_added"
}
log_count() { "$tool" log "$1" --json 2>/dev/null | /usr/bin/python3 -c 'import json, sys; print(len(json.load(sys.stdin)["records"]))' 2>/dev/null || echo 0; }
check_log() { # fault
    [ "$log_mode" = off ] && return
    local r
    r=$(log_faults)
    set -- "$1" $r
    log_lost[$1]=$(( ${log_lost[$1]:-0} + $2 ))
    log_dup[$1]=$(( ${log_dup[$1]:-0} + $3 ))
    [ "$2$3" = 00 ] || echo "LOG after $1: $2 records lost, $3 duplicated" >&2
}
note() { # fault outcome
    check_log "$1"
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
# A player's points in the newest backup file (by its time on disk).
backup_scores() {
    /usr/bin/python3 - "$work/store/backups" "$1" <<'EOF'
import glob, os, sqlite3, sys
for f in sorted(glob.glob(sys.argv[1] + "/registry-*.sqlite3"), key=os.path.getmtime, reverse=True):
    try:
        db = sqlite3.connect("file:%s?immutable=1" % f, uri=True)
        row = db.execute("SELECT v.data FROM reg_values v JOIN reg_keys k ON v.key = k.id "
                         "WHERE k.name = ? AND v.folded = 'scores'", (sys.argv[2],)).fetchone()
    except sqlite3.Error:
        continue
    if row:
        print(row[0]); break
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
# Вася has a log; the files carry none, so every import must keep it.
fresh
"$saver" bump Вася 3
"$tool" export Вася --no-log >"$work/base.json"
log_mode=same
sed 's/^  "Scores": .*/  "Scores": 1000,/' "$work/base.json" >"$work/a.json"
sed 's/^  "Scores": .*/  "Scores": 2000,/' "$work/base.json" >"$work/b.json"
# Kills land anywhere in the tool's whole run: its length is measured first.
t0=$(date +%s%N)
for f in a b a b a; do "$tool" import "$work/$f.json" >/dev/null; done
run_ms=$(( ($(date +%s%N) - t0) / 5000000 + 2 ))
for ((i = 0; i < kills; i++)); do
    before=$(scores Вася)
    if [ "$before" = 1000 ]; then next=2000; file=b; else next=1000; file=a; fi
    log_before=$(log_count Вася)
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

log_mode=chain

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
# Saves made after the newest backup: none in half the rounds, 1-5 in the others.
saves_after_backup() { # round
    local n=0
    [ $(($1 % 2)) = 1 ] && n=$(shuf -i 1-5 -n 1)
    [ "$n" -gt 0 ] && "$saver" bump Вася "$n"
    echo "$n"
}
# Judges a store after a fault and its heal: the other players unchanged,
# Вася at most `since` saves behind `want`, and any loss reported.
judge() { # label others want since healed
    local now missing
    now=$(scores Вася)
    missing=$(( $3 - ${now:-0} ))
    if [ "$("$tool" list 2>&1 | grep -v '^Вася')" != "$2" ]; then note "$1" "another player differs"
    elif [ -z "$now" ]; then note "$1" "Вася is gone"
    elif [ "$missing" -lt 0 ] || [ "$missing" -gt "$4" ]; then note "$1" "score $now: $missing saves lost, $4 made since the backup"
    elif [ -n "$5" ]; then note "$1" recovered; count_saves "$1" "$missing" "$4"
    elif [ "$missing" = 0 ]; then note "$1" old  # the damage missed every page in use
    else note "$1" "$missing saves lost without a word"
    fi
}
for kind in truncated pages zeros header; do
    label="store file: $kind"
    [ $kind = truncated ] && label="store file truncated at a random offset"
    [ $kind = pages ] && label="store file: 1-3 random pages overwritten"
    [ $kind = zeros ] && label="store file zero-filled"
    [ $kind = header ] && label="store file with a header that is not SQLite's"
    for ((i = 0; i < damages; i++)); do
        fresh
        others=$("$tool" list | grep -v '^Вася')
        since=$(saves_after_backup $i)
        want=$(scores Вася)
        damage $kind
        healed=$(heal)
        if [ -n "$healed" ] && ! ls "$work/store"/registry.sqlite3.damaged-* >/dev/null 2>&1; then
            note "$label" "the damaged file was not kept"
        else
            judge "$label" "$others" "$want" "$since" "$healed"
        fi
    done
done

# --- a changed byte in the last frame of the write-ahead log -----------------
label="a changed byte in the last frame of the log"
for ((i = 0; i < damages; i++)); do
    fresh
    others=$("$tool" list | grep -v '^Вася')
    base=$(scores Вася)
    # The game killed after some saves leaves its log and index behind.
    "$saver" loop Вася >"$work/out" 2>/dev/null &
    pid=$!
    pause 20 300
    kill -9 $pid 2>/dev/null
    wait $pid 2>/dev/null
    last=$(tail -n 1 "$work/out" | sed -n 's/^saved //p')
    last=${last:-$base}
    backed=$(backup_scores Вася)
    wal=$store-wal
    if [ -s "$wal" ]; then
        frames=$(( ($(stat -c %s "$wal") - 32) / 4120 ))
        [ "$frames" -gt 0 ] && printf "\\x$(printf %02x "$(shuf -i 0-255 -n 1)")" |
            dd of="$wal" bs=1 seek=$((32 + (frames - 1) * 4120 + $(shuf -i 0-4119 -n 1))) conv=notrunc status=none
    fi
    judge "$label" "$others" "$last" "$((last - backed))" "$(heal)"
done

# --- kills of the recovery, and readers while it works ------------------------
fresh
damage header
t0=$(date +%s%N)
"$tool" recover >/dev/null 2>&1
recover_ms=$(( ($(date +%s%N) - t0) / 1000000 + 2 ))
for what in "kill the recovery" "a reader during a recovery"; do
    for ((i = 0; i < rounds; i++)); do
        fresh
        others=$("$tool" list | grep -v '^Вася')
        since=$(saves_after_backup $i)
        want=$(scores Вася)
        damage header
        "$tool" recover >/dev/null 2>&1 &
        pid=$!
        pause 1 "$recover_ms"
        if [ "$what" = "kill the recovery" ]; then
            kill -9 $pid 2>/dev/null
        else
            "$tool" list >/dev/null 2>&1
            "$tool" export Вася >/dev/null 2>&1
        fi
        wait $pid 2>/dev/null
        # Whatever the recovery did, its report is the notice: recovered.
        heal >/dev/null
        judge "$what" "$others" "$want" "$since" recovered
    done
done

# --- junk and misdated files among the backups --------------------------------
label="junk and misdated backups"
for ((i = 0; i < rounds; i++)); do
    fresh
    others=$("$tool" list | grep -v '^Вася')
    for d in $(seq 10 19); do head -c $((RANDOM % 9000)) /dev/urandom >"$work/store/backups/registry-209912$d-000000.sqlite3"; done
    /usr/bin/python3 -c 'import sqlite3, sys; sqlite3.connect(sys.argv[1]).execute("create table x(y)")' \
        "$work/store/backups/registry-20991231-000000.sqlite3"
    saves_after_backup $((i | 1)) >/dev/null
    want=$(scores Вася)
    written=$("$tool" backup 2>/dev/null)
    if [ ! -f "$written" ]; then note "$label" "backup deleted the file it wrote"; continue; fi
    damage header
    judge "$label" "$others" "$want" 0 "$(heal)"
done

# --- the store's permissions taken away ----------------------------------------
# As root permissions stop nothing: the tool then runs as nobody.
as_user() { if [ "$(id -u)" = 0 ]; then setpriv --reuid=65534 --regid=65534 --clear-groups "$@"; else "$@"; fi; }
label="the store's permissions taken away"
for ((i = 0; i < rounds; i++)); do
    fresh
    before=$("$tool" list)
    chmod 711 "$work"
    chmod 777 "$work/store" "$work/store/backups"
    chmod 666 "$work/store"/*.lock
    [ $((i % 2)) = 0 ] && chmod 000 "$store" || chmod 444 "$store"
    as_user "$tool" check >"$work/out" 2>&1
    rc_check=$?
    # Refused for the right reason, not for a lock file it could not open.
    grep -q 'cannot be read or written' "$work/out" || rc_check=0
    as_user "$tool" recover >/dev/null 2>&1
    rc_recover=$?
    chmod 644 "$store"
    if [ $rc_check = 0 ] || [ $rc_recover = 0 ]; then note "$label" "check $rc_check, recover $rc_recover on a store it cannot use"
    elif ls "$work/store"/registry.sqlite3.damaged-* "$store"-wal >/dev/null 2>&1; then note "$label" "the store was touched"
    elif [ "$("$tool" list)" != "$before" ] || ! "$tool" check >/dev/null; then note "$label" "players differ"
    else note "$label" old
    fi
done

# --- deletion ---------------------------------------------------------------------
label="delete and restore a player"
fresh
for ((i = 0; i < rounds; i++)); do
    who=${players[$(shuf -i 0-4 -n 1)]}
    log_who=$who
    [ $((i % 3)) = 0 ] && "$saver" bump "$who" "$(shuf -i 1-3 -n 1)"
    before=$("$tool" export "$who")
    "$tool" delete "$who" >/dev/null 2>&1
    "$tool" restore "$who" >/dev/null 2>&1
    if [ "$("$tool" export "$who" 2>&1)" = "$before" ]; then note "$label" old
    else note "$label" "$who did not come back as deleted"
    fi
done

log_who=Вася

# --- full disk -----------------------------------------------------------------
# The limit lies above the 32 KiB the store's index needs to open, so the
# failure strikes the save itself; the draws that struck it are counted.
struck=0
fresh
for ((i = 0; i < 2 * fulls; i++)); do  # fulls rounds of each of the two kinds
    before=$(scores Вася)
    limit=$(shuf -i 33-96 -n 1)  # KiB a file may grow to
    if [ $((i % 2)) = 0 ]; then
        what="a save with a full disk (ulimit -f)"
        log_mode=grew
        log_before=$(log_count Вася)
        (ulimit -f "$limit"; "$saver" grow Вася) >"$work/out" 2>&1
        rc=$?
        log_added=$(grep -c '^saved ' "$work/out")
        [ $rc -ne 0 ] && grep -q '^opened' "$work/out" && struck=$((struck + 1))
        want=$((before + 12))
        # Each save reported as committed must be there.
        last=$(grep '^saved ' "$work/out" | tail -n 1 | sed 's/^saved //')
        [ $rc -ne 0 ] && before=${last:-$before}
    else
        what="an import with a full disk (ulimit -f)"
        log_mode=same
        log_before=$(log_count Вася)
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
total_log=0
table="| Fault | Injected | Whole, old profile | Whole, new profile | Recovered | Saves lost in recoveries | Saves made since the newest backup | Players lost | Log records lost | Log records duplicated |
|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|"
for f in "kill the game's save" "kill the tool's import" \
    "store file truncated at a random offset" "store file: 1-3 random pages overwritten" \
    "store file zero-filled" "store file with a header that is not SQLite's" \
    "a changed byte in the last frame of the log" "kill the recovery" "a reader during a recovery" \
    "junk and misdated backups" "the store's permissions taken away" "delete and restore a player" \
    "a save with a full disk (ulimit -f)" "an import with a full disk (ulimit -f)"; do
    table+="
| $f | ${injected[$f]:-0} | ${old[$f]:-0} | ${new[$f]:-0} | ${recovered[$f]:-0} | ${saves_lost[$f]:-0} | ${saves_since[$f]:-0} | ${lost[$f]:-0} | ${log_lost[$f]:-0} | ${log_dup[$f]:-0} |"
    total_lost=$((total_lost + ${lost[$f]:-0}))
    total_log=$((total_log + ${log_lost[$f]:-0} + ${log_dup[$f]:-0}))
done
echo "$table"
echo "players lost: $total_lost"
echo "answer log records lost or duplicated: $total_log"
echo "full-disk saves whose failure struck the save itself: $struck"

if [ "$mode" = long ]; then
    cat >"$root/docs/reliability.md" <<EOF
# Reliability of the player store

Written by \`scripts/faults.sh $kills\` on $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) CPU cores, $(uname -sr).

Each kill is a SIGKILL at a random moment (5-400 ms into a loop of the game's own
save, which writes a backup file every tenth save; anywhere in the run of
\`zentrika-profile import\`, whose length, $run_ms ms, is measured first; anywhere in
the run of \`zentrika-profile recover\` on a damaged store, $recover_ms ms). A reader
during a recovery is \`list\` and \`export\` started at a random moment of it.
Each damage is done to a closed store holding five players and one backup file, then the
store is checked and recovered as the game does at start (\`zentrika-profile check\`, \`recover\`).
In half the rounds of the damages, the kills of the recovery and the readers, 1-5 saves
were made after the newest backup, so that a recovery from it has saves to lose. The log
damage is one random byte written into the last frame of the write-ahead log that a
killed game's save loop left behind. The junk is ten files of random bytes named
\`registry-209912…\` and an empty SQLite database named \`registry-20991231-000000.sqlite3\`
among the backups, before \`zentrika-profile backup\` and a damaged store. Permissions:
the store made unreadable (mode 000) or read-only (444), then \`check\` and \`recover\`
run as another user (\`nobody\`), then the mode given back. A deletion is
\`delete\` then \`restore\` of a random player. A full disk is a file size limit
(\`ulimit -f\` of 33-96 KiB, above what opening the store needs) on a save or an
import; $struck of the saves failed after the store was open, in the save itself.

Outcomes: *whole, old profile* and *whole, new profile* mean the store passed SQLite's
integrity_check and held the profile from before or after the interrupted save (for a damage
that hit no page in use, the players are all there unchanged; for permissions, the store
untouched and refused; for a deletion, the restored player exactly as deleted); *recovered*
means the damaged file was kept aside, the recovery was reported, and the players came back
with no more saves lost than were made since the newest backup. A full-disk save counts
only when a failed save was reported as failed and a reported success really landed.
Anything else counts as players lost: a player missing or changed, more saves lost than
the newest backup allows, or a loss without a word.

The answer log: every save of the game's loop and of \`fault_saver bump\` and \`grow\` logs its
point as a record in the player's answer log, in the save's transaction. After each fault the log
is read back with \`zentrika-profile log NAME --json\`: *log records lost* counts points the
profile holds (since its first record) that have no record, *duplicated* records written twice or
for a save the profile does not hold. A recovery that takes the store back to a backup takes the
log back with it, so only a log that disagrees with its own profile counts. The imports carry no
log (\`export --no-log\`) and must leave the stored log as it was.

$table

**Players lost: $total_lost. Answer log records lost or duplicated: $total_log.** Saves lost in recoveries: $(IFS=+; echo $(( ${saves_lost[*]:-0} ))), of
$(IFS=+; echo $(( ${saves_since[*]:-0} ))) made since the newest backup in those rounds.
EOF
    echo "wrote docs/reliability.md"
fi
[ "$total_lost" = 0 ] && [ "$total_log" = 0 ]
