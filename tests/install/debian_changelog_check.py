#!/usr/bin/env python3
"""Checks scripts/debian-changelog, which writes the Debian package's changelog
from CHANGELOG.md.

    debian_changelog_check.py SCRIPT
"""
import os
import subprocess
import sys
import tempfile

MAINTAINER = "Jo Doe <jo@example.org>"

# Two releases, the newest first: list items wrapped over several lines,
# Markdown code spans, a preamble before the first release.
MARKDOWN = """# Changelog

Notes for players.

## 1.1.0 - 2024-02-29

- `--seed N` replays a game.
- A very long item that goes on and on about the many new things in this
  release, far past the width of one line of a Debian changelog file.

## 1.0.0 - 2023-12-31

- First release.
"""

# Written by hand from Debian's changelog format: 80 columns at most, "  * "
# before an item and four spaces before its next lines, the trailer dated in
# RFC 2822 (29 February 2024 was a Thursday, 31 December 2023 a Sunday).
DEBIAN = """game (1.1.0) unstable; urgency=medium

  * --seed N replays a game.
  * A very long item that goes on and on about the many new things in this
    release, far past the width of one line of a Debian changelog file.

 -- Jo Doe <jo@example.org>  Thu, 29 Feb 2024 00:00:00 +0000

game (1.0.0) unstable; urgency=medium

  * First release.

 -- Jo Doe <jo@example.org>  Sun, 31 Dec 2023 00:00:00 +0000
"""

failures = []


def run(script, markdown, version="1.1.0", maintainer=MAINTAINER):
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "CHANGELOG.md")
        with open(path, "w", encoding="utf-8") as out:
            out.write(markdown)
        return subprocess.run([sys.executable, script, path, "game", version, maintainer],
                              capture_output=True, text=True)


def expect_refused(script, what, markdown, mentions, **options):
    result = run(script, markdown, **options)
    if result.returncode == 0 or mentions not in result.stderr:
        failures.append(f"{what}: exit status {result.returncode}, stderr {result.stderr!r}, "
                        f"expected a refusal that mentions {mentions!r}")


def main():
    script = sys.argv[1]
    result = run(script, MARKDOWN)
    if result.returncode != 0 or result.stdout != DEBIAN:
        failures.append(f"conversion: status {result.returncode}\n{result.stdout}{result.stderr}")
    expect_refused(script, "a package version without release notes", MARKDOWN, "1.2.0",
                   version="1.2.0")
    expect_refused(script, "text that is not a list item", MARKDOWN.replace("- First", "First"),
                   "line 13")
    expect_refused(script, "an older release listed first",
                   MARKDOWN.replace("2023-12-31", "2024-03-01"), "newest first")
    expect_refused(script, "a release with no changes", MARKDOWN.replace("- First release.\n", ""),
                   "1.0.0 lists no changes")
    expect_refused(script, "a maintainer without an address", MARKDOWN, "Name <address>",
                   maintainer="Jo Doe")
    for failure in failures:
        print(failure, file=sys.stderr)
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
