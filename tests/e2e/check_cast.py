#!/usr/bin/env python3
"""Checks that `tender-gamble --replay FILE --cast OUT` writes a valid
asciicast version 2 recording of the game in FILE.

A Trophy Mode game is played through pipes and saved (its name has a byte
that is not UTF-8, as typed in another encoding), then cast at four times
its pace. The recording must be UTF-8 JSON lines: a header object of
version 2 with the terminal's width and height, then output events
[time, "o", text] in time order; its text must show the game's screens, and
its times the sleeping pause of the first night.

Usage: check_cast.py PATH-TO-TENDER-GAMBLE
"""

import json
import os
import re
import subprocess
import sys
import tempfile

SPEED = 4
NIGHT_SECONDS = 7 * 0.5  # seven sleeping frames of half a second
ESCAPE_SEQUENCE = re.compile(r"\x1b\[[0-9;]*[A-Za-z]")


def fail(message):
    print(f"check_cast: {message}", file=sys.stderr)
    sys.exit(1)


def run(arguments, keys=b""):
    return subprocess.run(arguments, input=keys, capture_output=True, timeout=60)


def main():
    game = sys.argv[1]
    with tempfile.TemporaryDirectory(prefix="tender-gamble-cast-") as scratch:
        os.environ["XDG_STATE_HOME"] = scratch
        journal = os.path.join(scratch, "game.journal")
        cast = os.path.join(scratch, "game.cast")
        # Trophy Mode, female, seeking females, a name, every point left
        # unspent (accepted), a training, then the input ends.
        keys = b"111" b"Jos\xe9 Lee\n" b"01" b"190"
        played = run([game, "--seed", "11", "--save", journal], keys)
        if played.returncode != 0:
            fail(f"the game to cast ended with status {played.returncode}: {played.stderr!r}")
        replayed = run([game, "--replay", journal, "--cast", cast, "--speed", str(SPEED)])
        if replayed.returncode != 0 or replayed.stdout:
            fail(f"--cast: status {replayed.returncode}, output {replayed.stdout[:200]!r}, {replayed.stderr!r}")
        with open(cast, "rb") as handle:
            data = handle.read()

    try:
        text = data.decode("utf-8")
    except UnicodeDecodeError as error:
        fail(f"the recording is not UTF-8: {error}")
    lines = text.split("\n")
    if lines[-1] != "":
        fail("the recording does not end with a newline")
    records = []
    for number, line in enumerate(lines[:-1], 1):
        try:
            records.append(json.loads(line))
        except json.JSONDecodeError as error:
            fail(f"line {number} is not JSON: {error}: {line[:120]!r}")

    header, events = records[0], records[1:]
    if not isinstance(header, dict) or header.get("version") != 2:
        fail(f"the header is not that of version 2: {header!r}")
    for key in ("width", "height"):
        if not isinstance(header.get(key), int) or isinstance(header.get(key), bool) or header[key] <= 0:
            fail(f"the header's {key} is not a positive whole number: {header!r}")
    if not events:
        fail("the recording has no events")
    previous = 0.0
    for number, event in enumerate(events, 2):
        if not (isinstance(event, list) and len(event) == 3 and isinstance(event[0], (int, float))
                and not isinstance(event[0], bool) and event[1] == "o" and isinstance(event[2], str)):
            fail(f"line {number} is not an output event [time, \"o\", text]: {event!r}")
        if event[0] < previous:
            fail(f"line {number} goes back in time: {event[0]} after {previous}")
        previous = event[0]

    shown = ESCAPE_SEQUENCE.sub("", "".join(event[2] for event in events)).replace("\r", "")
    for expected in ("Pick a Play Mode:", "Enter your name 'First Last' (r for random)", "Jos\ufffd Lee",
                     "Stat Points Left: 450", "Sleeping...", "What would you like to do?", "9 - Train power"):
        if expected not in shown:
            fail(f"the recording never shows {expected!r}")
    if previous < NIGHT_SECONDS / SPEED:
        fail(f"the recording lasts {previous} s, less than the night's pause at {SPEED}x")
    print(f"check_cast: {len(events)} events over {previous:.3f} s, {header['width']}x{header['height']}")


if __name__ == "__main__":
    main()
