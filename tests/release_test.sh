#!/usr/bin/env bash
# Usage: release_test.sh <folder of the .deb> <web build> <version>. The folder tools/mkrelease.sh
# makes: its five files, checksums that verify, the whole site in the zip, a note naming the files
# in French typography (a no-break space before : ; ! ? and inside « »).
set -euo pipefail
export LC_ALL=C.UTF-8
fail() { echo "release test: $*" >&2; exit 1; }
tmp=$(mktemp -d) && trap 'rm -rf "$tmp"' EXIT
deb=kestor_$3_$(dpkg --print-architecture).deb zip=kestor-site-$3.zip
pkg=$(realpath "$1") web=$(realpath "$2")
"$(dirname "$0")/../tools/mkrelease.sh" "$tmp/release" "$pkg" "$web" "$3" >/dev/null
cd "$tmp/release"
[ "$(ls -A | xargs)" = "LISEZMOI.txt SHA256SUMS $zip kestor.html $deb" ] || fail "files: $(ls -A)"
[ "$(sort -k2 SHA256SUMS)" = "$(sha256sum LISEZMOI.txt "$zip" kestor.html "$deb")" ] &&
  cmp -s kestor.html "$web/kestor.html" && cmp -s "$deb" "$pkg/$deb" || fail "checksums or copies"
python3 -m zipfile -e "$zip" u && diff -r "$web/site" u/kestor >/dev/null || fail "zip"
for n in kestor.html $deb $zip SHA256SUMS README.md; do grep -qF "$n" LISEZMOI.txt || fail "$n?"; done
! grep -nE ' [:;!?»]|« |[^  ][:;!?»]( |$)|«[^ ]' LISEZMOI.txt || fail "typography"
[ "$(wc -l <LISEZMOI.txt)" -le 60 ] || fail "more than a page"
