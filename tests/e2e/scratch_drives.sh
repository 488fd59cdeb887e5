#!/bin/sh
# Two small drives for the tests of failing disks, made for the length of
# a test run: X: a 1 MiB tmpfs that a bigger mail fills up, Y: a read-only
# tmpfs. Each is a Linux mount mapped into the Wine prefix as a drive
# letter. Mounting needs root: without it nothing is made and the tests
# that need the drives skip; as root a failure to mount fails the setup.
# usage: scratch_drives.sh setup|cleanup DIR
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
: "${WINEPREFIX:=$root/build/wineprefix}"
action=$1 dir=$2
full=$dir/full readonly=$dir/readonly

cleanup() {
	rm -f "$WINEPREFIX/dosdevices/x:" "$WINEPREFIX/dosdevices/y:"
	for m in "$full" "$readonly"; do
		if mountpoint -q "$m"; then umount "$m"; fi
	done
}

cleanup
[ "$action" = cleanup ] && exit 0
if [ "$(id -u)" != 0 ]; then
	echo "not root: no scratch drives X: and Y:, their tests skip"
	exit 0
fi
# The prefix is made on first use; the drive links go into it.
[ -d "$WINEPREFIX/dosdevices" ] || "$root/scripts/wine-run" cmd /c exit 0
mkdir -p "$full" "$readonly"
mount -t tmpfs -o size=1m,mode=0777 tmpfs "$full"
mount -t tmpfs -o ro,size=64k tmpfs "$readonly"
ln -s "$full" "$WINEPREFIX/dosdevices/x:"
ln -s "$readonly" "$WINEPREFIX/dosdevices/y:"
echo "X: $full (1 MiB), Y: $readonly (read-only)"
