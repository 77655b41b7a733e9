#!/bin/sh
# make pictures: the graph window in its three views and the first page of the HTML report of a
# sample, as the read-me and the manual show them (docs/graph.png for E'', docs/graph-e.png,
# docs/graph-de.png, docs/report.png). $1: the Windows build folder.
set -e
here=$(cd "$(dirname "$0")/.." && pwd)
win=$(cd "${1:-$here/build/win64}" && pwd)
out="$here/build/pictures"
export WINEPREFIX="${WINEPREFIX:-$here/build/wineprefix}"
rm -rf "$out"
mkdir -p "$out"
xvfb-run -a -s "-screen 0 1024x768x24" sh -c '
  here=$1; win=$2; out=$3
  "$here/tools/wine-prefix.sh"
  WINEDEBUG=-all wineserver -p
  sample=$(WINEDEBUG=-all winepath -w "$here/examples/uhlicitan-hcl.tid")
  report=$(WINEDEBUG=-all winepath -w "$out/report.html")
  picture=$(WINEDEBUG=-all winepath -w "$out/graph.bmp")
  curve=$(WINEDEBUG=-all winepath -w "$out/graph-e.bmp")
  slope=$(WINEDEBUG=-all winepath -w "$out/graph-de.bmp")
  rc=0
  "$here/tools/wine-run.sh" "$win/tests/e2e/titrion_showcase.exe" "$sample" "$report" "$picture" "$curve" "$slope" || rc=$?
  wineserver -k 2>/dev/null || true
  exit $rc' sh "$here" "$win" "$out"
for view in graph graph-e graph-de; do convert "$out/$view.bmp" "$here/docs/$view.png"; done
# The report as a browser prints it (table borders from its BORDER attributes): the first
# page beside the last, which holds the results and the footer.
weasyprint --quiet --presentational-hints "$out/report.html" "$out/report.pdf"
pages=$(pdfinfo "$out/report.pdf" | sed -n 's/^Pages: *//p')
pdftoppm -png -r 70 -f 1 -l 1 -singlefile "$out/report.pdf" "$out/first"
pdftoppm -png -r 70 -f "$pages" -l "$pages" -singlefile "$out/report.pdf" "$out/last"
convert "$out/first.png" "$out/last.png" +append "$here/docs/report.png"
echo "docs/graph.png, docs/graph-e.png, docs/graph-de.png, docs/report.png"
