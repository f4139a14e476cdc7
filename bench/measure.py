#!/usr/bin/env python3
"""Measures the built game against its baselines and prints a report.

  output   whole scripted games played on a pseudo-terminal under strace,
           each keeping its journal in a state folder of its own: write
           calls per blocking point (key read, pause, exit), bytes per
           screen against the fewest bytes that show the same text in the
           same colours; journal writes per input and per wait, and journal
           bytes per input (as typed, and at a player's pace)
  idle     CPU used while the game waits for a key, against the idle time
           (and against `cat` waiting the same way)
  startup  exec to exit with input at its end (the first menu is written,
           the first read finds nothing), and peak RSS, against a C++
           hello world built with the same flags; without and with a journal
  resume   the Google Benchmark of continuing a journal of 10,000 inputs
  engine   the Google Benchmark of whole games in memory, keys per second,
           against the console path alone

Only the standard library is used. Run through bench/run, which builds the
programs this needs.
"""

import argparse
import fcntl
import json
import os
import platform
import pty
import re
import select
import shutil
import signal
import statistics
import struct
import subprocess
import sys
import tempfile
import termios
import time

CLEAR = b"\x1b[H\x1b[2J\x1b[3J"
SYSCALL_READ = "0"
SYSCALL_PPOLL = "271"
ANSWER_TIMEOUT = 20.0


# ---------------------------------------------------------------- pty driving

def terminal_environment(state_folder):
    environment = dict(os.environ)
    environment.pop("NO_COLOR", None)
    environment.pop("LC_ALL", None)
    environment["TERM"] = "xterm-256color"
    environment["LANG"] = "C.UTF-8"
    # Journals go to the run's scratch folder, never to the user's own.
    environment["XDG_STATE_HOME"] = state_folder
    return environment


def spawn_on_pty(argv, state_folder):
    """Starts argv with a fresh pseudo-terminal as its controlling terminal."""
    environment = terminal_environment(state_folder)
    pid, master = pty.fork()
    if pid == 0:
        try:
            os.execvpe(argv[0], argv, environment)
        finally:
            os._exit(127)
    fcntl.ioctl(master, termios.TIOCSWINSZ, struct.pack("HHHH", 40, 100, 0, 0))
    os.set_blocking(master, False)
    return pid, master


def drain(master, wait=0.0):
    """Reads and drops what the program has written, so it never blocks."""
    ready, _, _ = select.select([master], [], [], wait)
    if not ready:
        return
    try:
        while os.read(master, 65536):
            pass
    except (BlockingIOError, OSError):
        pass


def read_proc(pid, name):
    try:
        with open(f"/proc/{pid}/{name}") as handle:
            return handle.read()
    except OSError:
        return None


def read_calls(pid):
    text = read_proc(pid, "io")
    if text is None:
        return None
    for line in text.splitlines():
        if line.startswith("syscr:"):
            return int(line.split()[1])
    return None


def waiting_for_key(pid):
    """True while the process sits in read() on its standard input, or (as
    the game waits, so that Ctrl-Z cannot slip in before the wait) in a
    ppoll() on one descriptor with no time limit."""
    text = read_proc(pid, "syscall")
    if text is None:
        return False
    fields = text.split()
    if len(fields) > 3 and fields[0] == SYSCALL_PPOLL:
        return fields[2] == "0x1" and fields[3] == "0x0"
    return len(fields) > 1 and fields[0] == SYSCALL_READ and fields[1] == "0x0"


def children_of(pid):
    listed = read_proc(pid, f"task/{pid}/children")
    if listed is not None:
        return listed.split()
    found = []  # kernels without the children file: look for the parent id
    for entry in os.listdir("/proc"):
        stat = read_proc(entry, "stat") if entry.isdigit() else None
        if stat and int(stat.rsplit(")", 1)[1].split()[1]) == pid:
            found.append(entry)
    return found


def runs(pid, program):
    try:
        return os.path.realpath(f"/proc/{pid}/exe") == os.path.realpath(program)
    except OSError:
        return False


def child_of(pid, program, deadline):
    """The process that `pid` started, once it runs `program`."""
    while time.monotonic() < deadline:
        for child in children_of(pid):
            if runs(child, program):
                return int(child)
        time.sleep(0.001)
    raise RuntimeError(f"{program} did not start")


def wait_for_prompt(pid, master, reads_before):
    """Waits until the process has finished the read that took the last keys
    and is blocked in the next one. Returns the read count, or None when the
    process has ended."""
    deadline = time.monotonic() + ANSWER_TIMEOUT
    while time.monotonic() < deadline:
        drain(master, 0.0005)
        reads = read_calls(pid)
        if reads is None:
            return None
        if reads > reads_before and waiting_for_key(pid):
            return reads
    raise RuntimeError("the game did not come back to a prompt")


def reap(pid, master, timeout):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        drain(master, 0.002)
        done, status = os.waitpid(pid, os.WNOHANG)
        if done == pid:
            return os.waitstatus_to_exitcode(status)
    os.kill(pid, signal.SIGKILL)
    os.waitpid(pid, 0)
    raise RuntimeError("the program did not end")


# ------------------------------------------------------------- output figures

LINE = re.compile(r'^(\w+)\((.*)\)\s+= (-?\d+|\?)')
QUOTED = re.compile(r'"((?:\\x[0-9a-f]{2})*)"')


def quoted_bytes(arguments):
    return bytes.fromhex(QUOTED.search(arguments).group(1).replace("\\x", ""))


def parse_strace(path):
    """The game's traced calls in order: ('read'|'write'|'poll'|'pause'|'exit'
    |'journal'|'sync', bytes); 'journal' and 'sync' are writes to and syncs
    of its journal."""
    events = []
    journal = None
    with open(path) as handle:
        for line in handle:
            match = LINE.match(line)
            if not match:
                continue
            name, arguments, result = match.groups()
            if name == "openat" and quoted_bytes(arguments).endswith(b".journal") and int(result) >= 0:
                journal = f"{result},"
            elif journal and name == "write" and arguments.startswith(journal):
                events.append(("journal", quoted_bytes(arguments)))
            elif journal and name == "fdatasync" and arguments == journal[:-1]:
                events.append(("sync", b""))
            elif name == "read" and arguments.startswith("0,"):
                events.append(("read", b""))
            elif name == "write" and arguments.startswith("1,"):
                data = quoted_bytes(arguments)
                if len(data) != int(result):
                    raise RuntimeError("strace cut a write short; raise -s")
                events.append(("write", data))
            elif name in ("poll", "ppoll") and "fd=0" in arguments and result == "0":
                events.append(("poll", b""))  # the wait after a lone Escape
            elif name in ("clock_nanosleep", "nanosleep", "pselect6"):
                events.append(("pause", b""))
            elif name == "exit_group":
                events.append(("exit", b""))
    return events


def sgr_length(old, new):
    """Bytes of the one SGR sequence that takes colours old -> new."""
    parameters = [str(code) for before, code in zip(old, new) if before != code]
    return 0 if not parameters else 3 + len(";".join(parameters))


def minimal_colour_bytes(needs):
    """The fewest SGR bytes that give every painted piece of text its colours.
    `needs` is a list of (foreground or None, background) ANSI codes, None
    where the foreground does not show (blanks, and the clear)."""
    foregrounds = sorted({fg for fg, _ in needs if fg is not None})
    costs = {(None, None): 0}
    for fg, bg in needs:
        next_costs = {}
        for (old_fg, old_bg), cost in costs.items():
            choices = [fg] if fg is not None else sorted({old_fg, *foregrounds}, key=str)
            for new_fg in choices:
                total = cost + sgr_length((old_fg, old_bg), (new_fg, bg))
                if total < next_costs.get((new_fg, bg), 1 << 62):
                    next_costs[(new_fg, bg)] = total
        costs = next_costs
    return min(costs.values())


def screen_bytes(stream):
    """Splits the bytes written into text, clears and colour changes, and
    works out the fewest bytes that show the same: the same text, the same
    clears, one SGR wherever painted text needs other colours, and the reset
    at the end. Tabs, newlines and carriage returns paint nothing; a blank
    paints only its background; the clear fills the screen with the current
    background."""
    foreground = background = None
    needs = []
    text = clears = colour_bytes = other = 0
    reset_at_end = 0
    position = 0
    sgr = re.compile(rb"\x1b\[([0-9;]*)m")
    while position < len(stream):
        if stream.startswith(CLEAR, position):
            clears += 1
            needs.append((None, background))
            position += len(CLEAR)
            continue
        match = sgr.match(stream, position)
        if match:
            colour_bytes += len(match.group(0))
            for parameter in (match.group(1).split(b";") if match.group(1) else [b"0"]):
                code = int(parameter or b"0")
                if code == 0:
                    foreground = background = None
                elif 30 <= code <= 37 or 90 <= code <= 97:
                    foreground = code
                elif 40 <= code <= 47 or 100 <= code <= 107:
                    background = code
            if match.group(1) in (b"0", b"") and position + len(match.group(0)) == len(stream):
                reset_at_end = len(match.group(0))
            position = match.end()
            continue
        if stream[position] == 0x1b:
            other += 1  # an escape sequence of another kind: counted as it is
            position += 1
            continue
        byte = stream[position]
        text += 1
        if byte == 0x20:
            need = (None, background)
        elif byte in (0x09, 0x0A, 0x0D):
            need = None
        else:
            need = (foreground, background)
        if need is not None and (not needs or needs[-1] != need):
            needs.append(need)
        position += 1
    colour_needs = [need for need in needs if need[1] is not None or need[0] is not None]
    minimal_colours = minimal_colour_bytes(colour_needs) if colour_needs else 0
    minimal = text + other + clears * len(CLEAR) + minimal_colours + (reset_at_end if minimal_colours else 0)
    return {
        "bytes": len(stream),
        "minimal_bytes": minimal,
        "text_bytes": text,
        "clears": clears,
        "colour_bytes": colour_bytes,
        "minimal_colour_bytes": minimal_colours + (reset_at_end if minimal_colours else 0),
    }


def play_traced(game, seed, pieces, log_path, state_folder):
    """Plays one scripted game on a pty under strace (pauses answered at once),
    keeping its journal in the state folder."""
    argv = ["strace", "-o", log_path, "-qq", "-xx", "-s", "1048576",
            "-e", "trace=openat,read,write,fdatasync,poll,ppoll,pselect6,clock_nanosleep,nanosleep,exit_group",
            "-e", "inject=clock_nanosleep,nanosleep,pselect6:retval=0",
            game, "--seed", str(seed)]
    tracer, master = spawn_on_pty(argv, state_folder)
    try:
        pid = child_of(tracer, game, time.monotonic() + ANSWER_TIMEOUT)
        reads = -1
        for piece in pieces:
            reads = wait_for_prompt(pid, master, reads)
            if reads is None:
                raise RuntimeError(f"seed {seed}: the game ended before its script did")
            os.write(master, piece)
        status = reap(tracer, master, ANSWER_TIMEOUT)
    finally:
        os.close(master)
    if status != 0:
        raise RuntimeError(f"seed {seed}: exit status {status}")
    return parse_strace(log_path)


def journal_stats(stats_tool, folder):
    """What the one journal in the folder holds (tender-bench-journal-stats)."""
    journals = [os.path.join(folder, name) for name in os.listdir(folder) if name.endswith(".journal")]
    if len(journals) != 1:
        raise RuntimeError(f"{len(journals)} journals in {folder}")
    output = subprocess.run([stats_tool, journals[0]], check=True, capture_output=True, text=True).stdout
    return json.loads(output)


def measure_output(game, scripts_path, log_dir, stats_tool):
    games = []
    with open(scripts_path) as handle:
        for line in handle:
            seed, pieces = line.rstrip("\n").split("\t")
            games.append((int(seed), [bytes.fromhex(piece) for piece in pieces.split(" ")]))
    totals = {"games": 0, "keys": 0, "reads": 0, "pauses": 0, "polls": 0, "exits": 0,
              "writes": 0, "blocking_points": 0, "most_writes_in_a_wait": 0,
              "waits_with_several_writes": 0, "bytes": 0, "minimal_bytes": 0,
              "text_bytes": 0, "clears": 0, "colour_bytes": 0, "minimal_colour_bytes": 0,
              "journal_header_writes": 0, "journal_writes": 0, "most_journal_writes_in_a_wait": 0,
              "journal_syncs": 0, "inputs": 0, "home_menus": 0, "journal_bytes": 0, "journal_header_bytes": 0,
              "journal_record_bytes": 0, "journal_paced_record_bytes": 0}
    for seed, pieces in games:
        state_folder = os.path.join(log_dir, f"state-{seed}")
        events = play_traced(game, seed, pieces, os.path.join(log_dir, f"game-{seed}.strace"), state_folder)
        stream = bytearray()
        writes_in_wait = 0
        journal_writes_in_wait = 0
        waited = False
        for kind, data in events:
            if kind == "journal":
                if not waited:  # the header, written before the first wait
                    totals["journal_header_writes"] += 1
                    continue
                totals["journal_writes"] += 1
                journal_writes_in_wait += 1
                totals["most_journal_writes_in_a_wait"] = max(totals["most_journal_writes_in_a_wait"],
                                                              journal_writes_in_wait)
                continue
            if kind == "sync":
                totals["journal_syncs"] += 1
                continue
            if kind == "write":
                totals["writes"] += 1
                writes_in_wait += 1
                stream += data
                continue
            totals[{"read": "reads", "pause": "pauses", "poll": "polls", "exit": "exits"}[kind]] += 1
            totals["blocking_points"] += 1
            totals["most_writes_in_a_wait"] = max(totals["most_writes_in_a_wait"], writes_in_wait)
            totals["waits_with_several_writes"] += writes_in_wait > 1
            writes_in_wait = 0
            journal_writes_in_wait = 0
            waited = True
        if writes_in_wait:  # writes after the last blocking point
            totals["most_writes_in_a_wait"] = max(totals["most_writes_in_a_wait"], writes_in_wait)
            totals["waits_with_several_writes"] += 1
        figures = screen_bytes(bytes(stream))
        for key, value in figures.items():
            totals[key] += value
        totals["games"] += 1
        totals["keys"] += len(pieces)
        held = journal_stats(stats_tool, os.path.join(state_folder, "tender-gamble"))
        totals["inputs"] += held["inputs"]
        totals["home_menus"] += held["home_menus"]
        totals["journal_bytes"] += held["bytes"]
        totals["journal_header_bytes"] += held["header_bytes"]
        totals["journal_record_bytes"] += held["record_bytes"]
        totals["journal_paced_record_bytes"] += held["paced_record_bytes"]
    return totals


# ----------------------------------------------------------------------- idle

def cpu_nanoseconds(pid):
    text = read_proc(pid, "schedstat")
    if text:
        return int(text.split()[0])
    fields = read_proc(pid, "stat").rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) * 1_000_000_000 // os.sysconf("SC_CLK_TCK")


def wakeups(pid):
    count = 0
    for line in (read_proc(pid, "status") or "").splitlines():
        if line.startswith(("voluntary_ctxt_switches", "nonvoluntary_ctxt_switches")):
            count += int(line.split()[1])
    return count


def idle_at_prompt(argv, keys, seconds, line_mode, state_folder):
    """CPU seconds per second, and wake-ups, of argv left waiting for a key
    after `keys` (a list of pieces) were typed. `line_mode` is the terminal
    mode the wait must be in (None: either)."""
    pid, master = spawn_on_pty(argv, state_folder)
    try:
        program = shutil.which(argv[0]) or argv[0]
        deadline = time.monotonic() + ANSWER_TIMEOUT
        while not runs(pid, program):  # pty.fork execs argv in the forked child itself
            if time.monotonic() > deadline:
                raise RuntimeError(f"{program} did not start")
            time.sleep(0.001)
        reads = -1
        for piece in keys:
            reads = wait_for_prompt(pid, master, reads)
            os.write(master, piece)
        wait_for_prompt(pid, master, reads)
        drain(master, 0.05)
        canonical = bool(termios.tcgetattr(master)[3] & termios.ICANON)
        if line_mode is not None and canonical != line_mode:
            raise RuntimeError(f"{argv[0]} waits in the wrong terminal mode")
        cpu_before, wakeups_before = cpu_nanoseconds(pid), wakeups(pid)
        started = time.monotonic()
        time.sleep(seconds)
        elapsed = time.monotonic() - started
        cpu_after, wakeups_after = cpu_nanoseconds(pid), wakeups(pid)
        still_waiting = waiting_for_key(pid)
    finally:
        os.kill(pid, signal.SIGTERM)
        os.waitpid(pid, 0)
        os.close(master)
    if not still_waiting:
        raise RuntimeError(f"{argv[0]} stopped waiting for a key")
    return (cpu_after - cpu_before) / 1e9 / elapsed, wakeups_after - wakeups_before


def measure_idle(game, seconds, state_folder):
    game_argv = [game, "--seed", "1"]
    menu = idle_at_prompt(game_argv, [], seconds, False, state_folder)
    # Trophy Mode, female, seeking females: then the name is typed as a line.
    # The game edits the name's line itself: the terminal stays in key mode.
    name = idle_at_prompt(game_argv, [b"1", b"1", b"1"], seconds, False, state_folder)
    cat = idle_at_prompt(["cat"], [], seconds, None, state_folder)
    return {"seconds": seconds, "menu_cpu": menu[0], "menu_wakeups": menu[1],
            "name_cpu": name[0], "name_wakeups": name[1], "cat_cpu": cat[0], "cat_wakeups": cat[1]}


# -------------------------------------------------------------------- startup

def measure_startup(probe, game, hello, runs, journal_folder=None):
    """Start-up and peak RSS against hello world; with a journal folder, the
    game keeps a journal of each run there, as a game played from a
    terminal does."""
    journal = ["--save-in", journal_folder] if journal_folder else []
    output = subprocess.run([probe, str(runs), *journal, "--", game, "--seed", "1", "--", hello],
                            check=True, capture_output=True, text=True).stdout
    rows = [list(map(int, line.split())) for line in output.splitlines()]
    column = lambda k: [row[k] for row in rows]
    median = lambda k: statistics.median(column(k))
    return {
        "runs": len(rows),
        "game_ms": median(0) / 1e6, "hello_ms": median(3) / 1e6,
        "time_ratio": median(0) / median(3),
        "paired_time_ratio": statistics.median(row[0] / row[3] for row in rows),
        "fastest_time_ratio": min(column(0)) / min(column(3)),
        "game_cpu_ms": median(2) / 1e6, "hello_cpu_ms": median(5) / 1e6,
        "game_kib": median(1), "hello_kib": median(4),
        "rss_ratio": median(1) / median(4),
    }


# ------------------------------------------------------- Google Benchmarks

def benchmark_entries(program, quick, repetitions):
    """The figures a Google Benchmark program reports: each benchmark's run,
    or the median of its repetitions."""
    arguments = [program, "--benchmark_format=json"]
    if quick:
        arguments += ["--benchmark_min_time=0.3"]
    else:
        arguments += ["--benchmark_min_time=1", f"--benchmark_repetitions={repetitions}",
                      "--benchmark_report_aggregates_only=true"]
    report = json.loads(subprocess.run(arguments, check=True, capture_output=True, text=True).stdout)
    entries = []
    for entry in report["benchmarks"]:
        if entry.get("error_occurred"):
            raise RuntimeError(f"{entry['name']}: {entry.get('error_message')}")
        if entry.get("run_type") != "aggregate" or entry.get("aggregate_name") == "median":
            entries.append(entry)
    return entries


def measure_resume(benchmark, quick):
    for entry in benchmark_entries(benchmark, quick, 5):
        scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[entry["time_unit"]]
        return {"milliseconds": entry["real_time"] * scale, "inputs": entry["inputs"],
                "journal_bytes": entry["journal_bytes"]}
    raise RuntimeError("no resume figure")


def measure_engine(engine, quick):
    rates = {}
    for entry in benchmark_entries(engine, quick, 3):
        name = entry.get("run_name", entry["name"]).split("/")[0]
        rates[name] = {"keys_per_second": entry["keys/s"], "keys_per_game": entry.get("keys/game")}
    return rates


# --------------------------------------------------------------------- report

def journal_writes_met(output):
    """Each input in a write of its own: as many writes as inputs, but for
    one last write a game at its exit (a home menu's mark left to go)."""
    return output["inputs"] <= output["journal_writes"] <= output["inputs"] + output["games"]


def machine():
    model = "unknown"
    with open("/proc/cpuinfo") as handle:
        for line in handle:
            if line.startswith("model name"):
                model = line.split(":", 1)[1].strip()
                break
    compiler = subprocess.run(["c++", "--version"], capture_output=True, text=True).stdout.splitlines()
    return {"cpus": os.cpu_count(), "cpu_model": model, "kernel": platform.release(),
            "compiler": compiler[0] if compiler else "unknown"}


def row(figure, measured, baseline, ratio, target, met):
    verdict = "" if met is None else ("ok" if met else "MISSED")
    print(f"  {figure:<30} {measured:>22} {baseline:>24} {ratio:>9}  {target:<10} {verdict}")


def report(results):
    host = results["machine"]
    print(f"\nMachine: {host['cpus']} x {host['cpu_model']}, Linux {host['kernel']}, {host['compiler']}")
    print(f"  {'figure':<30} {'measured':>22} {'baseline':>24} {'ratio':>9}  {'target':<10}")
    output = results.get("output")
    if output:
        ratio = output["writes"] / output["blocking_points"]
        row("writes per blocking point", f"{output['writes']} writes",
            f"{output['blocking_points']} blocking points", f"{ratio:.3f}", "<= 1", ratio <= 1)
        row("most writes in one wait", f"{output['most_writes_in_a_wait']}", "1", "", "<= 1",
            output["most_writes_in_a_wait"] <= 1)
        screens = max(output["clears"], 1)
        ratio = output["bytes"] / output["minimal_bytes"]
        row("bytes per screen", f"{output['bytes'] / screens:.1f} B",
            f"{output['minimal_bytes'] / screens:.1f} B minimal", f"{ratio:.3f}", "~1", None)
        row("colour bytes per screen", f"{output['colour_bytes'] / screens:.1f} B",
            f"{output['minimal_colour_bytes'] / screens:.1f} B minimal",
            f"{output['colour_bytes'] / max(output['minimal_colour_bytes'], 1):.3f}", "", None)
        print(f"    ({output['games']} games, {output['keys']} typed pieces, {output['reads']} key reads, "
              f"{output['pauses']} pauses, {output['polls']} Escape waits, {output['exits']} exits, "
              f"{output['clears']} screens, {output['text_bytes']} text bytes)")
        inputs = max(output["inputs"], 1)
        ratio = output["journal_writes"] / inputs
        row("journal writes per input", f"{output['journal_writes']} writes", f"{output['inputs']} inputs",
            f"{ratio:.3f}", "1", journal_writes_met(output))
        row("most journal writes in one wait", f"{output['most_journal_writes_in_a_wait']}",
            "inputs read in it", "", "", None)
        paced = output["journal_paced_record_bytes"] / inputs
        row("journal bytes per input", f"{paced:.2f} B", "at a player's pace", "", "<= 4", paced <= 4)
        row("  as the script typed", f"{output['journal_record_bytes'] / inputs:.2f} B",
            f"{output['journal_bytes'] / inputs:.2f} B with header", "", "", None)
        print(f"    (journals: {output['journal_header_writes']} header writes of "
              f"{output['journal_header_bytes'] / max(output['games'], 1):.0f} B, {output['home_menus']} home menus, "
              f"{output['journal_syncs']} syncs; a name line is two inputs read in one wait; a player's pace: "
              f"2 s a key, the same bytes as any pause from 0.128 s to 16.4 s)")
    idle = results.get("idle")
    if idle:
        row("idle CPU at the first menu", f"{idle['menu_cpu']:.6f} s/s", f"{idle['seconds']:.1f} s idle",
            f"{idle['menu_cpu']:.6f}", "0", idle["menu_cpu"] < 1e-3)
        row("idle CPU at name entry", f"{idle['name_cpu']:.6f} s/s", f"{idle['seconds']:.1f} s idle",
            f"{idle['name_cpu']:.6f}", "0", idle["name_cpu"] < 1e-3)
        print(f"    (wake-ups while idle: menu {idle['menu_wakeups']}, name entry {idle['name_wakeups']}; "
              f"cat waiting the same way: {idle['cat_cpu']:.6f} s/s, {idle['cat_wakeups']} wake-ups)")
    for key, journal in (("startup", ""), ("startup_journal", ", keeping a journal")):
        startup = results.get(key)
        if not startup:
            continue
        row(f"start-up{journal or ', exec to exit'}", f"{startup['game_ms']:.3f} ms",
            f"{startup['hello_ms']:.3f} ms hello", f"{startup['time_ratio']:.3f}", "<= 1.10",
            startup["time_ratio"] <= 1.10)
        row(f"peak RSS{journal}", f"{startup['game_kib']} KiB", f"{startup['hello_kib']} KiB hello",
            f"{startup['rss_ratio']:.3f}", "<= 1.05", startup["rss_ratio"] <= 1.05)
        print(f"    (medians of {startup['runs']} alternated runs; paired time ratio "
              f"{startup['paired_time_ratio']:.3f}, fastest-run ratio {startup['fastest_time_ratio']:.3f}; "
              f"CPU {startup['game_cpu_ms']:.3f} ms vs {startup['hello_cpu_ms']:.3f} ms)")
    resume = results.get("resume")
    if resume:
        row("resume 10,000 inputs", f"{resume['milliseconds']:.2f} ms",
            f"{resume['journal_bytes'] / resume['inputs']:.2f} B/input", "", "< 20 ms", resume["milliseconds"] < 20)
    engine = results.get("engine")
    if engine:
        games = engine["BM_WholeGames"]["keys_per_second"]
        console = engine["BM_ConsoleKeysOnly"]["keys_per_second"]
        row("engine keys per second", f"{games:,.0f} keys/s", f"{console:,.0f} console only",
            f"{games / console:.3f}", "", None)
        print(f"    ({1e9 / games:.0f} ns of game per key code, {1e9 / console:.1f} ns of that in reading it)")
        recorded = engine.get("BM_WholeGamesRecorded")
        if recorded:
            print(f"    (with the transcript recorded: {recorded['keys_per_second']:,.0f} keys/s; "
                  f"{engine['BM_WholeGames']['keys_per_game']:.0f} key codes per game)")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--game", required=True)
    parser.add_argument("--scripts", help="scripted games, as tender-bench-scripts prints them")
    parser.add_argument("--probe", help="tender-bench-startup")
    parser.add_argument("--hello", help="tender-bench-hello")
    parser.add_argument("--engine", help="tender-bench-engine")
    parser.add_argument("--resume", help="tender-bench-journal")
    parser.add_argument("--journal-stats", help="tender-bench-journal-stats")
    parser.add_argument("--idle-seconds", type=float, default=5.0)
    parser.add_argument("--startup-runs", type=int, default=2000)
    parser.add_argument("--quick", action="store_true")
    parser.add_argument("--json", help="also write the figures here")
    parser.add_argument("--check", action="store_true",
                        help="exit 1 when a target that does not depend on timing is missed")
    arguments = parser.parse_args()

    results = {"machine": machine()}
    failures = []
    with tempfile.TemporaryDirectory(prefix="tender-bench-") as scratch:
        steps = [
            ("output", arguments.scripts and arguments.journal_stats and shutil.which("strace"),
             lambda: measure_output(arguments.game, arguments.scripts, scratch, arguments.journal_stats)),
            ("idle", True, lambda: measure_idle(arguments.game, arguments.idle_seconds, scratch)),
            ("startup", arguments.probe and arguments.hello,
             lambda: measure_startup(arguments.probe, arguments.game, arguments.hello, arguments.startup_runs)),
            ("startup_journal", arguments.probe and arguments.hello,
             lambda: measure_startup(arguments.probe, arguments.game, arguments.hello, arguments.startup_runs,
                                     scratch)),
            ("resume", arguments.resume, lambda: measure_resume(arguments.resume, arguments.quick)),
            ("engine", arguments.engine, lambda: measure_engine(arguments.engine, arguments.quick)),
        ]
        for name, possible, step in steps:
            if not possible:
                print(f"{name}: skipped (a tool is missing)", file=sys.stderr)
                continue
            print(f"measuring {name} ...", file=sys.stderr, flush=True)
            started = time.monotonic()
            try:
                results[name] = step()
            except (RuntimeError, OSError, subprocess.CalledProcessError) as error:
                failures.append(f"{name}: {error}")
                print(f"{name}: FAILED: {error}", file=sys.stderr)
            print(f"  {name} took {time.monotonic() - started:.1f} s", file=sys.stderr)
    report(results)
    if arguments.json:
        with open(arguments.json, "w") as handle:
            json.dump(results, handle, indent=2)
    if failures:
        return 2
    if arguments.check:
        output, idle = results.get("output"), results.get("idle")
        missed = (output and (output["writes"] > output["blocking_points"] or output["most_writes_in_a_wait"] > 1
                              or not journal_writes_met(output)
                              or output["journal_paced_record_bytes"] > 4 * output["inputs"])) \
            or (idle and max(idle["menu_cpu"], idle["name_cpu"]) >= 1e-3)
        return 1 if missed else 0
    return 0


if __name__ == "__main__":
    sys.exit(main())
