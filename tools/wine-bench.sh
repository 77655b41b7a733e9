#!/bin/sh
# Runs one Windows benchmark under Wine with the project's private prefix; called inside xvfb-run.
here=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX="${WINEPREFIX:-$here/build/wineprefix}"
"$here/tools/wine-prefix.sh"
WINEDEBUG=-all wineserver -p
"$here/tools/wine-run.sh" "$@"
rc=$?
wineserver -k 2>/dev/null
exit $rc
