#!/bin/sh
# The kit at work: starts the dry-run client under Wine, runs each of the
# eight tools once with a typical argument and shows, after each, what the
# client received.
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
sh "$root/scripts/build.sh" tools
bin=$root/build/win/bin
run="$root/scripts/wine-run"
winpath() { echo "Z:$1" | tr / '\\'; }
out=$root/build/demo-client.txt
rm -f "$out"
"$run" "$bin/TwnDry.exe" --editor >"$out" 2>&1 &
client=$!
trap 'kill $client 2>/dev/null || true' EXIT
until grep -q '^ready' "$out" 2>/dev/null; do sleep 0.1; done
seen=$(wc -l <"$out")
echo "dry-run client started: $(head -n 1 "$out")"

# Runs one tool, then prints the client's new lines. Commands over DDE are
# handed over without waiting, so give the client a moment.
show() {
	echo
	printf '$ %s\n' "$*"
	tool=$1
	shift
	"$run" "$bin/$tool.exe" "$@" && code=0 || code=$?
	echo "  exit code $code"
	sleep 0.3
	tail -n +"$((seen + 1))" "$out" | sed 's/^/  client: /'
	seen=$(wc -l <"$out")
}

mail=$root/build/demo-mail.txt
printf 'Subject: Weekly report\nTo: team\n\nAll done.\n' >"$mail"
show TwnSend "$(winpath "$mail")"
show TwnRetr 2
show TwnCmd res
show TwnCur 7
show TwnTmpl Weekly
show TwnWin ic
show TwnBox Inbox
show TiQCmd sig Office
show TwnWin no
show TwnBox Nowhere
