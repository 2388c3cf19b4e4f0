#!/usr/bin/env python3
"""Writes the browser's pages of KESTOR from the emscripten builds.

  mkpage.py --template page.html --fonts DIR [--data KESTOR_11.KSQ]
            --single-script kestor-single.js --single kestor.html --site DIR

kestor.html: one self-contained file (the script with the program inside,
the four Liberation faces as data: URLs, the data file gzip-compressed in a
base64 block that the page unpacks before the program starts). DIR (--site): kestor.html with
kestor.js, kestor.wasm (already there), the faces and the data file as
separate files for a web server.
"""
import argparse
import base64
import gzip
import os
import shutil
import struct

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


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--template", required=True)
    ap.add_argument("--fonts", required=True)
    ap.add_argument("--data")
    ap.add_argument("--single-script", required=True)
    ap.add_argument("--single", required=True)
    ap.add_argument("--site", required=True)
    a = ap.parse_args()

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
        f.write(page(a.template, font_faces(a.fonts, False), '<script src="kestor.js"></script>',
                     metrics_script(a.fonts)))


if __name__ == "__main__":
    main()
