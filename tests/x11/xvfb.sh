# Sourced by the X tests: scratch, fail, Xvfb at 1024 x 768 as $DISPLAY; on_x (runs a command there
# in a clean environment), x (xdotool), run (the program as $app_pid, window awaited), ended.
scratch=$(mktemp -d)
fail() { echo "FAIL: $*" >&2; exit 1; }
trap 'kill $(jobs -p) 2>/dev/null; wait; rm -rf "$scratch"' EXIT  # Xvfb and the program
coproc Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp 2>"$scratch/xvfb.log"
read -r -t 20 number <&"${COPROC[0]}" || fail "Xvfb gave no display: $(cat "$scratch/xvfb.log")"
export DISPLAY=:$number
on_x=(env -i PATH=/usr/bin:/bin HOME="$scratch" LANG=C.UTF-8 XDG_RUNTIME_DIR="$scratch"
  ASAN_OPTIONS=detect_leaks=0 DISPLAY="$DISPLAY")
x() { "${on_x[@]}" xdotool "$@"; }
run() {
  "${on_x[@]}" "$@" >"$scratch/out" 2>"$scratch/err" & app_pid=$!
  timeout 20 xdotool search --sync --onlyvisible --class kestor >/dev/null ||
    fail "no window in $PWD: $(cat "$scratch/err")"
}
ended() { timeout "$1" tail --pid="$app_pid" -f /dev/null; }  # the program gone within $1 s
