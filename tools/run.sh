#!/bin/sh
# make run: starts titrion3.exe under Wine with the project's prefix.
# On the user's display it runs until it is closed. Without a display it runs on a virtual
# one, opens a sample document, saves a picture of the main window to build/screenshot.png
# and ends.  $1: the Windows build folder.
set -e
here=$(cd "$(dirname "$0")/.." && pwd)
win=$(cd "${1:-$here/build/win64}" && pwd)
export WINEPREFIX="${WINEPREFIX:-$here/build/wineprefix}"

if [ -n "$DISPLAY" ]; then
  "$here/tools/wine-prefix.sh"
  exec "$here/tools/wine-run.sh" "$win/app/titrion3.exe"
fi

rm -f "$here/build/screenshot.bmp"
xvfb-run -a -s "-screen 0 1024x768x24" sh -c '
  here=$1; win=$2
  "$here/tools/wine-prefix.sh"
  WINEDEBUG=-all wineserver -p
  sample=$(WINEDEBUG=-all winepath -w "$here/examples/uhlicitan-hcl.tid")
  picture=$(WINEDEBUG=-all winepath -w "$here/build/screenshot.bmp")
  rc=0
  "$here/tools/wine-run.sh" "$win/tests/e2e/titrion_showcase.exe" "$sample" "$picture" || rc=$?
  wineserver -k 2>/dev/null || true
  exit $rc' sh "$here" "$win"
convert "$here/build/screenshot.bmp" "$here/build/screenshot.png"
rm -f "$here/build/screenshot.bmp"
echo "The main window with a sample document: build/screenshot.png"
