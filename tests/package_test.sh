#!/usr/bin/env bash
# Checks the Debian package: its control fields and Depends, its files, and
# that the unpacked program finds its data file from any current directory
# and runs under Xvfb.
#
# Usage: package_test.sh <package dir> <version> <reference data file>
#   <package dir>          where `make package` left kestor_<version>_<arch>.deb
#   <version>              the project version the package must carry
#   <reference data file>  the KESTOR_11.KSQ the package must hold
#
# The run: the unpacked <root>/usr/bin/kestor is started with the current
# directory / and then an empty directory, HOME in the scratch area and no
# data file anywhere but in <root>/usr/share/kestor. The pointer opens the
# count list and picks "1" (the reference layout at 1024 x 768): the first
# count opens the data file, which then stays open, so the process must hold
# <root>/usr/share/kestor/KESTOR_11.KSQ open. A click on "Quitter" must then
# end it with status 0, and it must have written nothing.
set -euo pipefail

pkg_dir=$1
version=$2
reference_data=$3

fail() { echo "FAIL: $*" >&2; exit 1; }

arch=$(dpkg --print-architecture)
deb=$pkg_dir/kestor_${version}_${arch}.deb
[ -f "$deb" ] || fail "no package $deb (make package builds it)"

scratch=$(mktemp -d)
xvfb_pid=
app_pid=
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT

# ------------------------------------------------------------ control fields

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = kestor ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)', not $version"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture is '$(field Architecture)'"
depends=$(field Depends)
echo "Depends: $depends"
# Names of the Depends entries, without versions or alternatives.
dep_names=" $(echo "$depends" | tr ',|' '\n\n' | sed -E 's/\(.*\)//; s/:.*//; s/ //g' | tr '\n' ' ') "
needs() { [[ "$dep_names" == *" $1 "* ]] || fail "Depends lacks $1 ($2)"; }
needs libqt6widgets6 "Qt widgets"
needs libqt6gui6 "Qt GUI"
needs libqt6core6 "Qt core"
needs qt6-qpa-plugins "Qt platform plugins"
needs fonts-liberation2 "the Liberation fonts"

# ------------------------------------------------------------------- files

root=$scratch/root
dpkg -x "$deb" "$root"
exe=$root/usr/bin/kestor
data=$root/usr/share/kestor/KESTOR_11.KSQ
[ -x "$exe" ] || fail "no executable usr/bin/kestor"
cmp -s "$data" "$reference_data" || fail "usr/share/kestor/KESTOR_11.KSQ differs from the generated data file"
for size in 32 48 128 256; do
  icon=$root/usr/share/icons/hicolor/${size}x${size}/apps/kestor.png
  [ -f "$icon" ] || fail "no icon $size x $size"
  # The PNG header: width and height, 4 big-endian bytes each, at byte 16.
  read -r w0 w1 w2 w3 h0 h1 h2 h3 < <(od -An -tu1 -j16 -N8 "$icon")
  w=$(((w0 << 24) | (w1 << 16) | (w2 << 8) | w3))
  h=$(((h0 << 24) | (h1 << 16) | (h2 << 8) | h3))
  [ "$w" = "$size" ] && [ "$h" = "$size" ] || fail "icon ${size}x${size} is ${w}x${h}"
done
desktop=$root/usr/share/applications/org.kestor.Kestor.desktop
metainfo=$root/usr/share/metainfo/org.kestor.Kestor.metainfo.xml
[ -f "$desktop" ] || fail "no desktop entry"
[ -f "$metainfo" ] || fail "no metainfo"
grep -q "^Exec=kestor$" "$desktop" || fail "desktop entry does not run kestor"
grep -q "<release version=\"$version\"" "$metainfo" || fail "metainfo has no release $version"

# Every library the program links comes from a package it depends on
# (libm comes with libc6).
while read -r lib; do
  path=$(ldd "$exe" | awk -v l="$lib" '$1 == l && $2 == "=>" { print $3 }')
  [ -n "$path" ] || fail "$lib not found by ldd"
  owner=$(dpkg -S "$path" 2>/dev/null || dpkg -S "$(readlink -f "$path")")
  needs "${owner%%:*}" "owner of $lib"
done < <(objdump -p "$exe" | awk '$1 == "NEEDED" { print $2 }')
# The X11 platform plugin and the fonts the program asks for, as installed
# here, come from packages it depends on.
qxcb=$(find /usr/lib -path '*/qt6/plugins/platforms/libqxcb.so' | head -n1)
[ -n "$qxcb" ] || fail "no Qt X11 platform plugin on this system"
owner=$(dpkg -S "$qxcb")
needs "${owner%%:*}" "owner of the X11 platform plugin"
if command -v fc-match >/dev/null; then
  for family in "Liberation Sans" "Liberation Serif"; do
    owner=$(dpkg -S "$(fc-match -f '%{file}' "$family")")
    needs "${owner%%:*}" "owner of $family"
  done
fi

# --------------------------------------------------------------- the run

exec 3>"$scratch/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >"$scratch/xvfb.log" 2>&1 &
xvfb_pid=$!
exec 3>&-
for _ in $(seq 100); do
  [ -s "$scratch/display" ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb did not start: $(cat "$scratch/xvfb.log")"
  sleep 0.1
done
[ -s "$scratch/display" ] || fail "Xvfb gave no display"
display=:$(head -n1 "$scratch/display")
x() { DISPLAY=$display xdotool "$@"; }

# Does process $1 hold the packaged data file open?
holds_data() {
  local fd
  for fd in /proc/"$1"/fd/*; do
    [ "$(readlink "$fd" 2>/dev/null)" = "$data" ] && return 0
  done
  return 1
}

run_from() {
  local cwd=$1 home=$scratch/home runtime=$scratch/runtime
  rm -rf "$home" "$runtime"
  mkdir -p "$home"
  mkdir -m 700 "$runtime"
  (cd "$cwd" && exec env -i PATH=/usr/bin:/bin HOME="$home" XDG_RUNTIME_DIR="$runtime" \
    LANG=C.UTF-8 DISPLAY="$display" "$exe") >"$scratch/out" 2>"$scratch/err" &
  app_pid=$!
  timeout 20 env DISPLAY="$display" xdotool search --sync --onlyvisible --class kestor >/dev/null ||
    fail "[cwd $cwd] no window: $(cat "$scratch/err")"
  # Pointer over "Lancer", then a click on the entry "1" of the list it
  # opens; again until the count has opened the file (an early move can
  # reach the window before it is ready).
  local tries=0
  until holds_data "$app_pid"; do
    kill -0 "$app_pid" 2>/dev/null || fail "[cwd $cwd] the program ended: $(cat "$scratch/err")"
    tries=$((tries + 1))
    [ "$tries" -le 10 ] || fail "[cwd $cwd] a count did not open $data"
    x mousemove 600 400
    sleep 0.2
    x mousemove 42 64
    sleep 0.3
    x mousemove 210 160
    sleep 0.2
    x click 1
    sleep 0.5
  done
  # "Quitter" ends the program.
  x mousemove 959 26
  sleep 0.2
  x click 1
  local status=0 waited=0
  while kill -0 "$app_pid" 2>/dev/null && [ "$waited" -lt 100 ]; do
    sleep 0.1
    waited=$((waited + 1))
  done
  kill -0 "$app_pid" 2>/dev/null && fail "[cwd $cwd] still running after a click on Quitter"
  wait "$app_pid" || status=$?
  app_pid=
  [ "$status" -eq 0 ] || fail "[cwd $cwd] exit status $status: $(cat "$scratch/err")"
  [ ! -s "$scratch/err" ] || fail "[cwd $cwd] wrote to stderr: $(cat "$scratch/err")"
  [ ! -s "$scratch/out" ] || fail "[cwd $cwd] wrote to stdout: $(cat "$scratch/out")"
  echo "cwd $cwd: counted with $data, quit with status 0"
}

mkdir "$scratch/empty"
run_from /
run_from "$scratch/empty"
echo "package $deb: OK"
