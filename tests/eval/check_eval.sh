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
[ "$(sed -n '1p;$p' "$dir/out.csv" | tr -d '\r')" = "$(printf 'file,n,volume,result,unit\n%s,1,3.857142857142857,,' "$dir/lab.csv")" ] || fail "CSV: $(cat "$dir/out.csv")"
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
# Three replicates of 25,00 ml 0,1000 M HCl (EP 25,00 ml with 0,1000 M NaOH), the aliquot stated
# as 25, 24.9 and 25.1 ml: c = 0.1 * 25 / V_sample mol/l, i.e. 0.1, 0.10040161 and 0.09960159;
# mean 0.10000107, s 4.0000e-4 (RSD 0.40 %), 95 % half-width 4.303 * s / sqrt(3) = 9.937e-4.
for v in 25 24,9 25,1; do
  (sed -n 1p "$examples/hcl-naoh.tid"; printf '# Stanovení.c = 0,1 mol/l\r\n# Stanovení.analyt = HCl\r\n# Stanovení.M = 36,46 g/mol\r\n'
   printf '# Stanovení.vzorek = %s ml\r\n# Stanovení.jednotka = mol/l\r\n' "$v"; sed -n '2,$p' "$examples/hcl-naoh.tid") > "$dir/r$v.tid"
done
run --format=json --stats "$dir/r25.tid" "$dir/r24,9.tid" "$dir/r25,1.tid" > "$dir/out.json" 2> "$dir/err" || fail "exit $? for a series: $(cat "$dir/err")"
python3 -c 'import json, sys; r = json.load(open(sys.argv[1])); s = r[3]["statistics"]
assert [x["unit"] for x in r[:3]] == ["mol/l"] * 3 and all(x["volume"] == 25 for x in r[:3]), r
assert all(abs(x["result"] - e) < 1e-8 for x, e in zip(r[:3], (0.1, 0.10040161, 0.09960159))), r
assert s["n"] == 3 and abs(s["mean"] - 0.10000107) < 1e-8 and abs(s["s"] - 4.0e-4) < 1e-7, s
assert abs(s["rsd"] - 0.40) < 1e-3 and abs(s["ci95"] - 9.937e-4) < 1e-6 and s["outliers"] == [] and s["unit"] == "mol/l", s' "$dir/out.json" ||
  fail "series JSON: $(cat "$dir/out.json")"
# Options over the stored determination: a 20 ml aliquot gives 0.125 mol/l; a second EP the curve
# lacks gives no number and exit 1; a zero sample is a usage error.
run --format=csv --sample=20ml "$dir/r25.tid" > "$dir/out.csv" 2> "$dir/err" || fail "exit $? with --sample"
[ "$(sed -n 2p "$dir/out.csv" | tr -d '\r')" = "$dir/r25.tid,1,25,0.125,mol/l" ] || fail "CSV result: $(cat "$dir/out.csv")"
run --ep=2 "$dir/r25.tid" > "$dir/out.txt" 2> "$dir/err"; rc=$?
[ $rc = 1 ] && grep -q "r25.tid: no result: the curve has no such equivalence point" "$dir/err" &&
  grep -q "result: none" "$dir/out.txt" || fail "missing EP: exit $rc: $(cat "$dir/err" "$dir/out.txt")"
run --sample=0ml "$dir/r25.tid" > /dev/null 2>&1; rc=$?; [ $rc = 2 ] || fail "exit $rc for --sample=0ml"
# A pH export by hand: pH 3.5 halfway from 3 ml (3.0) to 4 ml (4.0), its pKa at 1.75 ml
# 2.2 + 0.75 * 0.3 = 2.425; pH 13 never reached; the inflections say their kind.
printf 'V\tpH\r\n0\t2\r\n1\t2.2\r\n2\t2.5\r\n3\t3\r\n4\t4\r\n5\t7\r\n6\t10\r\n7\t11\r\n' > "$dir/ph.txt"
run --format=json --details --endpoint=3.5 --endpoint=13 "$dir/ph.txt" > "$dir/out.json" 2> "$dir/err" || fail "exit $? for pH"
python3 -c 'import json, sys; r = json.load(open(sys.argv[1])); e = [x for x in r if x["kind"] == "endpoint"]
assert len(e) == 2 and all(x["kind"] == "inflection" and "pka" in x for x in r[:-2]), r
assert (e[0]["value"], e[0]["volume"], e[0]["quantity"], e[1]["value"], e[1]["volume"]) == (3.5, 3.5, "pH", 13, None), e
assert abs(e[0]["pka"] - 2.425) < 1e-9 and e[1]["pka"] is None, e' "$dir/out.json" || fail "pH JSON: $(cat "$dir/out.json")"
run --endpoint=13 "$dir/ph.txt" > "$dir/out.txt" 2> "$dir/err"
grep -q "equivalence points* (pH)" "$dir/out.txt" && grep -q "^  pH 13  not reached" "$dir/out.txt" || fail "pH text: $(cat "$dir/out.txt")"
# The acetic acid sample in pH (model Ve 25.00 ml): its Gran end point within 0.5 % with a small
# error, V0 from --sample; without V0, or on an mV curve, no number and exit 1.
run --format=json --gran --sample=25ml "$examples/octova-naoh.tid" > "$dir/out.json" 2> "$dir/err" || fail "exit $? for --gran: $(cat "$dir/err")"
python3 -c 'import json, sys; g = json.load(open(sys.argv[1]))[-1]
assert g["kind"] == "gran" and abs(g["volume"] - 25) < 0.125 and 0 < g["u"] < 0.125, g' "$dir/out.json" || fail "Gran JSON: $(cat "$dir/out.json")"
for file in "$examples/octova-naoh.tid" "$examples/hcl-naoh.tid"; do
  run --gran "$file" > "$dir/out.txt" 2> "$dir/err"; rc=$?
  [ $rc = 1 ] && grep -q "Gran: none" "$dir/out.txt" && grep -q "no Gran end point: \(V0 unknown\|the curve is not in pH\)" "$dir/err" ||
    fail "--gran without V0 or pH: exit $rc: $(cat "$dir/err" "$dir/out.txt")"
done
echo "titrion-eval: 1 passed, 0 failed"
