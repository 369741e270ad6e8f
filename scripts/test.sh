#!/usr/bin/env bash
# Builds everything and runs every test: the main build's tests, the engine
# tests again under AddressSanitizer and UBSan, and a short run of each fuzz
# target on its seed corpus. Exits non-zero when anything fails.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup-deps.sh

jobs=${VARLO_JOBS:-$(nproc)}
status=0

echo "== main build"
scripts/build.sh main
(cd build && ctest --output-on-failure -j "$jobs") || status=1

echo "== sanitizer build"
scripts/build.sh sanitize
(cd build-sanitize && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
   UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
   ctest --output-on-failure -j "$jobs") || status=1

echo "== fuzz targets"
scripts/build.sh fuzz
(cd build-fuzz && ctest --output-on-failure -j "$jobs") || status=1

if [ "$status" -ne 0 ]; then
  echo "Some tests FAILED." >&2
else
  echo "All tests passed."
fi
exit "$status"
