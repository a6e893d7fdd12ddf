#!/usr/bin/env bash
# A short fuzz run: arbitrary bytes through the loader and both converters
# under AddressSanitizer, UndefinedBehaviorSanitizer and LeakSanitizer.
# Any crash, leak, timeout or excess of memory fails the stage.
set -euo pipefail
cd "$(dirname "$0")/../.."
build="${FUZZ_BUILD_DIR:-build-fuzz}"
log="$(mktemp)"
trap 'rm -f "$log"' EXIT
if ! fuzz/run-fuzzer "${FUZZ_SECONDS:-60}" >"$log" 2>&1; then
  tail -n 60 "$log" >&2
  echo "fuzz: FAIL (reproducer in $build/, see the hardening section of README.md)" >&2
  exit 1
fi
grep -E '^stat::(number_of_executed_units|peak_rss_mb)' "$log"
echo "fuzz: corpus of $(ls "$build/corpus" | wc -l) inputs, no findings"
