#!/usr/bin/env python3
"""Writes the browser's pages of KESTOR from the emscripten builds.

  mkpage.py --template page.html --fonts DIR [--data KESTOR_11.KSQ] --logo logo.xpm
            --single-script kestor-single.js --single kestor.html --site DIR
  mkpage.py --worker DIR     (writes DIR/sw.js again, for the files DIR holds)

kestor.html: one self-contained file (the script with the program inside,
the four Liberation faces as data: URLs, the data file gzip-compressed in a
base64 block that the page unpacks before the program starts). DIR (--site): kestor.html with
kestor.js, kestor.wasm (already there), the faces and the data file as
separate files for a web server, made an installable web app: a French
manifest, the logo as icons of 192 and 512 pixels, and a service worker
(sw.js) that keeps every file of the folder so that the page, once opened,
starts without network. The worker's cache is named after the files' hash:
a new build's worker replaces the kept files, and the page kept from the
previous build reloads once it has taken over.
"""
import argparse
import base64
import gzip
import hashlib
import json
import os
import shutil
import struct
import zlib

FACES = [  # family, weight, file
    ("Kestor Sans", "normal", "LiberationSans-Regular.ttf"),
    ("Kestor Sans", "bold", "LiberationSans-Bold.ttf"),
    ("Kestor Serif", "normal", "LiberationSerif-Regular.ttf"),
    ("Kestor Serif", "bold", "LiberationSerif-Bold.ttf"),
]


def vertical_metrics(path):
    """(ascender, descender, units per em) of a TrueType face: hhea's, as
    the desktop's font engine reads them."""
    with open(path, "rb") as f:
        data = f.read()
    tables = {}
    count = struct.unpack(">H", data[4:6])[0]
    for i in range(count):
        tag, _, offset, _ = struct.unpack(">4sIII", data[12 + 16 * i:28 + 16 * i])
        tables[tag] = offset
    units = struct.unpack(">H", data[tables[b"head"] + 18:tables[b"head"] + 20])[0]
    ascender, descender = struct.unpack(">hh", data[tables[b"hhea"] + 4:tables[b"hhea"] + 8])
    return ascender, -descender, units


def metrics_script(font_dir):
    """The faces' line metrics for the page: a line of text is as high as
    the face's ascender and descender, unrounded, as on the desktop."""
    entries = []
    for family, weight, name in FACES:
        a, d, u = vertical_metrics(os.path.join(font_dir, name))
        entries.append('"%s %s": %.9f' % (weight, family, (a + d) / u))
    return "<script>var Module = {lineEm: {%s}};</script>" % ", ".join(entries)


def font_faces(font_dir, inline):
    rules = []
    for family, weight, name in FACES:
        if inline:
            with open(os.path.join(font_dir, name), "rb") as f:
                url = "data:font/ttf;base64," + base64.b64encode(f.read()).decode("ascii")
        else:
            url = name
        rules.append('@font-face { font-family: "%s"; font-weight: %s; font-style: normal; '
                     'src: url("%s") format("truetype"); }' % (family, weight, url))
    return "\n".join(rules)


def page(template, fonts, script, metrics):
    with open(template, encoding="utf-8") as f:
        text = f.read()
    # The script may hold any text: it goes in as is, never through a pattern.
    head, rest = text.split("@@FONTS@@", 1)
    middle, tail = rest.split("@@SCRIPT@@", 1)
    return head + fonts + middle + metrics + "\n" + script + tail


MANIFEST = {
    "name": "KESTOR",
    "short_name": "KESTOR",
    "description": "Comptage des impulsions liées à la radioactivité",
    "lang": "fr",
    "start_url": "kestor.html",
    "scope": ".",
    "display": "fullscreen",
    "orientation": "landscape",
    "background_color": "#ffffff",
    "theme_color": "#c0c0ff",
    "icons": [{"src": "kestor-%d.png" % n, "sizes": "%dx%d" % (n, n), "type": "image/png"}
              for n in (192, 512)],
}

# In the served page's head: its manifest and icon (and the home-screen
# icon's full screen where the manifest is not read); after the program, the
# worker registered.
SITE_HEAD = ('<link rel="manifest" href="kestor.webmanifest">\n'
             '<link rel="apple-touch-icon" href="kestor-192.png">\n'
             '<meta name="apple-mobile-web-app-capable" content="yes">\n'
             '<meta name="mobile-web-app-capable" content="yes">\n</head>')
SITE_SCRIPT = """<script src="kestor.js"></script>
<script>
if ('serviceWorker' in navigator) {
  var kestorKept = !!navigator.serviceWorker.controller;
  navigator.serviceWorker.addEventListener('controllerchange', function () {
    if (kestorKept) location.reload();  /* a new build's worker took over */
  });
  navigator.serviceWorker.register('sw.js').catch(function () {});
}
</script>"""
WORKER = """'use strict';
// Keeps the page's files (the cache is named after them) and answers from them.
const CACHE = 'kestor-%s', FILES = %s;
self.addEventListener('install', (e) => e.waitUntil(caches.open(CACHE)
  .then((c) => c.addAll(FILES.map((f) => new Request(f, {cache: 'reload'}))))
  .then(() => self.skipWaiting())));
self.addEventListener('activate', (e) => e.waitUntil(caches.keys()
  .then((keys) => Promise.all(keys.filter((k) => k !== CACHE).map((k) => caches.delete(k))))
  .then(() => self.clients.claim())));
self.addEventListener('fetch', (e) => e.respondWith(caches.open(CACHE)
  .then((c) => c.match(e.request, {ignoreSearch: true})).then((r) => r || fetch(e.request))));
"""


def png(rows):
    """A PNG of rows of (r, g, b) pixels."""
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data)))
    raw = b"".join(b"\0" + bytes(c for p in row for c in p) for row in rows)
    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", len(rows[0]), len(rows), 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def icons(logo, site):
    """The logo (an XPM of square pixels) at 192 and 512 pixels, each of its
    pixels a square of pixels (the logo's size divides both)."""
    with open(logo, encoding="ascii") as f:
        rows = [line.split('"')[1] for line in f if line.startswith('"')]
    width, height, count, cpp = map(int, rows[0].split()[:4])
    colours = {r[:cpp]: bytes.fromhex(r[cpp:].split()[-1][1:7]) for r in rows[1:count + 1]}
    pixels = [[colours[r[i:i + cpp]] for i in range(0, width * cpp, cpp)]
              for r in rows[count + 1:count + 1 + height]]
    for n in (192, 512):
        with open(os.path.join(site, "kestor-%d.png" % n), "wb") as f:
            f.write(png([[pixels[y * height // n][x * width // n] for x in range(n)]
                         for y in range(n)]))


def worker(site):
    """sw.js for every file of the folder but itself, its cache named after
    their names and contents."""
    files = sorted(f for f in os.listdir(site) if f != "sw.js")
    digest = hashlib.sha256()
    for name in files:
        with open(os.path.join(site, name), "rb") as f:
            digest.update(name.encode() + b"\0" + f.read())
    with open(os.path.join(site, "sw.js"), "w", encoding="utf-8") as f:
        f.write(WORKER % (digest.hexdigest()[:16], json.dumps(files)))


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--worker")
    ap.add_argument("--template")
    ap.add_argument("--fonts")
    ap.add_argument("--data")
    ap.add_argument("--logo")
    ap.add_argument("--single-script")
    ap.add_argument("--single")
    ap.add_argument("--site")
    a = ap.parse_args()
    if a.worker:
        return worker(a.worker)

    with open(a.single_script, encoding="utf-8") as f:
        script = f.read()
    # "</script" inside the program's script would end the element early.
    script = script.replace("</script", "<\\/script")
    carried = ""
    if a.data:
        with open(a.data, "rb") as f:
            packed = gzip.compress(f.read(), compresslevel=9, mtime=0)
        carried = ('<script type="application/octet-stream" id="kestor-data">'
                   + base64.b64encode(packed).decode("ascii") + "</script>\n")
    with open(a.single, "w", encoding="utf-8") as f:
        f.write(page(a.template, font_faces(a.fonts, True),
                     carried + "<script>\n" + script + "\n</script>", metrics_script(a.fonts)))

    os.makedirs(a.site, exist_ok=True)
    for _, _, name in FACES:
        shutil.copyfile(os.path.join(a.fonts, name), os.path.join(a.site, name))
    if a.data:
        shutil.copyfile(a.data, os.path.join(a.site, "KESTOR_11.KSQ"))
    with open(os.path.join(a.site, "kestor.html"), "w", encoding="utf-8") as f:
        f.write(page(a.template, font_faces(a.fonts, False), SITE_SCRIPT, metrics_script(a.fonts))
                .replace("</head>", SITE_HEAD, 1))
    with open(os.path.join(a.site, "kestor.webmanifest"), "w", encoding="utf-8") as f:
        json.dump(MANIFEST, f, ensure_ascii=False, indent=1)
    icons(a.logo, a.site)
    worker(a.site)


if __name__ == "__main__":
    main()
