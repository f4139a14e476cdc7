#!/usr/bin/env python3
"""Checks scripts/check-web-page, which the release check runs on the web
archive: a page that loads from a sub-folder of a web server passes, and one
that refers to the server's root or to a missing file fails, naming it.

    web_page_check_test.py SCRIPT
"""
import pathlib
import subprocess
import sys
import tempfile

GOOD = """<!doctype html>
<html><head><link rel="stylesheet" href="assets/style.css">
<script src="./assets/game.js?v=1"></script><script src="https://example.org/x.js"></script></head>
<body><a href="#top">top</a><a href="help/index.html">help</a><img src="assets/icon.svg"></body></html>
"""


def page(folder, index, extra=()):
    (folder / "assets").mkdir(parents=True)
    (folder / "help").mkdir()
    (folder / "index.html").write_text(index)
    for name in ("assets/style.css", "assets/game.js", "assets/icon.svg", *extra):
        (folder / name).write_text("x")
    (folder / "help/index.html").write_text('<a href="../index.html">back</a>')


def check(script, folder):
    return subprocess.run([sys.executable, script, str(folder)], capture_output=True, text=True)


def main():
    script = sys.argv[1]
    failures = []
    with tempfile.TemporaryDirectory() as scratch:
        good = pathlib.Path(scratch, "good")
        page(good, GOOD)
        result = check(script, good)
        if result.returncode != 0:
            failures.append(f"a page that loads from a sub-folder was refused:\n{result.stderr}")
        bad = pathlib.Path(scratch, "bad")
        page(bad, GOOD.replace("assets/style.css", "/assets/style.css")
                      .replace("assets/icon.svg", "assets/missing.svg"))
        result = check(script, bad)
        for fault in ("/assets/style.css works only at a server's root",
                      "assets/missing.svg answers 404"):
            if result.returncode == 0 or fault not in result.stderr:
                failures.append(f"not reported: {fault}\n{result.stderr}")
        empty = pathlib.Path(scratch, "empty")
        empty.mkdir()
        if check(script, empty).returncode == 0:
            failures.append("a folder without index.html passed")
    for failure in failures:
        print(failure, file=sys.stderr)
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
