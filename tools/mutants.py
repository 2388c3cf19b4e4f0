#!/usr/bin/env python3
"""Fault planting: plants one small fault at a time in the program's C++
source (a comparison turned, a boolean flipped, a constant moved by one, a
statement dropped), rebuilds, runs the tests and lists the faults no test
noticed. Each survivor is either a place where a mistake a user could see
would pass the suite (write the test that catches it) or a fault no input can
make visible (say why).

  tools/mutants.py --build DIR [--n 40] [--seed 1] [--paths engine display ...]
                   [--only FILE[:LINE]] [--timeout 90]

--build  a configured test build (see the README: a sanitizer build given web
         builds of its own, so that the browser tests meet every fault)
--n      how many faults to plant (sites drawn at random from the seed)
--paths  folders or files to plant in (default: the five program folders)

The tests run in two stages: the desktop tests first (the program and the
test binary rebuilt alone); only a fault they all pass, or one planted in the
browser backend, brings the web builds up to date and meets the browser
tests, in chromium. The package test, with its real-X clicks, is left out (a minute, and the
package is not rebuilt with the fault). Every file is restored, even when
interrupted; uncommitted program files are refused. The results, with every
test that failed for each fault and the checks (test file:line) that said so,
go to DIR/mutants.json.
"""
import argparse, json, os, random, re, signal, subprocess, sys, time

OPS = [  # (name, pattern, replacement) applied at one match of a line
    ("<= to <", re.compile(r"(?<![<>=!])<=(?!=)"), "<"),
    ("< to <=", re.compile(r"(?<![<>=!-])<(?![<=])(?=\s)"), "<="),
    (">= to >", re.compile(r"(?<![<>=!])>=(?!=)"), ">"),
    ("> to >=", re.compile(r"(?<![<>=!-])>(?![>=])(?=\s)"), ">="),
    ("== to !=", re.compile(r"=="), "!="),
    ("!= to ==", re.compile(r"!="), "=="),
    ("&& to ||", re.compile(r"&&"), "||"),
    ("|| to &&", re.compile(r"\|\|"), "&&"),
    ("true to false", re.compile(r"\btrue\b"), "false"),
    ("false to true", re.compile(r"\bfalse\b"), "true"),
    ("+ 1 to - 1", re.compile(r"\+ 1\b"), "- 1"),
    ("- 1 to + 1", re.compile(r"- 1\b"), "+ 1"),
    ("constant + 1", re.compile(r"(?<![\w.])([2-9]|[1-9]\d{1,4})(?![\w.])"), None),
]
SKIP = re.compile(r"^\s*(#|//|\*|/\*|template\b|static_assert\b|namespace\b|using\b|case\b)")
DECL = re.compile(r"^\s*(const\w*|constexpr|static|int|float|double|bool|auto|char|std::|"
                  r"u?int\d+_t|size_t|QString|QRect|return\b|struct|class|enum|public|private|"
                  r"protected)\b")
STATEMENT = re.compile(r"^\s*[A-Za-z_][\w.\->:\[\]]*\s*(\(.*\)|[-+*/]?=[^=].*);\s*(//.*)?$")
DESKTOP_TARGETS = "kestor kestor_tests kestor_geometry"
DESKTOP_TESTS = "-E 'browser_tests|package'"


def sh(cmd, cwd=None, env=None):
    return subprocess.run(cmd, shell=True, cwd=cwd, env=env, capture_output=True, text=True)


def sources(paths):
    out = []
    for p in paths:
        if os.path.isfile(p):
            out.append(p)
        for d, _, fs in os.walk(p):
            out += [os.path.join(d, f) for f in fs if f.endswith((".cpp", ".h"))]
    return sorted(out)


def built(build):
    """Real paths of what the build compiles or depends on (Ninja's record)."""
    out = {os.path.realpath(os.path.join(build, f))
           for f in sh(f"ninja -C {build} -t inputs all").stdout.split()}
    for line in sh(f"ninja -C {build} -t deps").stdout.splitlines():
        if line.startswith(" ") and line.strip():
            out.add(os.path.realpath(line.strip()))
    return out


def sites(path):
    """The lines of a file and every (line, start, end, replacement, name) to plant."""
    lines, found, in_block = open(path, encoding="utf-8").read().split("\n"), [], False
    for i, line in enumerate(lines):
        if "/*" in line and "*/" not in line:
            in_block = True
        if in_block:
            in_block = "*/" not in line
            continue
        if SKIP.match(line) or not line.strip():
            continue
        code = re.sub(r'"(\\.|[^"\\])*"', lambda m: " " * len(m.group(0)), line.split("//")[0])
        for name, rx, rep in OPS:
            for m in rx.finditer(code):
                if name == "constant + 1":
                    if DECL.match(line) and "=" not in code:
                        continue
                    rep = str(int(m.group(1)) + 1)
                found.append((i, m.start(), m.end(), rep, name))
        if STATEMENT.match(code) and not DECL.match(line):
            found.append((i, None, None, None, "statement dropped"))
    return lines, found


def plant(lines, site):
    i, a, b, new, name = site
    out = list(lines)
    out[i] = "" if name == "statement dropped" else lines[i][:a] + new + lines[i][b:]
    return out


def failed_tests(run):
    if run.returncode == 0:
        return []
    tail = run.stdout.split("The following tests FAILED:")[-1]
    return re.findall(r"^\s*\d+ - (\S+) \(", tail, re.M) or ["(ctest failed)"]


def failed_checks(run):
    """The desktop checks (test file:line) that failed, as the test output names them."""
    return sorted(set(re.findall(r"(tests/\S+?\.(?:cpp|h):\d+): Failure", run.stdout)))


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("--build", required=True)
    ap.add_argument("--n", type=int, default=40)
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--paths", nargs="*", default=["engine", "display", "window", "pages", "ui"])
    ap.add_argument("--only", default=None)
    ap.add_argument("--timeout", type=int, default=90, help="seconds a test may take")
    args = ap.parse_args()

    os.chdir(sh("git rev-parse --show-toplevel").stdout.strip() or os.getcwd())
    build = os.path.abspath(args.build)
    if not os.path.exists(os.path.join(build, "CTestTestfile.cmake")):
        sys.exit(f"mutants: {args.build} is not a configured test build")
    files = [args.only.split(":")[0]] if args.only else sources(args.paths)
    dirty = sh("git status --porcelain -- " + " ".join(files)).stdout.strip()
    if dirty:
        sys.exit("mutants: commit or stash these first, they would be overwritten:\n" + dirty)
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", NODE_PATH="/usr/share/nodejs")
    web_tests = "browser_tests" in sh("ctest -N", cwd=build).stdout

    def desktop():
        if sh(f"cmake --build {build} --target {DESKTOP_TARGETS}", env=env).returncode:
            return None
        return sh(f"ctest -j2 --output-on-failure {DESKTOP_TESTS} --timeout {args.timeout}",
                  cwd=build, env=env)

    def browser():
        if sh(f"cmake --build {build}", env=env).returncode:
            return None
        # chromium alone: the engines share the scenarios, and one engine's run takes
        # a minute where the three take three
        return sh(f"ctest -R browser_tests_chromium --timeout {4 * args.timeout}", cwd=build,
                  env=env)

    print("mutants: the tests without a fault ...", flush=True)
    t0 = time.time()
    for stage in [desktop] + ([browser] if web_tests else []):
        run = stage()
        if run is None or run.returncode:
            sys.exit("mutants: the build or the tests fail without a fault; mend them first")
    print(f"mutants: they pass in {time.time() - t0:.0f} s", flush=True)

    known = built(build)
    files = [f for f in files if os.path.realpath(f) in known]
    want = int(args.only.split(":")[1]) - 1 if args.only and ":" in args.only else None
    pool = [(f, s) for f in files for s in sites(f)[1] if want is None or s[0] == want]
    random.Random(args.seed).shuffle(pool)

    touched = {}

    def restore(*_):
        for f, text in touched.items():
            open(f, "w", encoding="utf-8").write(text)
        touched.clear()

    signal.signal(signal.SIGINT, lambda *a: (restore(), sys.exit(130)))
    signal.signal(signal.SIGTERM, lambda *a: (restore(), sys.exit(143)))
    results = []

    def dump():  # after every fault, so an interrupted run keeps what it found
        json.dump(results, open(os.path.join(build, "mutants.json"), "w"), indent=1,
                  ensure_ascii=False)

    try:
        for f, site in pool:
            if len(results) >= args.n:
                break
            original = open(f, encoding="utf-8").read()
            lines = original.split("\n")
            planted = "\n".join(plant(lines, site))
            if planted == original:
                continue
            touched[f] = original
            open(f, "w", encoding="utf-8").write(planted)
            t0, failed, checks, compiled = time.time(), [], [], True
            stages = [browser] if "/web/" in f else [desktop] + ([browser] if web_tests else [])
            for stage in stages:
                run = stage()
                if run is None:
                    compiled = False  # a fault that does not compile says nothing
                    break
                failed, checks = failed_tests(run), failed_checks(run)
                if failed:
                    break
            restore()
            if not compiled:
                continue
            i, name = site[0], site[4]
            r = dict(where=f"{f}:{i + 1}", op=name, before=lines[i].strip(),
                     after=plant(lines, site)[i].strip() or "(line removed)",
                     status="killed" if failed else "SURVIVED", failed=failed, checks=checks)
            results.append(r)
            dump()
            print(f"{len(results):3d} {r['status']:8s} {r['where']:34s} {name:18s} "
                  f"{r['before'][:50]} ({time.time() - t0:.0f} s)", flush=True)
    finally:
        restore()
        sh(f"cmake --build {build}", env=env)

    killed = sum(r["status"] == "killed" for r in results)
    for r in results:
        if r["status"] == "SURVIVED":
            print(f"survived  {r['where']}  ({r['op']})\n    was:  {r['before']}\n"
                  f"    now:  {r['after']}")
    if results:
        print(f"\n{killed} of {len(results)} faults caught ({100 * killed // len(results)} %); "
              f"each fault's failing tests in {os.path.join(args.build, 'mutants.json')}")


if __name__ == "__main__":
    main()
