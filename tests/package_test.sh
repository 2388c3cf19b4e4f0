#!/usr/bin/env bash
# Usage: package_test.sh <folder of the .deb> <version> <KESTOR_11.KSQ> <screen probe>. The
# package's fields, Depends and files; the unpacked program clicked under Xvfb.
set -euo pipefail
scratch=$(mktemp -d)
fail() { echo "FAIL: $*" >&2; exit 1; }
trap 'kill $(jobs -p) 2>/dev/null; wait; rm -rf "$scratch"' EXIT  # Xvfb and the program
version=$2 arch=$(dpkg --print-architecture) id=org.kestor.Kestor share=$scratch/root/usr/share
deb=$1/kestor_${version}_$arch.deb exe=$scratch/root/usr/bin/kestor data=$share/kestor/KESTOR_11.KSQ
[ -f "$deb" ] || fail "no package $deb (make package builds it)"
dpkg -x "$deb" "$scratch/root" && [ -x "$exe" ] || fail "no executable usr/bin/kestor"
cmp -s "$data" "$3" || fail "usr/share/kestor/KESTOR_11.KSQ differs from the generated data file"
for s in 32 48 128 256; do  # the PNG header's width and height
  png=$share/icons/hicolor/${s}x$s/apps/kestor.png
  [ "$(od -An -tu4 --endian=big -j16 -N8 "$png" | xargs)" = "$s $s" ] || fail "no icon ${s}x$s"
done
grep -qs '^Exec=kestor$' "$share/applications/$id.desktop" || fail "no desktop entry runs kestor"
grep -qs "<release version=\"$version\"" "$share/metainfo/$id.metainfo.xml" || fail "no metainfo"
fields=$(dpkg-deb -f "$deb" Package Version Architecture | xargs)
[ "$fields" = "Package: kestor Version: $version Architecture: $arch" ] || fail "fields: $fields"
# Depends (its names without versions and alternatives): what it uses (its X11 plugin and fonts
# too); the owners of what it links; the very Qt it was built with.
depends=$(dpkg-deb -f "$deb" Depends)
names=" $(sed -E 's/\([^)]*\)//g; s/:[^ ,|]*//g; s/[ ,|]+/ /g' <<<"$depends") "
needs() { [[ "$names" == *" $1 "* ]] || fail "Depends lacks $1 ${2-}"; }
owned() {  # the owner of file $1 ($2) is in Depends
  o=$(dpkg -S "$1" 2>/dev/null || dpkg -S "$(readlink -f "$1")") || fail "no owner of $2: $1"
  needs "${o%%:*}" "(owner of $2)"
}
for n in libqt6widgets6 libqt6gui6 libqt6core6 qt6-qpa-plugins fonts-liberation2; do needs $n; done
qt=$(dpkg-query -W -f='${Version}' libqt6core6 | sed -E 's/[+~-].*//')
[[ "$depends" == *"qt6-base-abi (= $qt)"* ]] || fail "Depends lacks qt6-base-abi (= $qt)"
awk 'NR == FNR { if ($1 == "NEEDED") n[$2]; next } $1 in n && $2 == "=>" { print $1, $3 }' \
  <(objdump -p "$exe") <(ldd "$exe") | while read -r lib file; do owned "$file" "$lib"; done

# Real X input at 1024 x 768, from an empty folder: xdotool sends a move and the button events
# after it with no delay, so that they reach the program together, as from a moving hand, a
# one-pixel jitter or a tap. Each row must act on every one of ten tries, read back with the probe.
coproc Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp 2>"$scratch/xvfb.log"
read -r -t 20 number <&"${COPROC[0]}" || fail "Xvfb gave no display: $(cat "$scratch/xvfb.log")"
on_x=(env -i PATH=/usr/bin:/bin HOME="$scratch" LANG=C.UTF-8 XDG_RUNTIME_DIR="$scratch"
  ASAN_OPTIONS=detect_leaks=0 DISPLAY=:$number)
probe=("${on_x[@]}" "$(realpath "$4")")
x() { "${on_x[@]}" xdotool "$@"; }
cd "$(mktemp -d -p "$scratch")"
"${on_x[@]}" "$exe" >"$scratch/out" 2>"$scratch/err" & app=$!
timeout 20 "${on_x[@]}" xdotool search --sync --onlyvisible --class kestor >/dev/null ||
  fail "no window: $(cat "$scratch/err")"
status=0 try=0
miss() { echo "MISSED, try $try: $*" >&2; status=1; }
until_probe() {  # 1.5 s at most till the probe's colour of pixel "x,y" $3 is (=) or is not (!=) $2
  for _ in $(seq 30); do [ "$("${probe[@]}" "$3")" "$1" "$2" ] && return; sleep 0.05; done; false
}
# Places (from the layout's formulas): the commands' centres, the count list's first row, the
# confirmation panel from (257, 252) to (767, 516), its "NON". The other gestures and targets are
# the desktop input tests' (the toolkit's queue fed as the window system feeds it).
effacer='127 64' background='600 650' red='#ff0000' panel=755,505
slow_click() { x mousemove $1 $2 sleep 0.25 click 1; }  # the pointer comes to rest first
panel_shown() {  # then closed with "NON"
  until_probe = "$red" $panel && slow_click 393 480 || return 1
  until_probe != "$red" $panel || fail "NON does not close the panel"
}
row() { local what=$1; shift; x "$@" && panel_shown || miss "$what"; }  # the panel shown
sleep 0.5
x mousemove 600 400 sleep 0.1 mousemove 42 64 && until_probe = '#e0e0e0' 143,152 ||
  fail "no count list"
slow_click 218 160  # one count
until slow_click $effacer && panel_shown; do [ $((++try)) -lt 20 ] || fail "no count made"; done
{ readlink /proc/"$app"/fd/* 2>/dev/null || true; } | grep -qxF "$data" ||
  fail "the count did not open $data"
for try in $(seq 10); do
  row "Effacer, move and press together" mousemove $background sleep 0.2 mousemove $effacer click 1
  row "Effacer, press / 1-pixel move / release" mousemove $effacer sleep 0.25 mousedown 1 \
    mousemove 128 64 mouseup 1
done
slow_click 959 26
timeout 10 tail --pid="$app" -f /dev/null || fail "still running after a click on Quitter"
wait "$app" || fail "exit status $? after Quitter: $(cat "$scratch/err")"
! grep -q '' "$scratch/out" "$scratch/err" || fail "it wrote: $(cat "$scratch/"{out,err})"
[ $status = 0 ] || fail "some rows missed in 10 tries"
