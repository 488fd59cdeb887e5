#!/bin/sh
# Builds the kit and the bench programs, then times TwnSend against a raw
# block copy of the same 50 MiB mail under Wine and reads both programs'
# peak working sets. Arguments go to the bench (ROUNDS).
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
sh "$root/scripts/build.sh"
cmake --build "$root/build/win" --target twnbench
exec "$root/scripts/wine-run" "$root/build/win/bin/twnbench.exe" "$@"
