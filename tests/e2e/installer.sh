#!/usr/bin/env bash
# The installer under Wine, in a copy of the test prefix: a silent install (files, Start-menu
# shortcuts, the uninstall entry, the autostart value), an upgrade over it that keeps every file
# of the user's and the user's choice against autostart, and a silent uninstall that removes what
# it installed and keeps the user's files.
#   installer.sh BUILD_TREE SOURCE_TREE
set -euo pipefail
tree=$1
source=$2
work=$tree/installer-run
rm -rf "$work"
mkdir -p "$work"

# The setup made as tools/package makes it, from the tree just built.
TELVANE_BUILD=$(dirname "$tree") TELVANE_PACKAGE_BUILT=1 TELVANE_PACKAGE_OUT=$work \
    "$source/tools/package" >"$work/package.log"
setup=$(ls "$work"/telvane-*-setup.exe)
version=$(basename "$setup" | sed 's/^telvane-\(.*\)-setup\.exe$/\1/')

# A prefix of its own, so nothing installed here reaches the other tests' prefix.
cp -a "$tree/wineprefix" "$work/prefix"
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml=;winemenubuilder.exe=d'
cleanup() {
    wineserver -k >/dev/null 2>&1 || true
    rm -rf "$work/prefix"
}
trap cleanup EXIT

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
run() { # run WINDOWS-PROGRAM ARGS...: waits for every process it leaves behind as well (the
    # uninstaller goes on from a copy of itself), which the prefix's server outlives by moments
    local code=0
    wine "$@" </dev/null >/dev/null 2>&1 || code=$?
    wineserver -w
    return $code
}
windows_folder() { wine cmd /c echo "%$1%" 2>/dev/null | tr -d '\r'; }
registry() { # registry KEY VALUE: the value's data, empty when it is not there
    wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\telvane'
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'

local_appdata=$(windows_folder LOCALAPPDATA)
install_windows="$local_appdata\\Programs\\telvane"
install=$(winepath -u "$install_windows")
menu=$(winepath -u "$(windows_folder APPDATA)\\Microsoft\\Windows\\Start Menu\\Programs\\telvane")

# 1. A silent install: every file, the shortcuts, the entry and, by default, the autostart value.
check "the silent install succeeds" run "$setup" /S
shipped=(telvane.exe rimcutter.exe english.dll deutsch.dll default/skin.xml paper/skin.xml)
for file in "${shipped[@]}" uninstall.exe; do
    check "$file is installed" [ -f "$install/$file" ]
done
check "the installed program runs (/? ends with 0)" run "$install_windows\\telvane.exe" /?
for link in telvane rimcutter; do
    check "the Start menu has $link" [ -f "$menu/$link.lnk" ]
done
check "the entry names telvane" [ "$(registry "$uninstall_key" DisplayName)" = telvane ]
check "the entry carries version $version" [ "$(registry "$uninstall_key" DisplayVersion)" = "$version" ]
check "the entry names the publisher" [ -n "$(registry "$uninstall_key" Publisher)" ]
check "the entry's icon is telvane's" [ "$(registry "$uninstall_key" DisplayIcon)" = "$install_windows\\telvane.exe,0" ]
size=$(registry "$uninstall_key" EstimatedSize)
check "the entry gives the size in KB ($size)" [ $((size)) -gt 100 ]
check "the entry's uninstall string is the quoted uninstaller" \
    [ "$(registry "$uninstall_key" UninstallString)" = "\"$install_windows\\uninstall.exe\"" ]
check "telvane starts with Windows" [ "$(registry "$run_key" telvane)" = "\"$install_windows\\telvane.exe\"" ]

# 2. The user's files, an own skin, a shipped file changed since, and autostart switched off.
user_files=(settings.zip rates.zip alerts.zip adapters.zip log_202401.zip rates.zip.damaged mine/skin.xml mine/back.png)
mkdir -p "$install/mine"
for file in "${user_files[@]}"; do
    printf 'kept %s\n' "$file" >"$install/$file"
done
echo 'not the shipped skin' >"$install/default/skin.xml"
wine reg delete "$run_key" /v telvane /f >/dev/null 2>&1
check "an upgrade over it succeeds" run "$setup" /S
for file in "${user_files[@]}"; do
    check "the upgrade keeps $file" [ "$(cat "$install/$file" 2>/dev/null)" = "kept $file" ]
done
check "the upgrade replaces the shipped skin" cmp -s "$install/default/skin.xml" "$tree/dist/default/skin.xml"
check "the upgrade keeps autostart off" [ -z "$(registry "$run_key" telvane)" ]

# 3. A silent uninstall: the programs, skins, shortcuts, autostart and entry go; the user's stay.
wine reg add "$run_key" /v telvane /d "\"$install_windows\\telvane.exe\"" /f >/dev/null 2>&1
check "the silent uninstall succeeds" run "$install_windows\\uninstall.exe" /S
for file in "${shipped[@]}" uninstall.exe; do
    check "$file is removed" [ ! -e "$install/$file" ]
done
check "the shipped skin folders are removed" [ ! -e "$install/default" -a ! -e "$install/paper" ]
check "the Start-menu folder is removed" [ ! -e "$menu" ]
check "the entry is removed" bash -c "! wine reg query '$uninstall_key' >/dev/null 2>&1"
check "the autostart value is removed" [ -z "$(registry "$run_key" telvane)" ]
for file in "${user_files[@]}"; do
    check "the uninstall keeps $file" [ "$(cat "$install/$file" 2>/dev/null)" = "kept $file" ]
done

echo "installer: $failures failure(s)"
[ "$failures" = 0 ]
