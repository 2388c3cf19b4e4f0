#!/usr/bin/env bash
# Usage: clicks_test.sh <kestor> <probe> [tries]. Real X input at 1024 x 768 under Xvfb: xdotool sends a
# move and the button events after it with no delay, so that they reach the program together, as from a
# moving hand, a one-pixel jitter or a tap. Each row must act on every try (10 by default), read back.
set -euo pipefail
exe=$1 probe=$2 tries=${3:-10} status=0 xvfb_pid='' app_pid='' scratch=$(mktemp -d)
fail() { echo "FAIL: $*" >&2; exit 1; }
miss() { echo "MISSED, try $try: $*" >&2; status=1; }
trap 'kill $app_pid $xvfb_pid 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$scratch"' EXIT
mkdir -m 700 "$scratch/runtime" && mkfifo "$scratch/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$scratch/display" >"$scratch/xvfb.log" 2>&1 & xvfb_pid=$!
read -r -t 20 number <"$scratch/display" || fail "Xvfb gave no display: $(cat "$scratch/xvfb.log")"
on_x() {
  env -i PATH=/usr/bin:/bin HOME="$scratch" LANG=C.UTF-8 XDG_RUNTIME_DIR="$scratch/runtime" \
    ASAN_OPTIONS=detect_leaks=0 DISPLAY=":$number" "$@"
}
x() { on_x xdotool "$@"; }
# Waits (1.5 s at most) until the probe's colour of pixel $3 is (=) or is no longer (!=) $2.
until_probe() { for _ in $(seq 30); do [ "$(on_x "$probe" "$3")" "$1" "$2" ] && return 0 || sleep 0.05; done; return 1; }
# Places at 1024 x 768 (from the layout's formulas): the commands' centres, list rows 25
# pixels high from y = 148, the confirmation panel from (257, 252) to (767, 516), its "NON".
effacer='127 64' activites='257 64' background='600 650' away='600 400'
red='255 0 0' grey='224 224 224' panel=755,505 rate_list=226,152
slow_click() { x mousemove $1 $2 sleep 0.25 click 1; }  # the pointer comes to rest first
open_list() {  # command, list pixel
  x mousemove $away sleep 0.1 mousemove $1 $2
  until_probe = "$grey" $3 || fail "the list under $1 $2 does not open"
}
panel_shown() {  # then closed with "NON"
  until_probe = "$red" $panel && slow_click 393 480 || return 1
  until_probe != "$red" $panel || fail "NON does not close the panel"
}
start_app() {
  on_x "$exe" >"$scratch/out" 2>"$scratch/err" & app_pid=$!
  timeout 20 env DISPLAY=":$number" xdotool search --sync --onlyvisible --class kestor >/dev/null ||
    fail "no window: $(cat "$scratch/err")"
  sleep 0.5
}

start_app
open_list 42 64 143,152 && slow_click 218 160  # one count; "Effacer" takes a click once it is over
for try in $(seq 21); do [ "$try" -le 20 ] || fail "no count made"; slow_click $effacer; panel_shown && break; done
for try in $(seq "$tries"); do
  x mousemove $background sleep 0.2 mousemove $effacer click 1 && panel_shown || miss "Effacer, motion and press together"
  x mousemove $effacer sleep 0.25 mousedown 1 mousemove 128 64 mouseup 1 && panel_shown || miss "Effacer, press / 1-pixel move / release"
  open_list $activites $rate_list
  x mousemove 257 235 click 1 && panel_shown || miss "rate entry 4.0, motion and press together"
  open_list $activites $rate_list
  x mousemove $background click 1 && until_probe != "$grey" $rate_list || miss "background closes a list, with its motion"
  slow_click $background
done
slow_click 959 26
timeout 10 tail --pid="$app_pid" -f /dev/null || fail "still running after a click on Quitter"
for try in $(seq "$tries"); do  # Quitter with a jitter: one-pixel moves around it, the click, together
  start_app
  x mousemove $away sleep 0.2 mousemove 958 26 mousemove 960 27 mousemove 959 26 click 1
  timeout 3 tail --pid="$app_pid" -f /dev/null || { miss "Quitter with a jitter"; kill "$app_pid"; }
  wait "$app_pid" 2>/dev/null || true
done
echo "5 rows, $tries tries each: $([ $status = 0 ] && echo all acted || echo some missed)"
exit $status
