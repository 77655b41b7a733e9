#!/bin/sh
# Runs each libFuzzer target for a bounded time and keeps the inputs it found interesting
# in tests/fuzz/corpus/<target>, which `make test` replays. Fails when a target crashes or
# any sanitizer reports a "runtime error".
# $1: folder of the fuzz binaries, $2: seconds per target.
set -e
here=$(cd "$(dirname "$0")/.." && pwd)
bin=$1; seconds=${2:-60}
failed=
mkdir -p "$here/build/fuzz"
for target in fuzz_read fuzz_number fuzz_import fuzz_eval fuzz_export fuzz_cp1250; do
  corpus="$here/tests/fuzz/corpus/$target"
  log="$here/build/fuzz/$target.log"
  mkdir -p "$corpus"
  echo "== $target ($seconds s)"
  status=0
  "$bin/$target" -max_total_time="$seconds" -max_len=2048 -timeout=10 \
    -artifact_prefix="$here/build/fuzz/$target-" "$corpus" > "$log" 2>&1 || status=$?
  grep -E '^(#[0-9]+ +DONE|Done|==|INFO: -max_total_time|.*ERROR)' "$log" || true
  if [ "$status" != 0 ] || grep -q "runtime error" "$log"; then
    echo "FAILED: $target (exit $status), see $log"; grep -m3 "runtime error" "$log" || true
    failed="$failed $target"
  fi
  # Keep the corpus small: merge it down to the inputs that add coverage.
  tmp=$(mktemp -d)
  "$bin/$target" -merge=1 "$tmp" "$corpus" >/dev/null 2>&1
  rm -rf "$corpus" && mv "$tmp" "$corpus"
  echo "corpus: $(ls "$corpus" | wc -l) inputs"
done
[ -z "$failed" ] || { echo "fuzz targets with findings:$failed"; exit 1; }
