#!/usr/bin/env bash
# Usage: package_test.sh <folder of kestor_<version>_<arch>.deb> <version> <KESTOR_11.KSQ>
# The package's fields, Depends and files; under Xvfb, from / and from an empty folder, a count
# opens the packaged data file and "Quitter" ends it with status 0, nothing written.
set -euo pipefail
pkg_dir=$1 version=$2 reference_data=$3
fail() { echo "FAIL: $*" >&2; exit 1; }

arch=$(dpkg --print-architecture) deb=$pkg_dir/kestor_${version}_${arch}.deb
[ -f "$deb" ] || fail "no package $deb (make package builds it)"
scratch=$(mktemp -d) xvfb_pid='' app_pid=''
trap 'kill $app_pid $xvfb_pid 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$scratch"' EXIT

root=$scratch/root share=$scratch/root/usr/share exe=$scratch/root/usr/bin/kestor data=$scratch/root/usr/share/kestor/KESTOR_11.KSQ
dpkg -x "$deb" "$root"
[ -x "$exe" ] || fail "no executable usr/bin/kestor"
cmp -s "$data" "$reference_data" || fail "usr/share/kestor/KESTOR_11.KSQ differs from the generated data file"
for size in 32 48 128 256; do  # the PNG header's width and height
  [ "$(od -An -tu4 --endian=big -j16 -N8 "$share/icons/hicolor/${size}x${size}/apps/kestor.png" | xargs)" = "$size $size" ] ||
    fail "no icon ${size}x${size}"
done
grep -qs '^Exec=kestor$' "$share/applications/org.kestor.Kestor.desktop" || fail "no desktop entry that runs kestor"
grep -qs "<release version=\"$version\"" "$share/metainfo/org.kestor.Kestor.metainfo.xml" || fail "no metainfo for $version"
for field in Package=kestor Version="$version" Architecture="$arch"; do
  [ "$(dpkg-deb -f "$deb" "${field%%=*}")" = "${field#*=}" ] || fail "${field%%=*} is not ${field#*=}"
done

depends=$(dpkg-deb -f "$deb" Depends)
# Names of the Depends entries, without versions or alternatives.
dep_names=" $(echo "$depends" | sed -E 's/\([^)]*\)//g; s/:[^ ,|]*//g; s/[ ,|]+/ /g') "
needs() { [[ "$dep_names" == *" $1 "* ]] || fail "Depends lacks $1 ($2)"; }
for name in libqt6widgets6 libqt6gui6 libqt6core6 qt6-qpa-plugins fonts-liberation2; do needs "$name" "used"; done
# Qt's private interface: only the very Qt build it was made with will do.
qt_version=$(dpkg-query -W -f='${Version}' libqt6core6 | sed -E 's/[+~-].*//')
[[ "$depends" == *"qt6-base-abi (= $qt_version)"* ]] || fail "Depends lacks qt6-base-abi (= $qt_version)"
# The owners of the libraries it links, of the X11 platform plugin and of its fonts.
owned() {
  local o; o=$(dpkg -S "$1" 2>/dev/null || dpkg -S "$(readlink -f "$1")") || fail "no package owns $1"
  needs "${o%%:*}" "owner of $2"
}
for lib in $(objdump -p "$exe" | awk '$1 == "NEEDED" { print $2 }'); do
  path=$(ldd "$exe" | awk -v l="$lib" '$1 == l && $2 == "=>" { print $3 }')
  owned "${path:?$lib not found by ldd}" "$lib"
done
qxcb=$(find /usr/lib -path '*/qt6/plugins/platforms/libqxcb.so' | head -n1)
owned "${qxcb:?no Qt X11 platform plugin}" "the X11 platform plugin"
command -v fc-match >/dev/null && for font in "Liberation Sans" "Liberation Serif"; do owned "$(fc-match -f '%{file}' "$font")" "$font"; done

mkfifo "$scratch/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$scratch/display" >"$scratch/xvfb.log" 2>&1 &
xvfb_pid=$!
read -r -t 20 number <"$scratch/display" || fail "Xvfb gave no display: $(cat "$scratch/xvfb.log")"
x() { DISPLAY=:$number xdotool "$@"; }
holds_data() { [ "$(readlink /proc/"$1"/fd/* 2>/dev/null | grep -cxF "$data")" -gt 0 ]; }
run_from() {
  local cwd=$1 status=0
  rm -rf "${scratch:?}/home" "$scratch/runtime" && mkdir "$scratch/home" && mkdir -m 700 "$scratch/runtime"
  (cd "$cwd" && exec env -i PATH=/usr/bin:/bin HOME="$scratch/home" LANG=C.UTF-8 \
    XDG_RUNTIME_DIR="$scratch/runtime" DISPLAY=":$number" "$exe") >"$scratch/out" 2>"$scratch/err" &
  app_pid=$!
  timeout 20 env DISPLAY=":$number" xdotool search --sync --onlyvisible --class kestor >/dev/null ||
    fail "[cwd $cwd] no window: $(cat "$scratch/err")"
  # Again until a count opened the file: an early move can come before the window is ready.
  for _ in $(seq 10); do
    holds_data "$app_pid" && break
    kill -0 "$app_pid" 2>/dev/null || fail "[cwd $cwd] the program ended: $(cat "$scratch/err")"
    x mousemove 600 400 sleep 0.2 mousemove 42 64 sleep 0.3 mousemove 210 160 sleep 0.2 click 1 sleep 0.5
  done
  holds_data "$app_pid" || fail "[cwd $cwd] a count did not open $data"
  x mousemove 959 26 sleep 0.2 click 1
  timeout 10 tail --pid="$app_pid" -f /dev/null || fail "[cwd $cwd] still running after a click on Quitter"
  wait "$app_pid" || status=$?
  app_pid=
  [ "$status" -eq 0 ] && [ ! -s "$scratch/out" ] && [ ! -s "$scratch/err" ] ||
    fail "[cwd $cwd] exit status $status, wrote: $(cat "$scratch/out" "$scratch/err")"
}
mkdir "$scratch/empty"
run_from /
run_from "$scratch/empty"

# Without any display: one line and status 1, no toolkit abort.
status=0
env -i PATH=/usr/bin:/bin HOME="$scratch/home" "$exe" >"$scratch/out" 2>"$scratch/err" || status=$?
[ "$status" -eq 1 ] && [ "$(wc -l <"$scratch/err")" -eq 1 ] && grep -q "no display" "$scratch/err" ||
  fail "without a display: status $status, wrote: $(cat "$scratch/out" "$scratch/err")"
echo "package $deb: OK (ran from / and from an empty folder; without a display: $(cat "$scratch/err"))"
