#!/bin/sh
# make pictures: the graph window in its three views and the first page of the HTML report of a
# sample, as the read-me and the manual show them (docs/graph.png for E'', docs/graph-e.png,
# docs/graph-de.png, docs/report.png), and the E view of a curve of 100,000 points with one
# jump (docs/graph-100000.png); the main window with a chloride replicate's result and the series
# window with all four (docs/result.png, docs/series.png); the Gran view of the acetic acid
# sample with the default function and with the weak acid's (docs/graph-gran.png,
# docs/graph-gran-weak.png). $1: the Windows build folder.
set -e
here=$(cd "$(dirname "$0")/.." && pwd)
win=$(cd "${1:-$here/build/win64}" && pwd)
out="$here/build/pictures"
export WINEPREFIX="${WINEPREFIX:-$here/build/wineprefix}"
rm -rf "$out"
mkdir -p "$out"
# The curve of make bench-gui without its reading noise, E to a nanovolt: noise, or readings
# rounded to 0.1 mV, would make thousands of small inflections at this density.
python3 - "$out/krivka-100000.tid" <<'END'
import math, sys
lines = ["# Titrionika 2.0", ""]
for i in range(100000):
    vb = 50.0 * i / 100000
    lines.append("%.4f\t%.6f" % (vb, 300.0 * math.tanh(2.0 * (vb - 25.0))))
open(sys.argv[1], "w").write("\n".join(lines) + "\n")
END
# The acetic acid sample as a pH document whose determination gives V0 = 25 ml and uses the Gran end point.
(sed -n 1p "$here/examples/octova-naoh.tid"; printf '# Veli\304\215ina = pH\r\n# Stanoven\303\255.c = 0,1 mol/l\r\n'
 printf '# Stanoven\303\255.analyt = CH3COOH\r\n# Stanoven\303\255.M = 60,05 g/mol\r\n# Stanoven\303\255.vzorek = 25 ml\r\n'
 printf '# Stanoven\303\255.jednotka = g/l\r\n# Stanoven\303\255.bod ekvivalence = Gran\r\n'
 grep -v '^# Titrionika\|^# Veli' "$here/examples/octova-naoh.tid") > "$out/octova-ph.tid"
xvfb-run -a -s "-screen 0 1024x768x24" sh -c '
  here=$1; win=$2; out=$3
  "$here/tools/wine-prefix.sh"
  WINEDEBUG=-all wineserver -p
  sample=$(WINEDEBUG=-all winepath -w "$here/examples/uhlicitan-hcl.tid")
  report=$(WINEDEBUG=-all winepath -w "$out/report.html")
  picture=$(WINEDEBUG=-all winepath -w "$out/graph.bmp")
  curve=$(WINEDEBUG=-all winepath -w "$out/graph-e.bmp")
  slope=$(WINEDEBUG=-all winepath -w "$out/graph-de.bmp")
  large=$(WINEDEBUG=-all winepath -w "$out/krivka-100000.tid")
  large_e=$(WINEDEBUG=-all winepath -w "$out/graph-100000.bmp")
  rc=0
  "$here/tools/wine-run.sh" "$win/tests/e2e/titrion_showcase.exe" "$sample" "$report" "$picture" "$curve" "$slope" || rc=$?
  "$here/tools/wine-run.sh" "$win/tests/e2e/titrion_showcase.exe" "$large" "$large_e" 1 || rc=$?
  acid=$(WINEDEBUG=-all winepath -w "$out/octova-ph.tid")
  "$here/tools/wine-run.sh" "$win/tests/e2e/titrion_showcase.exe" "$acid" "$(WINEDEBUG=-all winepath -w "$out/graph-gran.bmp")" 4 || rc=$?
  # The weak acid'"'"'s function through the settings file, which is put back afterwards.
  ini="$win/tests/e2e/titrion2.ini"; [ -f "$ini" ] && cp "$ini" "$out/titrion2.ini"
  printf "[Graph]\r\ngran=before-weak;;;\r\n" > "$ini"
  "$here/tools/wine-run.sh" "$win/tests/e2e/titrion_showcase.exe" "$acid" "$(WINEDEBUG=-all winepath -w "$out/graph-gran-weak.bmp")" 4 || rc=$?
  if [ -f "$out/titrion2.ini" ]; then cp "$out/titrion2.ini" "$ini"; else rm -f "$ini"; fi
  replicates=""
  for k in 1 2 3 4; do replicates="$replicates $(WINEDEBUG=-all winepath -w "$here/examples/chloridy-agno3-$k.tid")"; done
  "$here/tools/wine-run.sh" "$win/tests/e2e/titrion_showcase.exe" --series "$(WINEDEBUG=-all winepath -w "$out/result.bmp")" \
    "$(WINEDEBUG=-all winepath -w "$out/series.bmp")" $replicates || rc=$?
  wineserver -k 2>/dev/null || true
  exit $rc' sh "$here" "$win" "$out"
for view in graph graph-e graph-de graph-100000 graph-gran graph-gran-weak result series; do convert "$out/$view.bmp" "$here/docs/$view.png"; done
# The report as a browser prints it (table borders from its BORDER attributes): the first
# page beside the last, which holds the results and the footer.
weasyprint --quiet --presentational-hints "$out/report.html" "$out/report.pdf"
pages=$(pdfinfo "$out/report.pdf" | sed -n 's/^Pages: *//p')
pdftoppm -png -r 70 -f 1 -l 1 -singlefile "$out/report.pdf" "$out/first"
pdftoppm -png -r 70 -f "$pages" -l "$pages" -singlefile "$out/report.pdf" "$out/last"
convert "$out/first.png" "$out/last.png" +append "$here/docs/report.png"
echo "docs/graph.png, docs/graph-e.png, docs/graph-de.png, docs/graph-100000.png, docs/graph-gran.png, docs/graph-gran-weak.png, docs/result.png, docs/series.png, docs/report.png"
