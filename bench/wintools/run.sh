#!/bin/sh
# Builds and runs the benchmark of the window-message tools under Wine:
# each tool's median wall time as a ratio to a bare program's.
# usage: sh bench/wintools/run.sh [rounds]
set -e
root=$(cd "$(dirname "$0")/../.." && pwd)
sh "$root/scripts/build.sh"
cmake --build "$root/build/win" --target bench_wintools
exec "$root/scripts/wine-run" "$root/build/win/bin/bench_wintools.exe" "$@"
