#!/usr/bin/env bash
# Usage: clicks_test.sh <kestor> <probe> [tries]
# Real X input at 1024 x 768 under Xvfb: xdotool sends a move and the button
# events after it with no delay, so that they reach the program together, as
# from a moving hand, a one-pixel jitter or a tap. Each row must act on every
# try (10 by default), read back from the screen with the probe.
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
# Waits (1.5 s at most) until the probe's answer for $3... is (=) or is no longer (!=) $2.
until_probe() {
  local op=$1 want=$2 _
  shift 2
  for _ in $(seq 30); do
    [ "$(on_x "$probe" "$@")" "$op" "$want" ] && return 0
    sleep 0.05
  done
  return 1
}

# Places at 1024 x 768 (from the layout's formulas): the commands' centres,
# list rows 25 pixels high from y = 148, the confirmation panel from
# (257, 252) to (767, 516), its "NON" at (393, 480).
effacer='127 64' activites='257 64' lancer='42 64' count_one='218 160' rate_4='257 235'
non='393 480' background='600 650' away='600 400'
red='255 0 0' grey='224 224 224'
panel=755,505 rate_list=226,152 count_list=143,152

slow_click() {  # the pointer comes to rest before it clicks
  x mousemove $1 $2
  sleep 0.25
  x click 1
}
open_list() {  # command, list pixel
  x mousemove $away
  sleep 0.1
  x mousemove $1 $2
  until_probe = "$grey" $3 || fail "the list under $1 $2 does not open"
}
close_panel() {
  slow_click $non
  until_probe != "$red" $panel || fail "NON does not close the panel"
}

start_app() {
  on_x "$exe" >"$scratch/out" 2>"$scratch/err" &
  app_pid=$!
  timeout 20 env DISPLAY=":$number" xdotool search --sync --onlyvisible --class kestor >/dev/null ||
    fail "no window: $(cat "$scratch/err")"
  sleep 0.5
}

declare -A acts=()
row() { acts[$1]=$((${acts[$1]:-0} + 1)); }
start_app
open_list $lancer $count_list
slow_click $count_one
for _ in $(seq 20); do  # "Effacer" takes a click once the count is over
  slow_click $effacer
  until_probe = "$red" $panel && break
done
until_probe = "$red" $panel || fail "no count made"
close_panel
for try in $(seq "$tries"); do
  x mousemove $background
  sleep 0.2
  x mousemove $effacer click 1
  if until_probe = "$red" $panel; then row "Effacer, motion and press together"; close_panel; fi
  x mousemove $effacer
  sleep 0.25
  x mousedown 1 mousemove 128 64 mouseup 1
  if until_probe = "$red" $panel; then row "Effacer, press / 1-pixel move / release"; close_panel; fi
  open_list $activites $rate_list
  x mousemove $rate_4 click 1
  if until_probe = "$red" $panel; then row "rate entry 4.0, motion and press together"; close_panel; fi
  open_list $activites $rate_list
  x mousemove $background click 1
  until_probe != "$grey" $rate_list && row "background closes a list, with its motion"
  slow_click $background
done
slow_click 959 26
timeout 10 tail --pid="$app_pid" -f /dev/null || fail "still running after a click on Quitter"

# Quitter with a jitter: moves of one pixel around it, then the click, all together.
for try in $(seq "$tries"); do
  start_app
  x mousemove $away
  sleep 0.2
  x mousemove 958 26 mousemove 960 27 mousemove 959 26 click 1
  timeout 3 tail --pid="$app_pid" -f /dev/null && row "Quitter with a jitter" || kill "$app_pid"
  wait "$app_pid" 2>/dev/null || true
done
app_pid=

status=0
for name in "Effacer, motion and press together" "Effacer, press / 1-pixel move / release" \
  "background closes a list, with its motion" "Quitter with a jitter" \
  "rate entry 4.0, motion and press together"; do
  echo "$name: ${acts[$name]:-0} of $tries"
  [ "${acts[$name]:-0}" -eq "$tries" ] || status=1
done
exit $status
