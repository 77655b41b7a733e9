#!/bin/sh
# Runs one Windows executable under Wine with the project's private prefix.
# Used as CMake's cross-compiling emulator, so every Windows test goes through it.
here=$(cd "$(dirname "$0")/.." && pwd)
: "${WINEPREFIX:=$here/build/wineprefix}"
export WINEPREFIX
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree=;mshtml="
# Wine's helper processes (services, the desktop) outlive the program and inherit its
# output: give them a file, not the caller's pipe, or the caller waits for them.
out=$(mktemp)
wine "$@" >"$out" 2>&1
rc=$?
cat "$out"
rm -f "$out"
exit $rc
