#!/bin/sh
# Runs the Windows flavour's tests under Wine; called inside xvfb-run.
# $1: the Windows build folder; further arguments go to ctest.
here=$(cd "$(dirname "$0")/.." && pwd)
dir=$1; shift
export WINEPREFIX="${WINEPREFIX:-$here/build/wineprefix}"
"$here/tools/wine-prefix.sh"
# One persistent server for the whole run instead of one per test.
WINEDEBUG=-all wineserver -p
ctest --test-dir "$dir" --output-on-failure "$@"
rc=$?
wineserver -k 2>/dev/null
exit $rc
