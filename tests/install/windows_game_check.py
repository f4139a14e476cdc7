#!/usr/bin/env python3
"""Checks the Windows build of the game as a player would meet it, under Wine.

    windows_game_check.py CASE RUNNER GAME.EXE

RUNNER starts a Windows program (cmake/run-with-wine). In the console cases
the game runs in a pseudo-terminal, where Wine gives it a real console and
turns the console's colours, clearing and cursor moves into escape sequences;
in the pipe cases its input and output are plain pipes.
"""
import os
import pty
import re
import select
import subprocess
import sys
import tempfile
import time

MARK = b"Mode"
TIMEOUT = 90  # seconds; the first start of Wine can be slow
BANNER_TOP = b"\xc9" + b"\xcd" * 21 + b"\xbb"
BANNER_BOTTOM = b"\xc8" + b"\xcd" * 21 + b"\xbc"
SGR = re.compile(rb"\x1b\[([0-9;]*)m")
CONTROL_SEQUENCE = re.compile(rb"\x1b\[[0-9;?]*[A-Za-z]")


def fail(message, output=b""):
    sys.stderr.write(message + "\n")
    if output:
        sys.stderr.write("--- output ---\n" + output.decode("latin-1")[-3000:] + "\n")
    sys.exit(1)


def run_in_pipe(runner, game, keys, environment=None):
    result = subprocess.run([runner, game, "--seed", "1"], input=keys, capture_output=True,
                            timeout=TIMEOUT, env=environment)
    return result.returncode, result.stdout


def run_in_console(runner, game, keys, environment):
    """Starts the game on a pseudo-terminal, types the keys once the play-mode
    menu is up, and returns (exit status, everything shown)."""
    pid, master = pty.fork()
    if pid == 0:
        os.execve(runner, [runner, game, "--seed", "1"], environment)
    shown = b""
    deadline = time.monotonic() + TIMEOUT

    def read_for(seconds, until=None):
        """Reads what the console shows for up to `seconds`; True once the
        text `until` has appeared, False at the timeout or when the game's
        side of the terminal has closed."""
        nonlocal shown
        stop = min(deadline, time.monotonic() + seconds)
        while time.monotonic() < stop:
            if until is not None and until in CONTROL_SEQUENCE.sub(b"", shown):
                return True
            ready, _, _ = select.select([master], [], [], 0.05)
            if not ready:
                continue
            try:
                chunk = os.read(master, 65536)
            except OSError:  # EIO: every process on the terminal has gone
                return False
            if not chunk:
                return False
            shown += chunk
        return until is not None and until in CONTROL_SEQUENCE.sub(b"", shown)

    if not read_for(TIMEOUT, until=MARK):
        os.kill(pid, 9)
        os.waitpid(pid, 0)
        fail("the play-mode menu never appeared", shown)
    # Keys are typed one at a time, except for chunks given as a list.
    for typed in ([bytes([key]) for key in keys] if isinstance(keys, bytes) else keys):
        os.write(master, typed)
        read_for(0.5)
    # Keep reading until the game has gone: a console nobody reads blocks.
    while True:
        finished, status = os.waitpid(pid, os.WNOHANG)
        if finished:
            break
        if time.monotonic() >= deadline:
            os.kill(pid, 9)
            os.waitpid(pid, 0)
            fail("the game did not end after its last key", shown)
        read_for(0.2)
    os.close(master)
    return os.waitstatus_to_exitcode(status), shown


def console_environment(**extra):
    environment = {key: value for key, value in os.environ.items() if key != "NO_COLOR"}
    environment.update(TERM="xterm", LANG="C.UTF-8")
    environment.update(extra)
    return environment


def colour_parameters(shown):
    """Every SGR parameter the console sent, reset (0 or empty) left out."""
    found = set()
    for match in SGR.finditer(shown):
        for parameter in match.group(1).split(b";"):
            if parameter not in (b"", b"0"):
                found.add(int(parameter))
    return found


def check_pipe_transcript(runner, game):
    # Trophy Mode without the introduction, a bad key, then Escape.
    status, out = run_in_pipe(runner, game, b"2x\x1b")
    if status != 0:
        fail(f"exit status {status}, expected 0 after Escape following a bad key", out)
    lines = out.split(b"\n")
    if lines[0] != BANNER_TOP or lines[8] != BANNER_BOTTOM:
        fail("the banner border is not the code page 437 double line", out)
    if any(len(line) != 23 or line[:1] != b"\xba" or line[-1:] != b"\xba" for line in lines[1:8]):
        fail("the banner's inner lines are not 23 bytes framed by 0xBA", out)
    if b"\x1b" in out:
        fail("escape sequences in output to a pipe", out)
    if b"\n2Character Creation\n" not in out or b"\t\t2 - Male\nx\nBad Input (1-2):72\n" not in out:
        fail("the key echo or the Bad Input line is missing", out)


def check_pipe_name_entry(runner, game):
    # Trophy Mode, the introduction, a woman seeking men, a typed name, the
    # stats accepted as they are, then Quit from the home menu.
    status, out = run_in_pipe(runner, game, b"1" b"12" b"Ann Lee\n" b"01" b"0")
    if status != 0:
        fail(f"exit status {status}, expected 0 after Quit", out)
    if b"(r for random)\nAnn Lee\n" not in out:
        fail("the typed name is not echoed on its own line", out)
    if b"Monday 8:10am (Day 1/31)\n\tWhat would you like to do?" not in out:
        fail("the home menu did not follow the accepted character", out)
    if not out.endswith(b"\t\t0 - Quit\n0"):
        fail("the game did not end at the home menu's Quit", out)


def read_piped(process, shown, seconds, until=None):  # adds what it writes within the time (or up to `until`)
    stop = time.monotonic() + seconds
    while time.monotonic() < stop and not (until and until in shown):
        if select.select([process.stdout], [], [], 0.05)[0]:
            chunk = os.read(process.stdout.fileno(), 65536)
            shown += chunk
            if not chunk:
                break
    return shown


def check_pipe_journal_and_replay(runner, game):
    with tempfile.TemporaryDirectory() as folder:
        def start(*arguments):
            return subprocess.Popen([runner, game, *arguments], cwd=folder, bufsize=0, stdin=subprocess.PIPE,
                                    stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        # FreePlay's first night in a journal, which no other game can take on while this one plays.
        played = start("--seed", "1", "--save", "night.journal")
        played.stdin.write(b"0")
        shown = read_piped(played, b"", TIMEOUT, until=b"0 - Quit\n")
        refused = subprocess.run([runner, game, "--continue", "night.journal"], cwd=folder, capture_output=True)
        if refused.returncode != 1 or b"it is being played in another window" not in refused.stderr:
            fail(f"a journal in play was continued elsewhere (status {refused.returncode})", shown)
        played.communicate(timeout=TIMEOUT)
        # Its replay at half speed (seven frames of a second), keys coming through a pipe left open:
        # Space pauses and resumes, four '+' make it 16 times faster, the last screen stays until 'q'.
        replay = start("--replay", "night.journal", "--speed", "0.5")
        shown = read_piped(replay, b"", TIMEOUT, until=b"Sleeping...")
        replay.stdin.write(b" ")
        shown = read_piped(replay, shown, 2.5)
        if shown.count(b"Sleeping...") > 2:
            fail("the replay did not pause at Space", shown)
        replay.stdin.write(b" ++++")
        shown = read_piped(replay, read_piped(replay, shown, 3, until=b"0 - Quit\n"), 1)
        if b"0 - Quit\n" not in shown or replay.poll() is not None:
            fail("the replay did not reach its last screen at 16 times the speed and wait there", shown)
        replay.stdin.write(b"q")
        if replay.wait(TIMEOUT) != 0:
            fail("the replay did not end with status 0 at 'q'", shown)


# Wine's console on a terminal never hands a lone Escape to the program, so
# the console cases end the game with Ctrl-C or through the menus instead.

def check_console_colours(runner, game):
    status, shown = run_in_console(runner, game, b"2x\x03", console_environment())
    if status != 130:
        fail(f"exit status {status} after Ctrl-C, expected 130", shown)
    if "╔═════════════════════╗".encode() not in shown:
        fail("the banner border did not reach the console as a double line", shown)
    # Bright red on red for the banner, bright white for the options.
    missing = {91, 41, 97} - colour_parameters(shown)
    if missing:
        fail(f"colours {sorted(missing)} never shown", shown)
    if b"Bad Input (1-2):72" not in shown:
        fail("the Bad Input line is missing", shown)


def check_console_without_colour(runner, game):
    status, shown = run_in_console(runner, game, b"2x\x03", console_environment(NO_COLOR="1"))
    if status != 130:
        fail(f"exit status {status} after Ctrl-C, expected 130", shown)
    if b"Bad Input (1-2):72" not in shown:
        fail("the Bad Input line is missing", shown)
    coloured = colour_parameters(shown)
    if coloured:
        fail(f"NO_COLOR is set, yet colours {sorted(coloured)} were shown", shown)


def check_console_name_entry(runner, game):
    # Trophy Mode with the introduction, a woman seeking men, a name typed
    # on the console's own edited line, the stats accepted, then Quit.
    keys = [b"1", b"1", b"2", b"Ann Lee\r", b"0", b"1", b"0"]
    status, shown = run_in_console(runner, game, keys, console_environment())
    if status != 0:
        fail(f"exit status {status} after Quit, expected 0", shown)
    text = CONTROL_SEQUENCE.sub(b"", shown)
    if b"Ann Lee" not in text:
        fail("the typed name was not echoed", shown)
    if b"(Day 1/31)" not in text or not text.rstrip(b"\r\n").endswith(b"0 - Quit\r\r\n0"):
        fail("the game did not go on from the name to the home menu's Quit", shown)


def check_console_night(runner, game):
    # FreePlay Mode opens at 1:10am: seven hours are slept, a frame and half
    # a second each, before the home menu; then Quit.
    started = time.monotonic()
    status, shown = run_in_console(runner, game, b"00", console_environment())
    elapsed = time.monotonic() - started
    if status != 0:
        fail(f"exit status {status} after Quit, expected 0", shown)
    # Wine redraws its console when it gets round to it, so some frames may
    # never reach the terminal; the time they took cannot be skipped.
    text = CONTROL_SEQUENCE.sub(b"", shown)
    if b"Sleeping..." not in text:
        fail("no sleeping frame shown", shown)
    if b"1/416666)" not in text or b"Quit" not in text:
        fail("the home menu never appeared", shown)
    if elapsed < 3.5:
        fail(f"the night passed in {elapsed:.1f} s; seven half-second pauses take 3.5 s", shown)


CASES = {
    "pipe-transcript": check_pipe_transcript,
    "pipe-name-entry": check_pipe_name_entry,
    "pipe-journal-and-replay": check_pipe_journal_and_replay,
    "console-colours": check_console_colours,
    "console-without-colour": check_console_without_colour,
    "console-name-entry": check_console_name_entry,
    "console-night": check_console_night,
}

if __name__ == "__main__":
    if len(sys.argv) != 4 or sys.argv[1] not in CASES:
        sys.exit(f"usage: {sys.argv[0]} {{{','.join(CASES)}}} RUNNER GAME.EXE")
    CASES[sys.argv[1]](sys.argv[2], sys.argv[3])
