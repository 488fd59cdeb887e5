#!/bin/sh
# Checks a shipped executable: a console program that imports only DLLs
# every Windows has and, given an export list, exports exactly that list
# with ordinals 1.. in the list's order.
# usage: exe_check.sh OBJDUMP EXE [EXPORT...]
set -eu
objdump=$1 exe=$2
shift 2
fail=0
dump=$(mktemp)
trap 'rm -f "$dump"' EXIT
"$objdump" -p "$exe" >"$dump"

grep -q 'Subsystem.*(Windows CUI)' "$dump" || {
	echo "$exe: not a console program"; fail=1; }

system_dlls=' kernel32.dll user32.dll msvcrt.dll advapi32.dll gdi32.dll shell32.dll ole32.dll '
for dll in $(sed -n 's/^[[:space:]]*DLL Name: //p' "$dump" | tr 'A-Z' 'a-z'); do
	case "$system_dlls" in
	*" $dll "*) ;;
	*) echo "$exe: imports $dll, which a clean Windows lacks"; fail=1 ;;
	esac
done

if [ $# -gt 0 ]; then
	# "[   0] _Z..." lines: index in the address table, then the name.
	expected=$(i=0; for e in "$@"; do echo "$i $e"; i=$((i + 1)); done)
	actual=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/s/^[[:space:]]*\[ *\([0-9]*\)\] \(.*\)$/\1 \2/p' "$dump" | sort -n)
	base=$(sed -n "s/.*-- Ordinal Base \([0-9]*\).*/\1/p" "$dump")
	[ "$base" = 1 ] || { echo "$exe: ordinal base $base, not 1"; fail=1; }
	if [ "$expected" != "$actual" ]; then
		echo "$exe: exports differ"
		echo "expected:"; echo "$expected"
		echo "actual:"; echo "$actual"
		fail=1
	fi
fi
[ $fail = 0 ] && echo "$exe: ok"
exit $fail
