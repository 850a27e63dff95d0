# Sourced by the benchmarks run under Wine: a telvane folder as a user's after a year, with the
# simulator beside it, and one X server for the run.
# bench_folder TREE WORK: the programs of TREE's dist in WORK, a tariff, and a year of month logs
# (the current month and the eleven before it, 2,000 connections each).
bench_folder() {
    local tree=$1 work=$2
    rm -rf "$work"
    mkdir -p "$work"
    cp -r "$tree/dist"/. "$work"/
    # As the downloads ship it.
    x86_64-w64-mingw32-strip --strip-debug "$work"/*.exe
    rm -f "$work"/settings.zip "$work"/log_*.zip
    cp "$tree/dialsim/rasapi32.dll" "$tree/dialsim/dialsim.exe" "$work"/
    printf '%s\r\n' '<version>1</version>' '<rate>' $'\t<name>Bench 100 MB</name>' $'\t<ltimeb>28800</ltimeb>' \
        $'\t<ltimee>64800</ltimee>' $'\t<ldays>00000110</ldays>' $'\t<precision>2</precision>' $'\t<unit>1</unit>' \
        $'\t<amount>100</amount>' $'\t<amount>0</amount>' $'\t<amount>1000</amount>' $'\t<amount>0</amount>' \
        $'\t<cost>9.900000</cost>' $'\t<cost>0.010000</cost>' $'\t<cost>0.005000</cost>' $'\t<cost>0.000000</cost>' \
        $'\t<cost>0.000000</cost>' $'\t<cost>0.000000</cost>' $'\t<cost>0.000000</cost>' '</rate>' | gzip -9 >"$work/rates.zip"
    python3 - "$work" <<'PY'
import datetime, gzip, os, sys
today = datetime.date.today()
year, month = today.year, today.month
for back in range(12):
    days = today.day if back == 0 else 28
    blocks = []
    for i in range(2000):
        blocks.append("<log>\r\n\t<day>%d</day>\r\n\t<time>%d</time>\r\n\t<dur>%d</dur>\r\n\t<rx>%d</rx>\r\n"
                      "\t<rxp>%d</rxp>\r\n\t<tx>%d</tx>\r\n\t<txp>%d</txp>\r\n</log>\r\n"
                      % (1 + i * days // 2000, (i * 37) % 86000, 60 + i % 900, 100000 + i * 53, 90 + i % 70,
                         20000 + i * 7, 40 + i % 30))
    name = os.path.join(sys.argv[1], "log_%04d%02d.zip" % (year, month))
    with gzip.open(name, "wb", 9) as out:
        out.write("".join(blocks).encode())
    month -= 1
    if month == 0:
        year, month = year - 1, 12
PY
}

# bench_start TREE WORK: the folder of bench_folder, the simulator and an X server of its own
# for a run under TREE's prefix; wine_run names the runner of the tree's programs.
bench_start() {
    export WINEPREFIX=$1/wineprefix WINEDEBUG=-all
    bench_folder "$1" "$2"
    export DIALSIM_DIR=$(winepath -w "$2") TELVANE_DLLOVERRIDES="rasapi32=n,b"
    trap bench_cleanup EXIT
    bench_display
    wineserver -p >/dev/null 2>&1 || true
    wine_run=$1/wine-run
}

# bench_display: an X server of its own for the run (stopped by bench_cleanup).
bench_display() {
    display=:$((90 + RANDOM % 400))
    Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    bench_xvfb_pid=$!
    export DISPLAY=$display
    sleep 1
}

bench_cleanup() {
    wineserver -k >/dev/null 2>&1 || true
    [ -n "${bench_xvfb_pid:-}" ] && kill "$bench_xvfb_pid" 2>/dev/null || true
}

# linux_pid PATTERN: the Linux process that runs a Windows program (Wine names it by its path).
linux_pid() {
    local pid
    for _ in $(seq 1 100); do
        pid=$(pgrep -f "$1" | head -1)
        [ -n "$pid" ] && { echo "$pid"; return; }
        sleep 0.1
    done
}

# cpu_ticks PID: clock ticks of CPU the process has used (user and system).
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

# private_kb PID: resident private memory (clean and dirty) in kB.
private_kb() { awk '/^Private_(Clean|Dirty):/ { s += $2 } END { print s }' "/proc/$1/smaps_rollup"; }
