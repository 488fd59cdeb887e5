#!/bin/sh
# Builds the fuzz targets with clang and runs each for SECONDS (default
# 20) from its committed seed corpus. A crash fails the run and leaves its
# input in build/fuzz/.
# usage: fuzz.sh [SECONDS [TARGET...]]
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-20}
[ $# -gt 0 ] && shift
cmake -S "$root" -B "$root/build/fuzz" -G Ninja -DKIT_FUZZ=ON \
	-DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build/fuzz"
targets=${*:-$(cd "$root/fuzz/corpus" && ls)}
for t in $targets; do
	work="$root/build/fuzz/corpus-$t"
	mkdir -p "$work"
	echo "== fuzz $t for ${seconds}s"
	log="$root/build/fuzz/fuzz-$t.log"
	if (cd "$root/build/fuzz" && "./fuzz/fuzz_$t" -max_total_time="$seconds" \
		-print_final_stats=1 "$work" "$root/fuzz/corpus/$t" >"$log" 2>&1)
	then
		grep -E '^(Done|stat::number_of_executed_units)' "$log"
	else
		tail -n 40 "$log"
		echo "fuzz $t: FAILED; the failing input is in build/fuzz"
		exit 1
	fi
done
