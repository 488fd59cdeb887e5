#!/bin/sh
# Builds everything and runs every test: native unit tests under the
# sanitizers, then the Windows programs and their tests under Wine.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
sh "$root/scripts/build.sh" host
echo "== native unit tests (AddressSanitizer, UBSan)"
ctest --test-dir "$root/build/host" --output-on-failure
echo "== Windows programs under Wine"
ctest --test-dir "$root/build/win" --output-on-failure
