#!/usr/bin/env bash
# Usage: package_test.sh <folder of the .deb> <version> <KESTOR_11.KSQ> <screen probe>. The
# package's fields, Depends and files; the unpacked program under Xvfb (x11/clicks_test.sh); without
# X, one line and status 1.
set -euo pipefail
source "$(dirname "$0")/x11/xvfb.sh"
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
# Depends (its names without versions and alternatives): what it uses; the owners of what it
# links, of its X11 plugin and fonts; the very Qt it was built with.
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
owned "$(find /usr/lib -path '*/qt6/plugins/platforms/libqxcb.so' | head -n1)" libqxcb
command -v fc-match >/dev/null && for font in "Liberation Sans" "Liberation Serif"; do
  owned "$(fc-match -f '%{file}' "$font")" "$font"
done

# Clicked under Xvfb from an empty folder: a count from the packaged data file, a command clicked
# by a moving hand and with a jitter, ten times each; "Quitter" ends it with status 0, nothing
# written.
(cd "$(mktemp -d -p "$scratch")" && "$(dirname "$0")/x11/clicks_test.sh" "$exe" "$4" 10 "$data") ||
  fail "the unpacked program under Xvfb"
"${on_x[@]}" env -u DISPLAY "$exe" >"$scratch/out" 2>"$scratch/err" && status=0 || status=$?
[ "$status" = 1 ] && [ "$(wc -l <"$scratch/err")" = 1 ] && grep -q "no display" "$scratch/err" ||
  fail "without a display: status $status, wrote: $(cat "$scratch/out" "$scratch/err")"
