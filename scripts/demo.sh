#!/bin/sh
# Starts the dry-run client under Wine, lets the tools act on it and shows
# what the client received.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
sh "$root/scripts/build.sh"
bin=$root/build/win/bin
run="$root/scripts/wine-run"
log=$root/build/demo.log
rm -f "$log"
"$run" "$bin/TwnDry.exe" --quiet --editor --log 'Z:'"$(echo "$log" | tr / '\\')" &
client=$!
until grep -q '^ready' "$log" 2>/dev/null; do sleep 0.1; done
show() {
	echo "\$ $*"
	"$run" "$bin/$1.exe" "$2" && code=0 || code=$?
	echo "  exit code $code"
}
show TwnRetr 0
show TwnRetr 1
show TwnRetr 2
mail=$root/build/demo-mail.txt
printf 'Subject: demo\n\nHello from TwnSend.\n' >"$mail"
show TwnSend 'Z:'"$(echo "$mail" | tr / '\\')"
show TwnCmd res
show TwnCur 7
show TwnCur up
show TwnTmpl Weekly
show TwnWin ic
show TwnWin no
show TwnBox Inbox
show TwnBox Nowhere
show TiQCmd send
echo "\$ TiQCmd sig Office"
"$run" "$bin/TiQCmd.exe" sig Office && echo "  exit code 0"
echo "\$ TwnRetr      (no argument: usage on stderr)"
"$run" "$bin/TwnRetr.exe" || echo "  exit code $?"
sleep 0.5
kill "$client" 2>/dev/null || true
wait "$client" 2>/dev/null || true
echo "== what the client received"
cat "$log"
