#!/usr/bin/env bash
# Usage: clicks_test.sh <kestor> <probe> <tries> <data file the first count must open>. Real X
# input: xdotool sends a move and the button events after it with no delay, so that they reach the
# program together, as from a moving hand, a one-pixel jitter or a tap. Each row must act on every
# try, read back.
set -euo pipefail
source "$(dirname "$0")/xvfb.sh"
exe=$1 probe=("${on_x[@]}" "$2") tries=$3 data=$4 status=0 try=0
miss() { echo "MISSED, try $try: $*" >&2; status=1; }
until_probe() {  # 1.5 s at most till the probe's colour of pixel "x,y" $3 is (=) or is not (!=) $2
  for _ in $(seq 30); do [ "$("${probe[@]}" "$3")" "$1" "$2" ] && return; sleep 0.05; done; false
}
# Places at 1024 x 768 (from the layout's formulas): the commands' centres, the count list's first
# row, the confirmation panel from (257, 252) to (767, 516), its "NON". The other gestures and
# targets are the desktop input tests' (the toolkit's queue fed as the window system feeds it).
effacer='127 64' background='600 650' red='#ff0000' panel=755,505
slow_click() { x mousemove $1 $2 sleep 0.25 click 1; }  # the pointer comes to rest first
panel_shown() {  # then closed with "NON"
  until_probe = "$red" $panel && slow_click 393 480 || return 1
  until_probe != "$red" $panel || fail "NON does not close the panel"
}
row() { local what=$1; shift; x "$@" && panel_shown || miss "$what"; }  # the panel shown

run "$exe" && sleep 0.5
x mousemove 600 400 sleep 0.1 mousemove 42 64 && until_probe = '#e0e0e0' 143,152 ||
  fail "no count list"
slow_click 218 160  # one count
until slow_click $effacer && panel_shown; do [ $((++try)) -lt 20 ] || fail "no count made"; done
{ readlink /proc/"$app_pid"/fd/* 2>/dev/null || true; } | grep -qxF "$data" ||
  fail "the count did not open $data"
for try in $(seq "$tries"); do
  row "Effacer, move and press together" mousemove $background sleep 0.2 mousemove $effacer click 1
  row "Effacer, press / 1-pixel move / release" mousemove $effacer sleep 0.25 mousedown 1 \
    mousemove 128 64 mouseup 1
done
slow_click 959 26
ended 10 || fail "still running after a click on Quitter"
wait "$app_pid" || fail "exit status $? after Quitter: $(cat "$scratch/err")"
! grep -q '' "$scratch/out" "$scratch/err" || fail "it wrote: $(cat "$scratch/"{out,err})"
[ $status = 0 ] || fail "some rows missed in $tries tries"
