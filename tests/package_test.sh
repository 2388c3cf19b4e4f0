#!/usr/bin/env bash
# Usage: package_test.sh <folder of kestor_<version>_<arch>.deb> <version> <KESTOR_11.KSQ>
# The package's fields, Depends and files; under Xvfb, from / and from an empty folder, a count opens
# the packaged data file and "Quitter" ends it with status 0, nothing written; without X, one line.
set -euo pipefail
pkg_dir=$1 version=$2 reference_data=$3 arch=$(dpkg --print-architecture) scratch=$(mktemp -d) xvfb_pid='' app_pid=''
deb=$pkg_dir/kestor_${version}_${arch}.deb share=$scratch/root/usr/share exe=$scratch/root/usr/bin/kestor data=''
fail() { echo "FAIL: $*" >&2; exit 1; }
trap 'kill $app_pid $xvfb_pid 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$scratch"' EXIT
[ -f "$deb" ] || fail "no package $deb (make package builds it)"
dpkg -x "$deb" "$scratch/root" && data=$share/kestor/KESTOR_11.KSQ
[ -x "$exe" ] || fail "no executable usr/bin/kestor"
cmp -s "$data" "$reference_data" || fail "usr/share/kestor/KESTOR_11.KSQ differs from the generated data file"
for s in 32 48 128 256; do  # the PNG header's width and height
  [ "$(od -An -tu4 --endian=big -j16 -N8 "$share/icons/hicolor/${s}x$s/apps/kestor.png" | xargs)" = "$s $s" ] || fail "no icon ${s}x$s"
done
grep -qs '^Exec=kestor$' "$share/applications/org.kestor.Kestor.desktop" || fail "no desktop entry that runs kestor"
grep -qs "<release version=\"$version\"" "$share/metainfo/org.kestor.Kestor.metainfo.xml" || fail "no metainfo for $version"
for field in Package=kestor Version="$version" Architecture="$arch"; do
  [ "$(dpkg-deb -f "$deb" "${field%%=*}")" = "${field#*=}" ] || fail "${field%%=*} is not ${field#*=}"
done
# Depends: what it uses, the owners of what it links, its X11 plugin and fonts; the very Qt it was built with.
depends=$(dpkg-deb -f "$deb" Depends)
names=" $(echo "$depends" | sed -E 's/\([^)]*\)//g; s/:[^ ,|]*//g; s/[ ,|]+/ /g') "  # no versions, alternatives
needs() { [[ "$names" == *" $1 "* ]] || fail "Depends lacks $1 ($2)"; }
owned() {
  local o; o=$(dpkg -S "$1" 2>/dev/null || dpkg -S "$(readlink -f "$1")") || fail "no package owns $1"
  needs "${o%%:*}" "owner of $2"
}
for name in libqt6widgets6 libqt6gui6 libqt6core6 qt6-qpa-plugins fonts-liberation2; do needs "$name" "used"; done
qt_version=$(dpkg-query -W -f='${Version}' libqt6core6 | sed -E 's/[+~-].*//')
[[ "$depends" == *"qt6-base-abi (= $qt_version)"* ]] || fail "Depends lacks qt6-base-abi (= $qt_version)"
for lib in $(objdump -p "$exe" | awk '$1 == "NEEDED" { print $2 }'); do
  path=$(ldd "$exe" | awk -v l="$lib" '$1 == l && $2 == "=>" { print $3 }') && owned "${path:?$lib not found by ldd}" "$lib"
done
qxcb=$(find /usr/lib -path '*/qt6/plugins/platforms/libqxcb.so' | head -n1) && owned "${qxcb:?no Qt X11 platform plugin}" "libqxcb"
command -v fc-match >/dev/null && for font in "Liberation Sans" "Liberation Serif"; do owned "$(fc-match -f '%{file}' "$font")" "$font"; done

mkfifo "$scratch/display" && mkdir "$scratch/empty"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$scratch/display" >"$scratch/xvfb.log" 2>&1 & xvfb_pid=$!
read -r -t 20 number <"$scratch/display" || fail "Xvfb gave no display: $(cat "$scratch/xvfb.log")"
x() { DISPLAY=:$number xdotool "$@"; }
holds_data() { readlink /proc/"$app_pid"/fd/* 2>/dev/null | grep -qxF "$data"; }
for cwd in / "$scratch/empty"; do
  rm -rf "$scratch/home" "$scratch/runtime" && mkdir "$scratch/home" && mkdir -m 700 "$scratch/runtime" && status=0
  (cd "$cwd" && exec env -i PATH=/usr/bin:/bin HOME="$scratch/home" LANG=C.UTF-8 \
    XDG_RUNTIME_DIR="$scratch/runtime" DISPLAY=":$number" "$exe") >"$scratch/out" 2>"$scratch/err" & app_pid=$!
  timeout 20 env DISPLAY=":$number" xdotool search --sync --onlyvisible --class kestor >/dev/null ||
    fail "[cwd $cwd] no window: $(cat "$scratch/err")"
  for _ in $(seq 10); do  # again until a count opened the file: the window may not be ready yet
    holds_data || ! kill -0 "$app_pid" 2>/dev/null && break
    x mousemove 600 400 sleep 0.2 mousemove 42 64 sleep 0.3 mousemove 210 160 sleep 0.2 click 1 sleep 0.5
  done
  holds_data || fail "[cwd $cwd] a count did not open $data: $(cat "$scratch/err")"
  x mousemove 959 26 sleep 0.2 click 1
  timeout 10 tail --pid="$app_pid" -f /dev/null || fail "[cwd $cwd] still running after a click on Quitter"
  wait "$app_pid" || status=$?
  [ "$status" -eq 0 ] && [ ! -s "$scratch/out" ] && [ ! -s "$scratch/err" ] && app_pid= ||
    fail "[cwd $cwd] exit status $status, wrote: $(cat "$scratch/out" "$scratch/err")"
done
status=0  # without any display: one line and status 1, no toolkit abort
env -i PATH=/usr/bin:/bin HOME="$scratch/home" "$exe" >"$scratch/out" 2>"$scratch/err" || status=$?
[ "$status" -eq 1 ] && [ "$(wc -l <"$scratch/err")" -eq 1 ] && grep -q "no display" "$scratch/err" ||
  fail "without a display: status $status, wrote: $(cat "$scratch/out" "$scratch/err")"
