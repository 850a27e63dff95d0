#!/usr/bin/env bash
# How long telvane.exe /export YYYY takes over twelve full months (20,000 slices each) under Wine:
# the program's start, the settings and tariffs, the twelve logs and the table, as a script sees it.
# Usage: year_export.sh WIN_BUILD_TREE
set -euo pipefail
tree=$1
export WINEPREFIX=$tree/wineprefix WINEDEBUG=-all
work=$tree/bench-year
rm -rf "$work"
mkdir -p "$work"
cp "$tree/dist/telvane.exe" "$tree/dist/english.dll" "$tree/dist/deutsch.dll" "$work"/
python3 - "$work" <<'PY'
import gzip, sys
folder = sys.argv[1]
rate = ["<version>1</version>", "<rate>", "\t<name>Minutes</name>", "\t<ltimeb>28800</ltimeb>",
        "\t<ltimee>64800</ltimee>", "\t<ldays>11000000</ldays>", "\t<precision>2</precision>", "\t<unit>4</unit>"]
rate += ["\t<amount>%d</amount>" % a for a in (600, 1200, 100000, 500000)]
rate += ["\t<cost>%.6f</cost>" % (0.01 * (i + 1)) for i in range(7)] + ["</rate>"]
gzip.open(folder + "/rates.zip", "wb").write(("\r\n".join(rate) + "\r\n").encode())
for month in range(1, 13):
    blocks = ["<log>\r\n\t<day>%d</day>\r\n\t<time>%d</time>\r\n\t<dur>%d</dur>\r\n\t<rx>%d</rx>\r\n"
              "\t<rxp>%d</rxp>\r\n\t<tx>%d</tx>\r\n\t<txp>%d</txp>\r\n</log>\r\n"
              % (1 + i % 28, i * 37 % 86400, 30 + i % 7200, i * 104729 % 4294967296, i % 5000,
                 i * 7919 % 4294967296, i % 3000) for i in range(20000)]
    gzip.open(folder + "/log_2004%02d.zip" % month, "wb", 9).write("".join(blocks).encode())
PY
wineserver -p >/dev/null 2>&1 || true
run() {
    local start end
    start=$(date +%s.%N)
    "$tree/wine-run" "$work/telvane.exe" "$@" >/dev/null 2>&1
    end=$(date +%s.%N)
    awk -v a="$start" -v b="$end" 'BEGIN { printf "%.2f", b - a }'
}
# The program's own start first, over a month that has no log, then the year three times.
echo "telvane.exe /export 2003-01 (no log: start and exit only): $(run /export 2003-01 "$(winepath -w "$work/none.csv")") s"
for i in 1 2 3; do
    echo "telvane.exe /export 2004 over 12 x 20000 slices: $(run /export 2004 "$(winepath -w "$work/2004.csv")") s"
done
echo "rows: $(wc -l < "$work/2004.csv")"
