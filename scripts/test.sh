#!/bin/sh
# Builds everything and runs every test: native unit tests under the
# sanitizers, the Windows programs and their tests under Wine, static
# analysis, and a short run of every fuzz target (FUZZ_SECONDS each).
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
sh "$root/scripts/build.sh" host
echo "== native unit tests (AddressSanitizer, UBSan)"
ctest --test-dir "$root/build/host" --output-on-failure
echo "== Windows programs under Wine"
ctest --test-dir "$root/build/win" --output-on-failure
echo "== static analysis"
sh "$root/scripts/lint.sh"
echo "== fuzz smoke run"
sh "$root/scripts/fuzz.sh" "${FUZZ_SECONDS:-20}"
