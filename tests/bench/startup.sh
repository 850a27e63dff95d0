#!/usr/bin/env bash
# Start-up to a visible window and the resident private memory after it, telvane against the
# bench's bare window of the same size, under Wine + Xvfb, with a year of month logs and a tariff.
# Usage: startup.sh WIN_BUILD_TREE DRIVER [STARTS]
set -euo pipefail
tree=$(cd "$1" && pwd)
driver=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
starts=${3:-11}
. "$(dirname "$0")/benchfolder.sh"
work=$tree/bench-startup
bench_start "$tree" "$work"
"$wine_run" "$work/dialsim.exe" reset >/dev/null
cp "$tree/tests/bench/barewindow.exe" "$work"/
"$wine_run" "$tree/tests/bench/startup_bench.exe" "$(winepath -w "$work/telvane.exe")" \
    "$(winepath -w "$work/barewindow.exe")" 434 334 "$starts" | tr -d '\r'

# Memory: where the resident private memory of each program goes, a few seconds after its start.
split_memory() {  # split_memory WHAT PID
    python3 - "$1" "/proc/$2/smaps" <<'PY'
import collections, re, sys
what, path = sys.argv[1], sys.argv[2]
groups = collections.Counter()
name = None
for line in open(path):
    if re.match(r"^[0-9a-f]+-[0-9a-f]+ ", line):
        fields = line.split(None, 5)
        name = fields[5].strip() if len(fields) > 5 else ""
        continue
    m = re.match(r"^Private_(Clean|Dirty):\s+(\d+) kB", line)
    if not m:
        continue
    kb = int(m.group(2))
    if not name or name.startswith("["):
        group = "anonymous (heaps, bitmaps, stacks)" if not name or name == "[heap]" or name.startswith("[anon") else name
    elif name.endswith(".so") or ".so." in name:
        group = "Wine's Unix libraries (.so)"
    else:
        group = name.rsplit("/", 1)[-1]
    groups[group] += kb
total = sum(groups.values())
print("%s: %d kB resident private" % (what, total))
for group, kb in groups.most_common(12):
    if kb >= 64:
        print("  %7d kB  %s" % (kb, group))
PY
}
"$wine_run" "$work/telvane.exe" &
telvane_job=$!
"$wine_run" "$driver" window >/dev/null
sleep 3
pid=$(linux_pid 'bench-startup.telvane\.exe')
split_memory "telvane" "$pid"
"$wine_run" "$driver" close yes >/dev/null
wait "$telvane_job" || true
"$wine_run" "$work/barewindow.exe" 434 334 &
bare_job=$!
pid=$(linux_pid 'barewindow\.exe')
sleep 4
split_memory "bare window" "$pid"
kill "$pid" 2>/dev/null || true
wait "$bare_job" || true
