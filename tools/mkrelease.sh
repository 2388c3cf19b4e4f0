#!/bin/sh
# Usage: mkrelease.sh OUT PACKAGE_DIR WEB_DIR VERSION
# The folder handed to a school (make release): kestor.html (any computer
# with a browser), the Debian package, the served site as a zip (a school's
# web server, tablets), LISEZMOI.txt saying which is for which machine, and
# SHA256SUMS of the four. OUT is made anew.
set -eu
out=$1 pkg=$2 web=$3 version=$4
deb=kestor_${version}_$(dpkg --print-architecture).deb zip=kestor-site-$version.zip
fail() { echo "mkrelease: $*" >&2; exit 1; }
[ -f "$pkg/$deb" ] || fail "no $pkg/$deb (make package builds it)"
[ -f "$web/kestor.html" ] && [ -d "$web/site" ] || fail "no $web/kestor.html and $web/site (make web)"
rm -rf "$out"
mkdir -p "$out/.site"
cp "$web/kestor.html" "$pkg/$deb" "$out/"
# The zip unpacks into a folder kestor/: http://<server>/kestor/kestor.html.
cp -R "$web/site" "$out/.site/kestor"
(cd "$out/.site" && python3 -m zipfile -c "../$zip" kestor)
rm -rf "$out/.site"
sed -e "s/@VERSION@/$version/g" -e "s/@DEB@/$deb/g" -e "s/@ZIP@/$zip/g" \
  "$(dirname "$0")/../data/LISEZMOI.txt.in" >"$out/LISEZMOI.txt"
(cd "$out" && sha256sum kestor.html "$deb" "$zip" LISEZMOI.txt >SHA256SUMS)
echo "release: $out/ ($(cd "$out" && ls | tr '\n' ' '))"
