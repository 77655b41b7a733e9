#!/bin/sh
# titrion-eval ($1; $3 "wine": the Windows program under Wine) from another process: its exit codes, the messages
# naming file and line, and JSON a parser reads.
fail() { echo "$*" >&2; exit 1; }
eval=$1; examples=$2; dir=$(mktemp -d); trap 'rm -rf "$dir"' EXIT
# Both outputs go to files: Wine's helper processes may keep a pipe they inherit open after the program ends.
if [ "$3" = wine ]; then run() { WINEDEBUG=-all wine "$eval" "$@"; }; odd='a;b.tid'; else run() { "$eval" "$@"; }; odd='a"b\c.tid'; fi
cp "$examples/hcl-naoh.tid" "$dir/$odd"  # a name JSON must escape, where the system allows one
printf 'Objem (ml);Potenciál (mV)\r\n1,0;100\r\n2,0;200\r\n3,0;250\r\n4,0;600\r\nx;y\r\n5,0;900\r\n6,0;950\r\n' > "$dir/lab.csv"
(sed -n 1,8p "$examples/hcl-naoh.tid"; echo "1.5 mV"; sed -n '9,$p' "$examples/hcl-naoh.tid") > "$dir/bad.tid"
run --format=json --details "$dir/$odd" "$examples/uhlicitan-hcl.tid" > "$dir/out.json" 2> "$dir/err" || fail "exit $? for readable files"
python3 -c 'import json, sys; r = json.load(open(sys.argv[1]))
assert [(x["file"].rsplit("/", 1)[-1], x["n"]) for x in r][:2] == [(sys.argv[2], 1), ("uhlicitan-hcl.tid", 1)] and len(r) == 5, r
assert r[0]["volume"] == 25 and r[0]["x1"] <= 25 < r[0]["x2"] and r[0]["window_ml"] == 0, r[0]' "$dir/out.json" "$odd" || fail "JSON: $(cat "$dir/out.json")"
# A logger's curve, two tanh steps at 4 and 7 ml read with noise: smoothed, one point a jump.
python3 -c 'import math, random; r = random.Random(1)
print("".join("%.5f;%.3f\n" % (v, 150 * math.tanh((v - 4) / 0.15) + 100 * math.tanh((v - 7) / 0.3) + r.gauss(0, 0.05))
              for v in (k / 1000 for k in range(10001))))' > "$dir/logger.csv"
run --format=json --details --recognize "$dir/logger.csv" > "$dir/out.json" 2> "$dir/err" || fail "exit $? for a logger's curve"
python3 -c 'import json, sys; r = json.load(open(sys.argv[1]))
assert [round(x["volume"], 1) for x in r] == [4, 7] and all(0 < x["window_ml"] < 0.1 for x in r), r' "$dir/out.json" ||
  fail "smoothed JSON: $(cat "$dir/out.json")"
run --format=csv --recognize "$dir/lab.csv" "$dir/missing.tid" "$dir/bad.tid" > "$dir/out.csv" 2> "$dir/err"; rc=$?
[ $rc = 1 ] || fail "exit $rc with unreadable files"
grep -q "lab.csv:6: " "$dir/err" && grep -q "missing.tid: cannot be read" "$dir/err" && grep -q "bad.tid:9: " "$dir/err" || fail "messages: $(cat "$dir/err")"
[ "$(sed -n '1p;$p' "$dir/out.csv" | tr -d '\r')" = "$(printf 'file,n,volume\n%s,1,3.857142857142857' "$dir/lab.csv")" ] || fail "CSV: $(cat "$dir/out.csv")"
run "$examples/hcl-naoh.tid" > "$dir/out.txt" 2> "$dir/err"  # text rounds as the lists do, with a decimal point
[ "$(tr -d '\r' < "$dir/out.txt")" = "$(printf '%s: 1 equivalence point\n  1  25.0000 ml' "$examples/hcl-naoh.tid")" ] || fail "text: $(cat "$dir/out.txt")"
for usage in "--format=xml $dir/lab.csv" "--recognize=101 $dir/lab.csv" ""; do
  run $usage > /dev/null 2>&1; rc=$?; [ $rc = 2 ] || fail "exit $rc for usage: $usage"
done
run --help > "$dir/help" 2> "$dir/err"; grep -q "^Usage: titrion-eval" "$dir/help" || fail "--help prints no usage"
# A name a spreadsheet would take for a formula; lost output fails; no pair of numbers fails;
# the columns chosen by name.
cp "$dir/lab.csv" "$dir/=1+1.csv"; printf 'V;E\nx;y\n' > "$dir/none.csv"
(cd "$dir" && run --format=csv "=1+1.csv" > out.csv 2> err); grep -q "^\"'=1+1.csv\",1," "$dir/out.csv" || fail "formula: $(cat "$dir/out.csv")"
run "$examples/hcl-naoh.tid" > /dev/full 2> "$dir/err"; rc=$?
[ $rc = 1 ] && grep -q "output cannot be written" "$dir/err" || fail "exit $rc on a full disk: $(cat "$dir/err")"
run "$dir/none.csv" > /dev/null 2> "$dir/err"; rc=$?
[ $rc = 1 ] && grep -q "none.csv: no line holds" "$dir/err" || fail "exit $rc without numbers: $(cat "$dir/err")"
run --format=csv "--columns=OBJEM (ML),2" "$dir/lab.csv" > "$dir/out.csv" 2> /dev/null
grep -q "lab.csv,2,3.857142857142857" "$dir/out.csv" || fail "--columns: $(cat "$dir/out.csv")"
# A .tid from a pipe is read once (natively: Wine knows no /dev/stdin).
if [ "$3" != wine ]; then
  timeout 60 "$eval" /dev/stdin < "$examples/hcl-naoh.tid" > "$dir/out.txt" 2> "$dir/err" || fail "pipe: exit $?: $(cat "$dir/err")"
  grep -q "  1  25.0000 ml" "$dir/out.txt" || fail "pipe: $(cat "$dir/out.txt")"
fi
echo "titrion-eval: 1 passed, 0 failed"
