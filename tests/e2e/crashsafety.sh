#!/usr/bin/env bash
# Kills telvane at random moments while it writes, and checks after every kill that each file
# it keeps is whole and holds everything it held before: the month log of 20,000 records, the
# tariffs and the settings. Then the next start must run.
#   crashsafety.sh TREE DRIVER ROUNDS [SEED]       (TELVANE_CRASH_ROUNDS overrides ROUNDS)
set -euo pipefail
tree=$1
driver=$2
rounds=${TELVANE_CRASH_ROUNDS:-$3}
RANDOM=${4:-$$}
if [ -z "${DISPLAY:-}" ]; then
    echo "crash test: needs a display (tools/test starts Xvfb)"
    exit 77
fi
wine_run=$tree/wine-run
export WINEPREFIX=$tree/wineprefix WINEDEBUG=-all
work=$tree/crash-run
rm -rf "$work"
mkdir -p "$work"
cp -r "$tree/dist"/. "$work"/
rm -f "$work"/settings.zip "$work"/rates.zip "$work"/log_*.zip*
cp "$tree/dialsim/rasapi32.dll" "$tree/dialsim/dialsim.exe" "$work"/
export DIALSIM_DIR=$(winepath -w "$work")
export TELVANE_DLLOVERRIDES="rasapi32=n,b"
month_log=$work/log_$(date +%Y%m).zip

drive() { "$wine_run" "$driver" "$@" | tr -d '\r'; }
dialsim() { "$wine_run" "$work/dialsim.exe" "$@" >/dev/null 2>&1; }
records() { python3 -c 'import gzip,sys; print(gzip.open(sys.argv[1]).read().count(b"<log>"))' "$month_log"; }

# Every file decompresses to its end; prints the month's record count.
check_files() {
    python3 - "$work" "$month_log" <<'PY'
import glob, gzip, sys, os
work, month = sys.argv[1], sys.argv[2]
for path in sorted(glob.glob(os.path.join(work, "*.zip"))):
    data = gzip.open(path).read()  # raises on a cut or damaged stream
    name = os.path.basename(path)
    if name == "settings.zip" and len(data) != 8652:
        sys.exit("settings.zip holds %d bytes" % len(data))
    if name == "rates.zip" and b"<name>Crash test</name>" not in data:
        sys.exit("rates.zip lost its tariff")
print(gzip.open(month).read().count(b"<log>"))
PY
}

python3 - "$month_log" "$work/rates.zip" <<'PY'
import gzip, sys
blocks = "".join("<log>\r\n\t<day>1</day>\r\n\t<time>%d</time>\r\n\t<dur>30</dur>\r\n\t<rx>%d</rx>\r\n"
                 "\t<rxp>3</rxp>\r\n\t<tx>%d</tx>\r\n\t<txp>2</txp>\r\n</log>\r\n" % (i % 86400, 1000 + i, 100 + i)
                 for i in range(20000))
gzip.open(sys.argv[1], "wb", 9).write(blocks.encode())
rate = ("<version>1</version>\r\n<rate>\r\n\t<name>Crash test</name>\r\n\t<ltimeb>28800</ltimeb>\r\n"
        "\t<ltimee>64800</ltimee>\r\n\t<ldays>00000110</ldays>\r\n\t<precision>2</precision>\r\n\t<unit>1</unit>\r\n"
        + "\t<amount>100</amount>\r\n" * 4 + "\t<cost>0.050000</cost>\r\n" * 7 + "</rate>\r\n")
gzip.open(sys.argv[2], "wb", 9).write(rate.encode())
PY

dialsim reset
dialsim add "Demo Provider" --ip 127.0.0.1
failures=0
kills_while_writing=0
seen=$(records)
started=$(date +%s)
for round in $(seq 1 "$rounds"); do
    "$wine_run" "$work/telvane.exe" &
    telvane_pid=$!
    if ! drive window >/dev/null; then
        echo "FAIL round $round: telvane did not start"
        failures=$((failures + 1))
        kill -9 "$telvane_pid" 2>/dev/null || true
        wait "$telvane_pid" 2>/dev/null || true
        continue
    fi
    # What makes it write: connections that end (the month log), saving the settings, and
    # the options sheet closed with OK (tariffs and settings). The highest record count seen on
    # disk is what must survive the kill.
    (
        for step in $(seq 1 20); do
            case $((step % 4)) in
                0) drive command 30053 >/dev/null 2>&1 || true ;;
                1) drive options-ok >/dev/null 2>&1 || true ;;
                *) dialsim connect "Demo Provider"; sleep 0.2; dialsim hangup "Demo Provider" ;;
            esac
            records >"$work/seen.$round" 2>/dev/null || true
            sleep 0.1
        done
    ) &
    activity=$!
    sleep "$((RANDOM % 4)).$((RANDOM % 10))"
    ls "$work"/*.tmp >/dev/null 2>&1 && kills_while_writing=$((kills_while_writing + 1))
    kill -9 "$telvane_pid" 2>/dev/null || true
    wait "$telvane_pid" 2>/dev/null || true
    [ -f "$work/seen.$round" ] && seen_now=$(cat "$work/seen.$round") || seen_now=$seen
    kill "$activity" 2>/dev/null || true
    wait "$activity" 2>/dev/null || true
    dialsim hangup "Demo Provider" || true
    [ "${seen_now:-0}" -gt "$seen" ] && seen=$seen_now
    if ! count=$(check_files); then
        echo "FAIL round $round: a file is damaged"
        failures=$((failures + 1))
        break
    fi
    if [ "$count" -lt "$seen" ]; then
        echo "FAIL round $round: the month log holds $count records, $seen were on disk before the kill"
        failures=$((failures + 1))
    fi
    seen=$count
done

# The start after the last kill runs and cleans up what the kill left.
"$wine_run" "$work/telvane.exe" &
telvane_pid=$!
if drive window >/dev/null && [ -z "$(ls "$work"/*.tmp 2>/dev/null)" ]; then
    echo "ok   the start after the last kill runs and removes the leftovers"
else
    echo "FAIL the start after the last kill"
    failures=$((failures + 1))
fi
drive close yes >/dev/null 2>&1 || kill -9 "$telvane_pid" 2>/dev/null || true
wait "$telvane_pid" 2>/dev/null || true
echo "crash test: $rounds rounds in $(($(date +%s) - started)) s, $kills_while_writing kills with a write under way," \
     "month log $(records) records, $failures failure(s)"
[ "$failures" = 0 ]
