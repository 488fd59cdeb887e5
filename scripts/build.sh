#!/bin/sh
# Builds the Windows programs and their tests (build/win) and, with
# "host", the native unit tests (build/host); with "tools", only the
# eight tools and the dry-run client.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
sh "$root/scripts/setup.sh"
cmake -S "$root" -B "$root/build/win" -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel \
	-DCMAKE_EXPORT_COMPILE_COMMANDS=ON \
	-DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
if [ "${1:-}" = tools ]; then
	cmake --build "$root/build/win" --target TwnSend TwnRetr TwnCmd TwnCur \
		TwnTmpl TwnWin TwnBox TiQCmd TwnDry
	exit 0
fi
cmake --build "$root/build/win"
if [ "${1:-}" = host ]; then
	cmake -S "$root" -B "$root/build/host" -G Ninja \
		-DCMAKE_BUILD_TYPE=Debug -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null
	cmake --build "$root/build/host"
fi
