#!/bin/sh
# Runs each libFuzzer target for a bounded time and keeps the inputs it found interesting
# in tests/fuzz/corpus/<target>, which `make test` replays.
# $1: folder of the fuzz binaries, $2: seconds per target.
set -e
here=$(cd "$(dirname "$0")/.." && pwd)
bin=$1; seconds=${2:-60}
for target in fuzz_read fuzz_number fuzz_import; do
  corpus="$here/tests/fuzz/corpus/$target"
  mkdir -p "$corpus"
  echo "== $target ($seconds s)"
  "$bin/$target" -max_total_time="$seconds" -max_len=2048 -timeout=10 \
    -artifact_prefix="$here/build/fuzz/$target-" "$corpus" 2>&1 | grep -E '^(#[0-9]+ +DONE|Done|==|INFO: -max_total_time|.*ERROR)' || true
  # Keep the corpus small: merge it down to the inputs that add coverage.
  tmp=$(mktemp -d)
  "$bin/$target" -merge=1 "$tmp" "$corpus" >/dev/null 2>&1
  rm -rf "$corpus" && mv "$tmp" "$corpus"
  echo "corpus: $(ls "$corpus" | wc -l) inputs"
done
