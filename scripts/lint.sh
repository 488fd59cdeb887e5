#!/bin/sh
# Static analysis of the project's own sources: cppcheck over everything,
# clang-tidy over the native sources (build/host) and the Windows sources
# (build/win, parsed as MinGW-w64 code). Needs both builds configured;
# scripts/build.sh host does that.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
sources=$(git ls-files '*.cpp')
host_sources=$(echo "$sources" | grep -E '^(core|tests/unit)/')
win_sources=$(echo "$sources" | grep -vE '^(core|tests/unit|fuzz|bench)/')

echo "== cppcheck"
# cstyleCast: the code is C-style throughout and Win32 wants its casts.
# useStlAlgorithm: a plain loop is the house style.
# unusedStructMember: keyword tables are read through find_keyword(), a
#   template cppcheck does not follow.
# ctuOneDefinitionRuleViolation: every test file is a program of its own,
#   so their local Row structs never meet.
cppcheck --quiet --enable=warning,style,performance,portability \
	--std=c++17 --language=c++ --error-exitcode=1 --inline-suppr \
	--suppress=cstyleCast --suppress=useStlAlgorithm \
	--suppress=ctuOneDefinitionRuleViolation --suppress=unusedStructMember \
	--suppress=missingIncludeSystem \
	-I core -I client -I channel $sources

echo "== clang-tidy (native)"
clang-tidy-14 --quiet -p build/host $host_sources 2>/dev/null
echo "== clang-tidy (Windows)"
# clang does not find the C++ library headers of the cross compiler by
# itself: hand it those of the compiler's own search list (its intrinsic
# headers would clash with clang's).
cross_includes=$(echo | x86_64-w64-mingw32-g++-posix -E -x c++ - -v 2>&1 |
	sed -n '/search starts here/,/End of search list/s/^ \(\/.*include\/c++.*\)/--extra-arg=-isystem\1/p')
clang-tidy-14 --quiet -p build/win --extra-arg=--target=x86_64-w64-mingw32 \
	$cross_includes $win_sources 2>/dev/null
echo "static analysis clean"
