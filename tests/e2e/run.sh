#!/usr/bin/env bash
# telvane end to end under Wine: first start with no files, a simulated connection with real
# loopback traffic, its log record and its export from the command line, the year's table and the
# comparison of tariffs from the command line, the exit question and its
# "do not ask again" box, the saved files, a hidden start, a missing skin, a damaged past month, a
# restarted notification area, a money limit that hangs up, a placement on no screen, a second
# start, the session's end, a month log that cannot be written at exit, the loopback adapter
# watched like a connection, start-up without MSXML 4.0 or without any XML document object, and
# the command line's usage.
set -euo pipefail
tree=$1
driver=$2
if [ -z "${DISPLAY:-}" ]; then
    echo "e2e: needs a display (tools/test starts Xvfb)"
    exit 77
fi
wine_run=$tree/wine-run
export WINEPREFIX=$tree/wineprefix WINEDEBUG=-all
work=$tree/e2e-run
rm -rf "$work"
mkdir -p "$work"
cp -r "$tree/dist"/. "$work"/
rm -f "$work"/settings.zip "$work"/rates.zip "$work"/log_*.zip
cp "$tree/dialsim/rasapi32.dll" "$tree/dialsim/dialsim.exe" "$work"/
export DIALSIM_DIR=$(winepath -w "$work")
export TELVANE_DLLOVERRIDES="rasapi32=n,b"

failures=0
check() {  # check DESCRIPTION COMMAND...
    local what=$1
    shift
    if "$@"; then
        echo "ok   $what"
    else
        echo "FAIL $what"
        failures=$((failures + 1))
    fi
}
drive() { "$wine_run" "$driver" "$@" | tr -d '\r'; }
dialsim() { "$wine_run" "$work/dialsim.exe" "$@" >/dev/null; }
start() {
    "$wine_run" "$work/telvane.exe" &
    telvane_pid=$!
}
stop_leftover() { kill "$telvane_pid" 2>/dev/null || true; }
trap stop_leftover EXIT
settings_field() {  # settings_field OFFSET LENGTH: bytes of the saved record, as text
    python3 - "$work/settings.zip" "$1" "$2" <<'PY'
import gzip, sys
data = gzip.open(sys.argv[1]).read()
offset, length = int(sys.argv[2]), int(sys.argv[3])
field = data[offset:offset + length]
print(int.from_bytes(field, "little") if length <= 4 else field.split(b"\0")[0].decode())
PY
}
set_settings_field() {  # set_settings_field OFFSET VALUE (a byte) or OFFSET TEXT
    python3 - "$work/settings.zip" "$1" "$2" <<'PY'
import gzip, sys
path, offset, value = sys.argv[1], int(sys.argv[2]), sys.argv[3]
data = bytearray(gzip.open(path).read())
if value.isdigit():
    data[offset] = int(value)
else:
    data[offset:offset + 260] = value.encode().ljust(260, b"\0")
gzip.open(path, "wb").write(bytes(data))
PY
}

dialsim reset
dialsim add "Demo Provider" --ip 127.0.0.1

# 1. First start, no files: centred on the 1024 x 768 screen and visible.
start
read -r visible x y width height < <(drive window)
check "first start shows the window" [ "$visible" = 1 ]
check "first start centres the window ($x,$y ${width}x$height)" \
    [ "$x" = $(((1024 - width) / 2)) -a "$y" = $(((768 - height) / 2)) ]
offline_icon=$(drive icon)
# What the window does not need yet waits: the common controls until the options or a tip.
check "the common controls are not loaded at start" [ "$(drive loaded comctl32.dll)" = 0 ]

# 2. A connection comes up: the online icon; traffic flows over it; it is hung up.
dialsim connect "Demo Provider"
sleep 2
online_icon=$(drive icon)
check "a connection switches the tray icon" [ "$online_icon" != "$offline_icon" ]
# The status line and the tip tell the running connection's time (h:mm:ss) and its cost so far.
sleep 1
status=$(drive status)
check "the status line names the connection with its time and cost ($status)" \
    grep -Eq '^Demo Provider \(127\.0\.0\.1\): 0:00:0[1-9], .*0[.,]00' <<<"$status"
tip=$(drive tip)
check "the tray tip begins with the connection, its time and cost ($tip)" \
    grep -Eq '^Demo Provider: 0:00:0[1-9], .*0[.,]00 \| ' <<<"$tip"
python3 - <<'PY'
import socket, time
s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
end = time.time() + 4
while time.time() < end:
    for _ in range(50):
        s.sendto(b"x" * 1000, ("127.0.0.1", 9))
    time.sleep(0.05)
PY
sleep 1
dialsim hangup "Demo Provider"
sleep 2
check "the end of the connection restores the offline icon" [ "$(drive icon)" = "$offline_icon" ]
status=$(drive status)
check "the status line no longer names the connection ($status)" [ -z "$status" ]
month_log=$work/log_$(date +%Y%m).zip
check "the connection is logged in this month's file" [ -f "$month_log" ]
if [ -f "$month_log" ]; then
    rx=$(zcat "$month_log" | tr -d '\r' | sed -n 's/.*<rx>\([0-9]*\)<\/rx>.*/\1/p' | tail -1)
    dur=$(zcat "$month_log" | tr -d '\r' | sed -n 's/.*<dur>\([0-9]*\)<\/dur>.*/\1/p' | tail -1)
    # About 200 KB went over the loopback interface in 4 seconds, in both directions.
    check "the logged bytes are plausible (rx $rx)" [ "${rx:-0}" -ge 100000 ]
    check "the logged duration is plausible (dur $dur s)" [ "${dur:-0}" -ge 4 -a "${dur:-0}" -le 60 ]
fi

# 2b. A script exports the month telvane has just written, while telvane runs, without a window.
export_run() {  # export_run MONTH FILE [/days]: the exit code; standard error in $work/export.err
    local code=0
    timeout 30 "$wine_run" "$work/telvane.exe" /export "$1" "$(winepath -w "$2")" ${3:+"$3"} 2>"$work/export.err" \
        || code=$?
    echo "$code"
}
csv=$work/export.csv
code=$(export_run "$(date +%Y-%m)" "$csv")
check "the command line exports this month while telvane runs (exit code $code)" [ "$code" = 0 ]
check "the export is silent on standard error" [ ! -s "$work/export.err" ]
if [ -f "$csv" ] && [ -f "$month_log" ]; then
    rows=$(tr -d '\r' < "$csv" | wc -l)
    check "the export has a header and one row per logged record ($rows lines)" \
        [ "$rows" = $((1 + $(zcat "$month_log" | grep -c '<log>'))) ]
    row=$(tr -d '\r' < "$csv" | tail -1)
    check "its row carries the logged date, duration and bytes ($row)" \
        [ "$(cut -d, -f1,3,4 <<<"$row")" = "$(date +%Y-%m-%d),$dur,$rx" ]
fi
days_csv=$work/days.csv
code=$(export_run "$(date +%Y-%m)" "$days_csv" /days)
check "with /days it exports one row per day (exit code $code)" [ "$code" = 0 ]
if [ -f "$days_csv" ] && [ -f "$csv" ]; then
    today=$(date +%Y-%m-%d)
    # Today's row sums today's records of the record table: duration, bytes received and sent.
    want=$(tr -d '\r' < "$csv" | awk -F, -v d="$today" '$1 == d { s += $3; r += $4; t += $6 }
        END { printf "%s,%d,%d,%d", d, s, r, t }')
    got=$(tr -d '\r' < "$days_csv" | grep "^$today," | cut -d, -f1-4)
    days_in_month=$(date -d "$(date +%Y-%m-01) +1 month -1 day" +%-d)
    check "the day table has a row for each of the month's $days_in_month days" \
        [ "$(tr -d '\r' < "$days_csv" | wc -l)" = $((1 + days_in_month)) ]
    check "today's row sums today's records ($got)" [ "$got" = "$want" ]
fi
code=$(export_run 2001-01 "$work/none.csv")
check "a month without a log fails (exit code $code) with one line on standard error" \
    [ "$code" = 2 -a "$(tr -d '\r' < "$work/export.err" | wc -l)" = 1 ]
# A German user in a console window reads the line in its own letters: the console gets UTF-16,
# a pipe (as here) UTF-8.
LC_ALL=de_DE.UTF-8 timeout 30 "$wine_run" "$work/telvane.exe" /export 2001-01 "$(winepath -w "$work/none.csv")" \
    2>&1 >/dev/null | cat > "$work/export.de" || true
check "a German message reaches a pipe as UTF-8 ($(tr -d '\r' < "$work/export.de"))" \
    grep -q "$(printf 'F\xc3\xbcr diesen Monat')" "$work/export.de"
# The form this computer's spreadsheet reads: its list separator and decimal sign, and a byte-order
# mark that says UTF-8.
local_csv=$work/local.csv
code=0
LC_ALL=de_DE.UTF-8 timeout 30 "$wine_run" "$work/telvane.exe" /export "$(date +%Y-%m)" "$(winepath -w "$local_csv")" \
    /local 2>"$work/export.err" || code=$?
check "with /local it exports in the spreadsheet's form (exit code $code)" [ "$code" = 0 ]
if [ -f "$local_csv" ] && [ -f "$csv" ]; then
    check "the spreadsheet's file starts with a byte-order mark" [ "$(head -c 3 "$local_csv" | od -An -tx1 | tr -d ' ')" = efbbbf ]
    want=$(tr -d '\r' < "$csv" | tail -1 | sed 's/\./,/; s/,/;/g; s/;\([0-9]*\)$/,\1/')
    got=$(tr -d '\r' < "$local_csv" | tail -1)
    check "its row has ; between the fields and a decimal comma ($got)" [ "$got" = "$want" ]
fi
printf 'no gzip' > "$work/log_200102.zip"
code=$(export_run 2001-02 "$work/none.csv")
check "a damaged month fails (exit code $code) with one line on standard error" \
    [ "$code" = 3 -a "$(tr -d '\r' < "$work/export.err" | wc -l)" = 1 ]
check "neither writes a file" [ ! -f "$work/none.csv" ]
rm -f "$work"/log_200102.zip*

# 2c. The year's table and the comparison of tariffs from the command line, in a folder of their
# own with two tariffs and two months whose prices are worked out by hand: Minutes (60 free, then
# 0.05, 5.00 a month) and Megabytes (100 MB free from the 15th, then 0.10, 2.00 a month).
cli=$work/cli
mkdir -p "$cli"
cp "$work/telvane.exe" "$work/english.dll" "$work/deutsch.dll" "$cli"/
python3 - "$cli" <<'PY'
import gzip, sys
folder = sys.argv[1]
def rate(name, unit, free, price, fixed, billing_day):
    lines = ["<rate>", "\t<name>%s</name>" % name, "\t<ltimeb>0</ltimeb>", "\t<ltimee>0</ltimee>",
             "\t<ldays>00000000</ldays>", "\t<precision>2</precision>", "\t<unit>%d</unit>" % unit]
    lines += ["\t<amount>%d</amount>" % a for a in (free, 0, 100000, 0)]
    lines += ["\t<cost>%.6f</cost>" % c for c in (fixed, price, price, 0, 0, 0, 0)]
    if billing_day != 1:
        lines.append("\t<billingday>%d</billingday>" % billing_day)
    return lines + ["</rate>"]
text = ["<version>1</version>"] + rate("Minutes", 4, 60, 0.05, 5.0, 1) + rate("Megabytes", 1, 100, 0.10, 2.0, 15)
gzip.open(folder + "/rates.zip", "wb").write(("\r\n".join(text) + "\r\n").encode())
MB = 1048576
def block(day, dur, rx):
    return ("<log>\r\n\t<day>%d</day>\r\n\t<time>36000</time>\r\n\t<dur>%d</dur>\r\n\t<rx>%d</rx>\r\n"
            "\t<rxp>1</rxp>\r\n\t<tx>0</tx>\r\n\t<txp>0</txp>\r\n</log>\r\n" % (day, dur, rx))
# February: 90 minutes and 50 MB on the 10th, 6 minutes and 70 MB on the 20th; March: 30 minutes
# and 80 MB on the 3rd (the period begun on 20 February goes 50 MB over), 60 minutes and 40 MB
# on the 20th.
gzip.open(folder + "/log_200302.zip", "wb").write((block(10, 5400, 50 * MB) + block(20, 360, 70 * MB)).encode())
gzip.open(folder + "/log_200303.zip", "wb").write((block(3, 1800, 80 * MB) + block(20, 3600, 40 * MB)).encode())
PY
table_run() {  # table_run COMMAND WHEN FILE: the exit code; standard error in $cli/table.err
    local code=0
    timeout 30 "$wine_run" "$cli/telvane.exe" "$1" "$2" "$(winepath -w "$3")" 2>"$cli/table.err" || code=$?
    echo "$code"
}
code=$(table_run /compare 2003-03 "$cli/compare.csv")
check "/compare writes every tariff's price for the month (exit code $code)" [ "$code" = 0 -a ! -s "$cli/table.err" ]
rows=$(tr -d '\r' < "$cli/compare.csv" 2>/dev/null | tail -n +2 | tr '\n' ' ')
check "its rows are name, usage, fixed amount and total in the table's order ($rows)" \
    [ "$rows" = "Minutes,1.500000,5.000000,6.500000 Megabytes,5.000000,2.000000,7.000000 " ]
code=$(table_run /export 2003 "$cli/2003.csv")
check "/export YYYY writes the year's months (exit code $code)" [ "$code" = 0 -a ! -s "$cli/table.err" ]
rows=$(tr -d '\r' < "$cli/2003.csv" 2>/dev/null | tail -n +2 | head -4 | tr '\n' ' ')
check "one row per month with seconds, bytes and the cost with the fee ($rows)" \
    [ "$rows" = "2003-01,0,0,0,0.000000 2003-02,5760,125829120,0,6.800000 2003-03,5400,125829120,0,6.500000 2003-04,0,0,0,0.000000 " ]
check "the year's table has twelve months" [ "$(tr -d '\r' < "$cli/2003.csv" 2>/dev/null | wc -l)" = 13 ]
code=$(table_run /export 2001 "$cli/none.csv")
check "a year without a log fails (exit code $code) with one line on standard error" \
    [ "$code" = 2 -a "$(tr -d '\r' < "$cli/table.err" | wc -l)" = 1 ]
code=$(table_run /compare 2003-01 "$cli/none.csv")
check "a comparison of a month without a log fails (exit code $code)" [ "$code" = 2 ]
code=$(table_run /compare 2003 "$cli/none.csv")
check "/compare with a year is no command line of it (exit code $code)" \
    [ "$code" = 1 -a "$(tr -d '\r' < "$cli/table.err" | wc -l)" = 1 ]
check "none of them writes a file" [ ! -f "$cli/none.csv" ]
check "no file of the program's own is written" [ ! -f "$cli/settings.zip" -a ! -f "$cli/alerts.zip" ]

# The phone-book menu of the tray icon dials the entry, and hangs it up again.
drive tray-right-click
sleep 1
xdotool key Down Return
sleep 3
check "the tray menu dials the demo entry" [ "$(drive icon)" != "$offline_icon" ]
drive tray-right-click
sleep 1
xdotool key Down Return
sleep 3
check "the tray menu hangs it up" [ "$(drive icon)" = "$offline_icon" ]

# An entry whose dial fails says why, in a balloon and in the status line, with the system's text.
dialsim add "Nowhere" --ip 127.0.0.1 --fail 678
drive tray-right-click
sleep 1
xdotool key Down Down Return
balloon=$(drive balloon || true)
check "a failed dial shows a balloon with the system's reason ($balloon)" \
    [ "$balloon" = "Nowhere could not be dialled: The remote computer did not respond." ]
check "and the status line says the same" [ "$(drive status)" = "$balloon" ]
check "and nothing is connected" [ "$(drive icon)" = "$offline_icon" ]
dialsim remove "Nowhere"

# 3. Close with the question: Yes with the box ticked; the files are written.
check "the exit command asks and Yes ends the program" drive exit tick
# A fault after the window is gone leaves the process behind with the crash report open.
for _ in $(seq 1 50); do kill -0 "$telvane_pid" 2>/dev/null || break; sleep 0.2; done
if kill -0 "$telvane_pid" 2>/dev/null; then
    exit_code="none, still running"
    wineserver -k 2>/dev/null || true
    wait "$telvane_pid" 2>/dev/null || true
else
    exit_code=0
    wait "$telvane_pid" 2>/dev/null || exit_code=$?
fi
check "telvane ends normally after the exit command (exit code $exit_code)" [ "$exit_code" = 0 ]
check "settings.zip is written" [ -f "$work/settings.zip" ]
check "rates.zip is written" [ -f "$work/rates.zip" ]
check "the ticked box is stored" [ $(($(settings_field 8388 4) & 2)) = 2 ]

# 4. Thirty more connections in this month's log: the list scrolls by dragging and by the wheel.
python3 - "$month_log" <<'PY'
import gzip, sys
blocks = "".join("<log>\r\n\t<day>1</day>\r\n\t<time>%d</time>\r\n\t<dur>60</dur>\r\n\t<rx>1000</rx>\r\n"
                 "\t<rxp>2</rxp>\r\n\t<tx>100</tx>\r\n\t<txp>1</txp>\r\n</log>\r\n" % (60 * i) for i in range(30))
old = gzip.open(sys.argv[1]).read().decode("latin-1")
gzip.open(sys.argv[1], "wb").write((old + blocks).encode("latin-1"))
PY
start
read -r _ x y _ < <(drive window)
window_id=$(xdotool search --onlyvisible --name telvane | head -1)
# The "Log" element of the default skin starts at (38, 185) and is 116 pixels high.
xdotool mousemove --window "$window_id" 200 200 mousedown 1
xdotool mousemove --window "$window_id" 200 230
sleep 0.3
xdotool mousemove --window "$window_id" 200 260 mouseup 1
sleep 0.5
dragged=$(drive scroll)
check "dragging down the list scrolls it ($dragged rows)" [ "$dragged" -gt 0 ]
xdotool mousemove --window "$window_id" 200 220 click 4
sleep 0.5
wheeled=$(drive scroll)
check "the wheel scrolls it back ($dragged -> $wheeled rows)" [ "$wheeled" -lt "$dragged" ]
# Pressing on the background between the two charts and dragging moves the window.
# Screen coordinates: the window moves under the pointer.
xdotool mousemove $((x + 220)) $((y + 70)) mousedown 1
xdotool mousemove $((x + 235)) $((y + 80))
sleep 0.3
xdotool mousemove $((x + 250)) $((y + 90))
sleep 0.3
xdotool mouseup 1
sleep 0.5
read -r _ moved_x moved_y _ < <(drive window)
check "dragging the background moves the window ($x,$y -> $moved_x,$moved_y)" \
    [ "$moved_x" = $((x + 30)) -a "$moved_y" = $((y + 20)) ]
# So does the title: the heading of the default skin spans (52, 12) to (322, 30).
x=$moved_x
y=$moved_y
xdotool mousemove $((x + 150)) $((y + 20)) mousedown 1
xdotool mousemove $((x + 140)) $((y + 30))
sleep 0.3
xdotool mousemove $((x + 130)) $((y + 40))
sleep 0.3
xdotool mouseup 1
sleep 0.5
read -r _ moved_x moved_y _ < <(drive window)
check "dragging the title moves the window ($x,$y -> $moved_x,$moved_y)" \
    [ "$moved_x" = $((x - 20)) -a "$moved_y" = $((y + 20)) ]
# The close button of the default skin (398, 12, 26 x 18); the question was answered for good.
xdotool mousemove $((moved_x + 410)) $((moved_y + 20)) click 1
for _ in $(seq 1 50); do kill -0 "$telvane_pid" 2>/dev/null || break; sleep 0.2; done
check "the close button ends telvane without asking again" bash -c "! kill -0 $telvane_pid 2>/dev/null"
wait "$telvane_pid" 2>/dev/null || true

# 5. startHidden keeps the window hidden.
set_settings_field 8384 1
start
read -r visible _ < <(drive window)
check "startHidden keeps the window hidden" [ "$visible" = 0 ]
drive close silent >/dev/null || true
wait "$telvane_pid" 2>/dev/null || true
set_settings_field 8384 0

# 6. A skin folder that is gone falls back to "default", which is stored.
set_settings_field 8392 "no-such-skin"
start
check "the missing skin is reported" drive dismiss
read -r visible _ < <(drive window)
check "a missing skin still opens the window" [ "$visible" = 1 ]
drive close silent >/dev/null || true
wait "$telvane_pid" 2>/dev/null || true
check "the fallback skin is stored" [ "$(settings_field 8392 260)" = default ]

# 7. A past month whose log has a format error: one box, however long it stays open (the timer
#    and the paints go on inside its loop). Then Explorer restarts: the tray icon is added again.
python3 - "$work/log_200309.zip" <<'PY'
import gzip, sys
block = ("<log>\r\n\t<day>5</day>\r\n\t<time>50600</time>\r\n\t<dur>754</dur>\r\n\t<rx>120000</rx>\r\n"
         "\t<rxp>400</rxp>\r\n\t<tx>30000</tx>\r\n\t<txp>350</txp>\r\n</log>\r\n")
gzip.open(sys.argv[1], "wb").write((block + "\t<day>5</day>\r\n" + block).encode())
PY
start
drive window >/dev/null
window_id=$(xdotool search --onlyvisible --name telvane | head -1)
# The menu button of the default skin (9, 9, 28 x 28) opens the menu; its first item holds the
# months, newest first: this month, then September 2003.
xdotool mousemove --window "$window_id" 23 23 click 1
sleep 1
xdotool key Down Right
sleep 0.5
xdotool key Down Return
sleep 4
boxes=$(drive boxes)
check "a damaged past month is reported by one box ($boxes)" [ "$boxes" = 1 ]
drive dismiss >/dev/null || true
check "a new notification area gets the tray icon again" [ "$(drive taskbar-created)" = 1 ]
drive close silent >/dev/null || true
wait "$telvane_pid" 2>/dev/null || true

# 8. A placement on no screen (a monitor gone, or a damaged file) opens the window centred.
python3 - "$work/settings.zip" <<'PY'
import gzip, struct, sys
data = bytearray(gzip.open(sys.argv[1]).read())
data[0:44] = struct.pack("<3I8i", 44, 0, 1, -1, -1, -1, -1, 5000, 5000, 5434, 5306)
gzip.open(sys.argv[1], "wb").write(bytes(data))
PY
start
read -r visible x y width height < <(drive window)
check "a placement on no screen opens the window centred ($x,$y)" \
    [ "$visible" = 1 -a "$x" = $(((1024 - width) / 2)) -a "$y" = $(((768 - height) / 2)) ]
drive close silent >/dev/null || true
wait "$telvane_pid" 2>/dev/null || true

# 9. A second start of the same folder shows the running telvane and writes nothing.
set_settings_field 8384 1
start
first_pid=$telvane_pid
read -r visible _ < <(drive window)
check "the first copy starts hidden" [ "$visible" = 0 ]
before=$(ls -l --time-style=+%s.%N "$work"/*.zip | md5sum)
second_code=0
timeout 20 "$wine_run" "$work/telvane.exe" || second_code=$?
check "a second start ends at once (exit code $second_code)" [ "$second_code" = 0 ]
sleep 1
read -r visible _ < <(drive window)
check "the second start shows the running window" [ "$visible" = 1 ]
check "the second start writes no file" [ "$(ls -l --time-style=+%s.%N "$work"/*.zip | md5sum)" = "$before" ]
check "only the first copy runs" kill -0 "$first_pid"
drive close silent >/dev/null || true
wait "$first_pid" 2>/dev/null || true
set_settings_field 8384 0

# 10. The Windows session ends while a connection is up: its slice is logged and the settings
# saved, without any question.
rm -f "$work/settings.zip"
records_before=$(zcat "$month_log" | grep -c '<log>')
dialsim connect "Demo Provider"
start
drive window >/dev/null
sleep 2
wineboot --end-session
for _ in $(seq 1 50); do kill -0 "$telvane_pid" 2>/dev/null || break; sleep 0.2; done
check "the session end ends telvane" bash -c "! kill -0 $telvane_pid 2>/dev/null"
wait "$telvane_pid" 2>/dev/null || true
check "the session end logs the running connection" [ "$(zcat "$month_log" | grep -c '<log>')" = $((records_before + 1)) ]
check "the session end saves the settings" [ -f "$work/settings.zip" ]
dialsim hangup "Demo Provider"

# 11. A month log that cannot be written at exit (a folder in place of its temporary file stops
# every write of it) is set aside whole beside it, without a question, and taken in at the next
# start.
records_before=$(zcat "$month_log" | grep -c '<log>')
mkdir "$month_log.tmp"
dialsim connect "Demo Provider"
start
drive window >/dev/null
sleep 1
check "telvane closes with a connection up" drive close yes
check "telvane ends without a box" bash -c "for _ in \$(seq 1 50); do kill -0 $telvane_pid 2>/dev/null || exit 0; sleep 0.2; done; exit 1"
wait "$telvane_pid" 2>/dev/null || true
check "the month log keeps what it held" [ "$(zcat "$month_log" | grep -c '<log>')" = "$records_before" ]
check "the whole month is set aside beside it" [ "$(zcat "$month_log.pending" | grep -c '<log>')" = $((records_before + 1)) ]
rmdir "$month_log.tmp"
dialsim hangup "Demo Provider"
start
drive window >/dev/null
check "the next start takes the month in" [ "$(zcat "$month_log" | grep -c '<log>')" = $((records_before + 1)) ]
check "nothing is left pending" [ ! -e "$month_log.pending" ]
drive close yes >/dev/null || true
wait "$telvane_pid" 2>/dev/null || true

# 12. A money limit reached through the simulator's traffic: the balloon at the tray icon and, with
# hang-up on, the connection hung up and logged. A tariff of one cent per kilobyte passes a limit
# of 0.50 within a second of loopback traffic; the month starts without records, so it is this
# connection that reaches the limit.
printf '%s\r\n' '<version>1</version>' '<rate>' $'\t<name>Per kilobyte</name>' $'\t<ltimeb>0</ltimeb>' \
    $'\t<ltimee>0</ltimee>' $'\t<ldays>00000000</ldays>' $'\t<precision>2</precision>' $'\t<unit>0</unit>' \
    $'\t<amount>0</amount>' $'\t<amount>0</amount>' $'\t<amount>1000000</amount>' $'\t<amount>0</amount>' \
    $'\t<cost>0.000000</cost>' $'\t<cost>0.010000</cost>' $'\t<cost>0.010000</cost>' $'\t<cost>0.000000</cost>' \
    $'\t<cost>0.000000</cost>' $'\t<cost>0.000000</cost>' $'\t<cost>0.000000</cost>' '</rate>' | gzip -9 >"$work/rates.zip"
printf '%s\r\n' '<version>1</version>' '<usage1on>0</usage1on>' '<usage2on>0</usage2on>' '<limit>0.500000</limit>' \
    '<limiton>1</limiton>' '<hangup>1</hangup>' | gzip -9 >"$work/alerts.zip"
rm -f "$month_log"
start
drive window >/dev/null
check "the limit is not reached before the connection" [ -z "$(drive status)" ]
dialsim connect "Demo Provider"
python3 - <<'PY' &
import socket, time
s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
end = time.time() + 6
while time.time() < end:
    for _ in range(50):
        s.sendto(b"x" * 1000, ("127.0.0.1", 9))
    time.sleep(0.05)
PY
traffic_pid=$!
balloon=$(drive balloon || true)
check "reaching the money limit shows a balloon naming the limit ($balloon)" grep -Eq '0[.,]50' <<<"$balloon"
check "the status line shows the same" [ "$(drive status)" = "$balloon" ]
wait "$traffic_pid" 2>/dev/null || true
sleep 2
check "the connection is hung up" bash -c "! \"$wine_run\" \"$work/dialsim.exe\" list | grep -q '^connection'"
check "the hung-up connection is logged" [ "$(zcat "$month_log" 2>/dev/null | grep -c '<log>')" = 1 ]
check "the fired limit is kept in alerts.zip" [ "$(zcat "$work/alerts.zip" | tr -d '\r' | grep '<limitmonth>')" = "<limitmonth>$(date +%Y%m)</limitmonth>" ]
drive close yes >/dev/null || true
wait "$telvane_pid" 2>/dev/null || true

# 13. The loopback adapter ticked on the options' adapters page is a connection of its own: the
# status line names it, the tray icon shows it online, loopback traffic is counted, and unticking
# it logs the slice. No simulated connection is up, and no tariff or alert is in the way.
rm -f "$work/rates.zip" "$work/alerts.zip" "$work/adapters.zip" "$month_log"
start
drive window >/dev/null
offline_icon=$(drive icon)
adapter=$(drive toggle-adapter 127.0.0.1 || true)
check "the adapters page lists the loopback adapter ($adapter)" [ -n "$adapter" ]
check "the options have loaded the common controls" [ "$(drive loaded comctl32.dll)" = 1 ]
# The sheet closes, and the adapter comes up, once telvane has handled the OK.
for _ in $(seq 1 50); do
    status=$(drive status)
    [[ "$status" == "$adapter (127.0.0.1): "* ]] && break
    sleep 0.2
done
check "the ticked adapter is kept by its id in adapters.zip" \
    bash -c "zcat '$work/adapters.zip' | tr -d '\r' | grep -qx '<name>$adapter</name>'"
check "the status line names the adapter ($status)" grep -qF "$adapter (127.0.0.1): " <<<"$status"
check "the adapter switches the tray icon" [ "$(drive icon)" != "$offline_icon" ]
python3 - <<'PY'
import socket, time
s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
end = time.time() + 4
while time.time() < end:
    for _ in range(50):
        s.sendto(b"x" * 1000, ("127.0.0.1", 9))
    time.sleep(0.05)
PY
# Unticking it ends its slice at once.
drive toggle-adapter 127.0.0.1 >/dev/null || true
for _ in $(seq 1 50); do
    [ -z "$(drive status)" ] && break
    sleep 0.2
done
check "the unticked adapter is no connection any more" [ "$(drive icon)" = "$offline_icon" ]
rx=$(zcat "$month_log" 2>/dev/null | tr -d '\r' | sed -n 's/.*<rx>\([0-9]*\)<\/rx>.*/\1/p' | tail -1)
check "the adapter's slice is logged with its loopback traffic (rx ${rx:-none})" [ "${rx:-0}" -ge 100000 ]
drive close yes >/dev/null || true
wait "$telvane_pid" 2>/dev/null || true

# 14. Windows 10 and 11 carry MSXML 6.0 and 3.0 but not 4.0: the skin is read all the same, and
# the window opens with its size and outline, without a box.
for missing in "msxml4=" "msxml4=;msxml6="; do
    TELVANE_DLLOVERRIDES="rasapi32=n,b;$missing" start
    read -r visible _ _ width height < <(drive window)
    check "with $missing the window opens at the skin's size (${width}x$height)" \
        [ "$visible" = 1 -a "$width" = 434 -a "$height" = 334 ]
    rectangles=$(drive region)
    check "with $missing the window has the skin's outline ($rectangles rectangles)" [ "$rectangles" -gt 1 ]
    check "with $missing no box is shown" [ "$(drive boxes)" = 0 ]
    drive close yes >/dev/null || true
    wait "$telvane_pid" 2>/dev/null || true
done

# 15. No XML document object at all: a box says so, and telvane ends with code 1 instead of
# vanishing. While that box is up a second start finds no window to show, and says so as well.
TELVANE_DLLOVERRIDES="rasapi32=n,b;msxml3=;msxml4=;msxml6=" start
first_pid=$telvane_pid
for _ in $(seq 1 75); do
    xdotool search --onlyvisible --name telvane >/dev/null 2>&1 && break
    sleep 0.2
done
"$wine_run" "$work/telvane.exe" &
second_pid=$!
sleep 7 # the second start waits five seconds for the first one's window
texts="$(drive dismiss || true) / $(drive dismiss || true)"
check "without any XML document object the box names MSXML ($texts)" grep -q MSXML <<<"$texts"
check "a second start meanwhile tells that telvane runs without a window" grep -Eq 'already running|bereits' <<<"$texts"
first_code=0
wait "$first_pid" 2>/dev/null || first_code=$?
second_code=0
wait "$second_pid" 2>/dev/null || second_code=$?
check "telvane ends with code 1 after the box ($first_code), the second start with 0 ($second_code)" \
    [ "$first_code" = 1 -a "$second_code" = 0 ]

# A folder without any skin: the box names the folder, and telvane ends with code 1.
bare=$tree/e2e-bare
rm -rf "$bare"
mkdir -p "$bare"
cp "$work/telvane.exe" "$work/english.dll" "$work/deutsch.dll" "$work/rasapi32.dll" "$bare"/
"$wine_run" "$bare/telvane.exe" &
bare_pid=$!
# The stored skin (default) is reported first as it fails, then the end of start-up.
texts="$(drive dismiss || true) / $(drive dismiss || true)"
check "without any skin a box names the folder ($texts)" grep -q 'e2e-bare' <<<"$texts"
bare_code=0
wait "$bare_pid" 2>/dev/null || bare_code=$?
check "without any skin telvane ends with code 1 ($bare_code)" [ "$bare_code" = 1 ]
rm -rf "$bare"

# 16. The command line's usage: /? on standard output, an unknown switch on standard error.
usage_code=0
timeout 30 "$wine_run" "$work/telvane.exe" /? >"$work/usage.out" 2>/dev/null || usage_code=$?
check "/? ends with code 0 ($usage_code)" [ "$usage_code" = 0 ]
check "/? shows the usage on standard output" grep -q -- '/export' "$work/usage.out"
usage_code=0
timeout 30 "$wine_run" "$work/telvane.exe" /exprot 2>"$work/usage.err" >/dev/null || usage_code=$?
check "an unknown switch ends with code 1 ($usage_code)" [ "$usage_code" = 1 ]
check "an unknown switch shows the usage on standard error" grep -q -- '/export' "$work/usage.err"
# Started from Explorer or the Run box there is no output to write to: the usage shows in a box.
"$wine_run" "$work/telvane.exe" /? >&- 2>&- &
usage_pid=$!
text=$(drive dismiss || true)
check "/? without an output shows the usage in a box" grep -q -- '/export' <<<"$text"
wait "$usage_pid" 2>/dev/null || true

echo "e2e: $failures failure(s)"
[ "$failures" = 0 ]
