#!/usr/bin/env bash
# Usage: clicks_test.sh <kestor> <probe> [tries]
# Real X input at 1024 x 768 under Xvfb: xdotool sends a move and the button
# events that follow it with no delay, so that they reach the program
# together, as from a hand still moving, a one-pixel jitter or a tap on a
# touch screen. Each row below must act on every try (10 by default); the
# counts are printed. What acted is read back from the screen with the probe
# (a pixel's colour, or the dark pixels of a command's text).
set -euo pipefail
exe=$1 probe=$2 tries=${3:-10}
fail() { echo "FAIL: $*" >&2; exit 1; }

scratch=$(mktemp -d)
xvfb_pid='' app_pid=''
trap 'kill $app_pid $xvfb_pid 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$scratch"' EXIT

mkfifo "$scratch/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$scratch/display" >"$scratch/xvfb.log" 2>&1 &
xvfb_pid=$!
read -r -t 20 number <"$scratch/display" || fail "Xvfb gave no display: $(cat "$scratch/xvfb.log")"
mkdir -m 700 "$scratch/runtime"
on_x() {
  env -i PATH=/usr/bin:/bin HOME="$scratch" LANG=C.UTF-8 XDG_RUNTIME_DIR="$scratch/runtime" \
    ASAN_OPTIONS=detect_leaks=0 DISPLAY=":$number" "$@"
}
x() { on_x xdotool "$@"; }
look() { on_x "$probe" "$@"; }
# Waits (2 s at most) until the probe prints, or stops printing, a value.
becomes() {
  local want=$1 _
  shift
  for _ in $(seq 30); do
    [ "$(look "$@")" = "$want" ] && return 0
    sleep 0.05
  done
  return 1
}
leaves() {
  local was=$1 _
  shift
  for _ in $(seq 30); do
    [ "$(look "$@")" != "$was" ] && return 0
    sleep 0.05
  done
  return 1
}

# Places on the screen at 1024 x 768 (from the layout's formulas): the
# commands' centres, list rows 25 pixels high from y = 148, the confirmation
# panel from (257, 252) to (767, 516), the page's blue frame under the title bar.
lancer='42 64' effacer='127 64' activites='257 64' information='410 64' quitter='959 26'
count_one='218 160' rate_4='257 235' page_use='410 160' oui='628 480' non='393 480'
background='600 650' away='600 400' on_page='700 600'
red='255 0 0' grey='224 224 224' blue='0 0 255'
panel=755,505 rate_list=226,152 count_list=143,152 info_list=290,152 frame=3,100
effacer_text=88,56,80,17  # inside the border: black text when enabled, grey when not

start_app() {
  on_x "$exe" >"$scratch/out" 2>"$scratch/err" &
  app_pid=$!
  timeout 20 env DISPLAY=":$number" xdotool search --sync --onlyvisible --class kestor >/dev/null ||
    fail "no window: $(cat "$scratch/err")"
  sleep 0.5
}
# A slow step: the pointer comes to rest before it clicks.
slow_click() {
  x mousemove $1 $2
  sleep 0.25
  x click 1
}
slow_hover() {
  x mousemove $1 $2
  sleep 0.25
}
open_list() {  # command, list pixel
  x mousemove $away
  sleep 0.1
  slow_hover $1 $2
  becomes "$grey" $3 || fail "the list under $1 $2 does not open"
}
a_count() {
  open_list $lancer $count_list
  slow_click $count_one
  leaves 0 $effacer_text || fail "no count made"
}
ask_and_close() {  # the confirmation panel is open: close it with a slow click on NON
  slow_click $non
  leaves "$red" $panel || fail "NON does not close the panel"
}

declare -A acts=()
row() { acts[$1]=$((${acts[$1]:-0} + 1)); }
# Two counts: closing a page enables "Effacer" again only after more than one.
start_app
a_count
a_count
for try in $(seq "$tries"); do
  # Effacer: the hand moves onto it and clicks, motion and press together.
  x mousemove $background
  sleep 0.2
  x mousemove $effacer click 1
  if becomes "$red" $panel; then row "Effacer, motion and press together"; ask_and_close; fi
  # NON, motion and press together.
  slow_click $effacer
  becomes "$red" $panel || fail "the panel does not open"
  x mousemove $non click 1
  leaves "$red" $panel && row "NON, motion and press together"
  look $panel | grep -qx "$red" && ask_and_close
  # Effacer: press, a one-pixel move, release.
  slow_hover $effacer
  x mousedown 1 mousemove 128 64 mouseup 1
  if becomes "$red" $panel; then row "Effacer, press / 1-pixel move / release"; ask_and_close; fi
  # Entry 4.0 of the rate list (counts exist: the panel asks).
  open_list $activites $rate_list
  x mousemove $rate_4 click 1
  if becomes "$red" $panel; then row "rate entry 4.0, motion and press together"; ask_and_close; fi
  # The background closes an open list.
  open_list $activites $rate_list
  x mousemove $background click 1
  leaves "$grey" $rate_list && row "background closes a list, with its motion"
  slow_click $background
  # Entry Utilisation of the information list opens its page; a click on the page closes it.
  open_list $information $info_list
  x mousemove $page_use click 1
  if becomes "$blue" $frame; then
    row "information entry, motion and press together"
    x mousemove $on_page click 1
    leaves "$blue" $frame && row "page closed, motion and press together"
    look $frame | grep -qx "$blue" && slow_click $on_page
  fi
  # OUI clears (Effacer turns grey); entry 1 of the count list makes a count.
  slow_click $effacer
  becomes "$red" $panel || fail "the panel does not open"
  x mousemove $oui click 1
  leaves "$red" $panel && becomes 0 $effacer_text && row "OUI, motion and press together"
  look $panel | grep -qx "$red" && slow_click $oui
  open_list $lancer $count_list
  x mousemove $count_one click 1
  leaves 0 $effacer_text && row "count entry 1, motion and press together"
  a_count
done
slow_click $quitter
timeout 10 tail --pid="$app_pid" -f /dev/null || fail "still running after a click on Quitter"
app_pid=

# Quitter with a jitter: moves of one pixel around it, then the click, all together.
for try in $(seq "$tries"); do
  start_app
  x mousemove $away
  sleep 0.2
  x mousemove 958 26 mousemove 960 27 mousemove 959 26 click 1
  if timeout 3 tail --pid="$app_pid" -f /dev/null; then
    row "Quitter with a jitter"
  else
    kill "$app_pid"
  fi
  wait "$app_pid" 2>/dev/null || true
  app_pid=
done

status=0
for name in "Effacer, motion and press together" "Effacer, press / 1-pixel move / release" \
  "background closes a list, with its motion" "Quitter with a jitter" \
  "NON, motion and press together" "OUI, motion and press together" \
  "rate entry 4.0, motion and press together" "count entry 1, motion and press together" \
  "information entry, motion and press together" "page closed, motion and press together"; do
  echo "$name: ${acts[$name]:-0} of $tries"
  [ "${acts[$name]:-0}" -eq "$tries" ] || status=1
done
exit $status
