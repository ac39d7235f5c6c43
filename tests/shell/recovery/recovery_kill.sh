#!/bin/sh
# Recovery after a kill: a first instance edits a saved document, writes its recovery copy and is
# killed (SIGKILL) while a second instance runs beside it; the second neither offers the first's
# copy nor overwrites it. A new start offers the copy, restores it on Yes, and the document (name,
# modified mark, curves, terrain, region, camera) equals the one before the kill. A normal exit
# leaves no copy behind.
# usage: recovery_kill.sh APP WORKDIR  (run under with-display.sh)
set -u
APP=$1
WORK=$2
HERE=$(cd "$(dirname "$0")" && pwd)
rm -rf "$WORK"
mkdir -p "$WORK/config"
cd "$WORK" || exit 1
XDG_CONFIG_HOME=$WORK/config
ASAN_OPTIONS=detect_leaks=0
QT_QPA_PLATFORM=xcb
export XDG_CONFIG_HOME ASAN_OPTIONS QT_QPA_PLATFORM
RCV=$WORK/config/Orvane/recovery
fail() { echo "FAIL: $*"; exit 1; }

"$APP" --journal "$HERE/edit.jrn" > first.out 2> first.err &
first=$!
n=0
until grep -q '^ready$' first.out 2>/dev/null; do
  n=$((n + 1))
  [ $n -gt 600 ] && { kill -KILL $first; fail "the first instance never got ready"; }
  kill -0 $first 2>/dev/null || fail "the first instance ended: $(cat first.err)"
  sleep 0.1
done
[ -s "$RCV/altimetra-$first.scn" ] || fail "no recovery copy of the first instance"
[ -s "$RCV/altimetra-$first.rcv" ] || fail "no description of the first instance's copy"
sum1=$(cksum < "$RCV/altimetra-$first.scn")

"$APP" --journal "$HERE/second.jrn" --exit > second.out 2> second.err || fail "second instance: $(cat second.err)"
grep -q '^box' second.out && fail "the second instance offered a live instance's copy: $(cat second.out)"
[ "$(cksum < "$RCV/altimetra-$first.scn")" = "$sum1" ] || fail "the second instance changed the first's copy"
[ "$(ls "$RCV" | grep -c '\.scn$')" = 1 ] || fail "the second instance left its copy behind: $(ls "$RCV")"

kill -KILL $first
wait $first 2>/dev/null
[ -s "$RCV/altimetra-$first.scn" ] || fail "the copy went with the killed process"

"$APP" --journal "$HERE/restore.jrn" --exit > restore.out 2> restore.err || fail "restart: $(cat restore.err)"
grep -q '^box 0 ".*" yes: .*doc.scn' restore.out || fail "no question naming the document: $(head -3 restore.out)"
sed -n '/^document$/,/^ready$/p' first.out | grep -v '^ready$' > before.txt
sed -n '/^document$/,$p' restore.out > after.txt
[ "$(wc -l < before.txt)" -gt 20 ] || fail "too little printed before the kill"
grep -q 'modified=1' after.txt || fail "the modified mark did not come back"
diff before.txt after.txt > diff.txt || fail "the restored document differs: $(head -20 diff.txt)"
[ -z "$(ls "$RCV" | grep "altimetra-$first\.")" ] || fail "the restored copy was not removed: $(ls "$RCV")"

# A damaged copy is reported and set aside.
printf 'Orvane Altimetra recovery 1\ntime 1\n' > "$RCV/altimetra-999999.rcv"
printf 'garbage' > "$RCV/altimetra-999999.scn"
"$APP" --journal "$HERE/restore.jrn" --exit > damaged.out 2> damaged.err || fail "damaged copy: $(cat damaged.err)"
grep -q '^box 0 .*999999' damaged.out || fail "the damaged copy was not reported: $(head -3 damaged.out)"
ls "$RCV" | grep -q 'altimetra-999999.rcv.damaged-' || fail "the damaged copy was not set aside: $(ls "$RCV")"
[ -e "$RCV/altimetra-999999.rcv" ] && fail "the damaged copy is still offered"

# Normal exits (the last three runs) left no copy.
[ -z "$(ls "$RCV" | grep -E '^altimetra-[0-9]+\.(scn|rcv|lock)$')" ] || fail "copies left after normal exits: $(ls "$RCV")"
echo "recovery after a kill: ok"
