#!/usr/bin/env bash
# telvane and rimcutter at 150 %: a copy of the test prefix whose screen has 144 DPI (the shared
# prefix stays at 96). The default skin's 434 x 334 window opens as 651 x 501, centred, its
# outline scaled with it; rimcutter's status bar grows while traced points stay picture pixels.
set -euo pipefail
tree=$1
driver=$2
if [ -z "${DISPLAY:-}" ]; then
    echo "dpi: needs a display (tools/test starts Xvfb)"
    exit 77
fi
shared=$tree/wineprefix
prefix=$tree/wineprefix-dpi144
if [ ! -f "$prefix/.telvane-dpi144" ] || [ "$shared/.telvane-ready" -nt "$prefix/.telvane-dpi144" ]; then
    rm -rf "$prefix"
    cp -a "$shared" "$prefix"
    WINEPREFIX=$prefix WINEDEBUG=-all wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f \
        </dev/null >/dev/null 2>&1
    WINEPREFIX=$prefix wineserver -w
    touch "$prefix/.telvane-dpi144"
fi
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml=;winemenubuilder.exe=d;rasapi32=n,b'
telvane_pid=
cleanup() {
    [ -n "$telvane_pid" ] && kill "$telvane_pid" 2>/dev/null
    wineserver -k >/dev/null 2>&1 || true
}
trap cleanup EXIT
# Wine's own services start now, away from CTest's output pipe.
wine cmd /c exit </dev/null >/dev/null 2>&1 || true

work=$tree/dpi-run
rm -rf "$work"
mkdir -p "$work"
cp -r "$tree/dist"/. "$work"/
cp "$tree/dialsim/rasapi32.dll" "$tree/dialsim/dialsim.exe" "$work"/
export DIALSIM_DIR=$(winepath -w "$work")
wine "$work/dialsim.exe" reset >/dev/null
wine "$work/dialsim.exe" add "Demo Provider" --ip 127.0.0.1 >/dev/null

failures=0
check() { # check DESCRIPTION COMMAND...
    local what=$1
    shift
    if "$@"; then
        echo "ok   $what"
    else
        echo "FAIL $what"
        failures=$((failures + 1))
    fi
}
drive() { wine "$driver" "$@" | tr -d '\r'; }

wine "$work/telvane.exe" &
telvane_pid=$!
read -r visible x y width height < <(drive window)
check "the window opens at 150 %: 651 x 501 (${width}x$height)" [ "$visible" = 1 -a "$width" = 651 -a "$height" = 501 ]
check "it is centred on the 1024 x 768 screen ($x,$y)" [ "$x" = $(((1024 - 651) / 2)) -a "$y" = $(((768 - 501) / 2)) ]
# The outline's side rectangle runs from column 6 at 100 %, 9 at 150 %; (640, 300) lies beyond
# the 434 pixels of 100 %; the rounded corner stays cut.
read -r left top right bottom beyond edge before corner < <(drive outline 640 300 9 100 8 100 1 1)
check "the outline is 651 x 501 ($left $top $right $bottom)" [ "$left $top $right $bottom" = "0 0 651 501" ]
check "the outline scaled with it ($beyond $edge $before $corner)" [ "$beyond $edge $before $corner" = "1 1 0 0" ]
drive close yes >/dev/null || true
wait "$telvane_pid" 2>/dev/null || true
telvane_pid=

check "rimcutter's status bar scales and its points stay picture pixels" \
    wine "$tree/tests/rimcutter_e2e.exe" \
    --gtest_filter='Rimcutter.StatusPartsFollowTheScreenScale:Rimcutter.ZoomKeysSetTheScaleOfMousePositions' \
    --gtest_brief=1

echo "dpi: $failures failure(s)"
[ "$failures" = 0 ]
