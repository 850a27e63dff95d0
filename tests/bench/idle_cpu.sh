#!/usr/bin/env bash
# CPU time of a telvane that waits, under Wine + Xvfb, in clock ticks over SECONDS (30 by
# default): offline with the window shown, online with one simulated connection up (and no
# traffic), offline started hidden (and its resident private memory then), and the bench's bare
# window of the same size beside them.
# Usage: idle_cpu.sh WIN_BUILD_TREE DRIVER [SECONDS]
set -euo pipefail
tree=$(cd "$1" && pwd)
driver=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
seconds=${3:-30}
. "$(dirname "$0")/benchfolder.sh"
work=$tree/bench-idle
bench_start "$tree" "$work"
drive() { "$wine_run" "$driver" "$@" >/dev/null; }
dialsim() { "$wine_run" "$work/dialsim.exe" "$@" >/dev/null; }
dialsim reset
dialsim add "Bench Provider" --ip 127.0.0.1
ticks_per_second=$(getconf CLK_TCK)

# measure WHAT PID: the CPU the process uses over the seconds, once it has settled.
measure() {
    sleep 3
    local before after
    before=$(cpu_ticks "$2")
    sleep "$seconds"
    after=$(cpu_ticks "$2")
    awk -v w="$1" -v b="$before" -v a="$after" -v t="$ticks_per_second" -v s="$seconds" \
        'BEGIN { printf "%-36s %4d clock ticks in %d s = %.2f %% of one core\n", w, a - b, s, 100 * (a - b) / t / s }'
}

"$wine_run" "$work/telvane.exe" &
telvane_job=$!
drive window
pid=$(linux_pid 'bench-idle.telvane\.exe')
measure "telvane offline, window shown" "$pid"
dialsim connect "Bench Provider"
measure "telvane online, one connection" "$pid"
dialsim hangup "Bench Provider"
drive close yes
wait "$telvane_job" || true

# The settings record's startHidden byte.
python3 - "$work/settings.zip" <<'PY'
import gzip, sys
data = bytearray(gzip.open(sys.argv[1]).read())
data[8384] = 1
gzip.open(sys.argv[1], "wb").write(bytes(data))
PY
"$wine_run" "$work/telvane.exe" &
telvane_job=$!
drive window
pid=$(linux_pid 'bench-idle.telvane\.exe')
measure "telvane offline, started hidden" "$pid"
printf '%-36s %5d kB resident private\n' "telvane started hidden" "$(private_kb "$pid")"
drive close yes
wait "$telvane_job" || true

"$wine_run" "$tree/tests/bench/barewindow.exe" 434 334 &
bare_job=$!
pid=$(linux_pid 'barewindow\.exe')
measure "bare window of the same size" "$pid"
kill "$pid" 2>/dev/null || true
wait "$bare_job" || true
