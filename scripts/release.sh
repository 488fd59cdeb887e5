#!/bin/sh
# Makes the release zip in a Windows build directory and checks it: lists
# it, and checks every program in it is a static console program that
# imports only system DLLs.
# usage: release.sh BUILD_DIR OBJDUMP
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=$1 objdump=$2
(cd "$build" && cpack -G ZIP >/dev/null)
zip=$(ls "$build"/twnkit-*-win64.zip)
echo "$zip"
unzip -l "$zip"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
unzip -q "$zip" -d "$dir"
fail=0
for need in include/channel.h lib/libtwnchannel.a lib/libTwnRetr.dll.a \
	lib/libTwnSend.dll.a examples/version_retrieve.cpp docs/README.md \
	docs/channel.md bin/TwnDry.exe bin/TwnSend.exe bin/TwnRetr.exe \
	bin/TwnCmd.exe bin/TwnCur.exe bin/TwnTmpl.exe bin/TwnWin.exe \
	bin/TwnBox.exe bin/TiQCmd.exe; do
	[ -f "$dir"/twnkit-*/"$need" ] || { echo "missing: $need"; fail=1; }
done
for exe in "$dir"/twnkit-*/bin/*.exe; do
	sh "$root/tests/e2e/exe_check.sh" "$objdump" "$exe" || fail=1
done
exit $fail
