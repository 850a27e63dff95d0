#!/usr/bin/env bash
# CPU time of an idle telvane with one simulated connection up, over a minute under Wine + Xvfb.
# Usage: idle_cpu.sh WIN_BUILD_TREE [SECONDS]
set -euo pipefail
tree=$1
seconds=${2:-60}
export WINEPREFIX=$tree/wineprefix WINEDEBUG=-all
work=$tree/bench-idle
rm -rf "$work"
mkdir -p "$work"
cp -r "$tree/dist"/. "$work"/
cp "$tree/dialsim/rasapi32.dll" "$tree/dialsim/dialsim.exe" "$work"/
export DIALSIM_DIR=$(winepath -w "$work") TELVANE_DLLOVERRIDES="rasapi32=n,b"
display=:$((90 + RANDOM % 400))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=$display
telvane_pid=
cleanup() {
    [ -n "$telvane_pid" ] && kill "$telvane_pid" 2>/dev/null
    wineserver -k >/dev/null 2>&1 || true
    kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT
sleep 1
"$tree/wine-run" "$work/dialsim.exe" reset >/dev/null
"$tree/wine-run" "$work/dialsim.exe" add "Bench Provider" --ip 127.0.0.1 >/dev/null
"$tree/wine-run" "$work/telvane.exe" &
telvane_pid=$!
sleep 6
"$tree/wine-run" "$work/dialsim.exe" connect "Bench Provider" >/dev/null
sleep 3
# The Linux process that runs telvane.exe (Wine names it by the Windows path).
pid=$(pgrep -f "bench-idle.telvane.exe" | head -1)
ticks_per_second=$(getconf CLK_TCK)
cpu() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
before=$(cpu)
sleep "$seconds"
after=$(cpu)
"$tree/wine-run" "$work/dialsim.exe" hangup "Bench Provider" >/dev/null
awk -v b="$before" -v a="$after" -v t="$ticks_per_second" -v s="$seconds" \
    'BEGIN { printf "idle telvane, one connection up: %.2f s CPU in %d s = %.2f %% of one core\n", (a - b) / t, s, 100 * (a - b) / t / s }'
