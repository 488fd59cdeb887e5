#!/bin/sh
# Installs what the kit needs to build and test on Debian, when missing.
set -e
packages="cmake ninja-build g++ g++-mingw-w64-x86-64-posix wine64 wine
libgtest-dev binutils-mingw-w64-x86-64 clang-14 libclang-rt-14-dev
clang-tidy-14 cppcheck unzip"
missing=
for p in $packages; do
	dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' ||
		missing="$missing $p"
done
[ -z "$missing" ] && exit 0
echo "installing:$missing"
sudo=
[ "$(id -u)" = 0 ] || sudo=sudo
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq $missing >/dev/null
