#!/usr/bin/env python3
"""Fills a state folder with the scripted games, each kept in its journal
by the game itself (played through a pipe with --save), then times
`--games` over it: the median and the slowest of the runs, wall clock.
Run through bench/games-list, which builds what this needs."""

import argparse
import os
import statistics
import subprocess
import time


def scripted_games(path):
    with open(path) as lines:
        for line in lines:
            seed, pieces = line.rstrip("\n").split("\t")
            yield int(seed), b"".join(bytes.fromhex(piece) for piece in pieces.split(" "))


def keep_games(game, scripts, folder):
    os.makedirs(folder, mode=0o700)
    inputs = 0
    for number, (seed, keys) in enumerate(scripted_games(scripts), start=1):
        journal = os.path.join(folder, f"game-{number:03}.journal")
        subprocess.run([game, "--seed", str(seed), "--save", journal], input=keys,
                       stdout=subprocess.DEVNULL, check=True)
        inputs += len(keys)
    return number, inputs


def time_listing(game, environment, runs):
    times = []
    for _ in range(runs):
        start = time.perf_counter()
        listing = subprocess.run([game, "--games"], env=environment, capture_output=True, check=True)
        times.append(time.perf_counter() - start)
    return times, listing.stdout.decode()


def main():
    options = argparse.ArgumentParser(description=__doc__)
    options.add_argument("--game", required=True)
    options.add_argument("--scripts", required=True)
    options.add_argument("--state", required=True)
    options.add_argument("--runs", type=int, default=7)
    arguments = options.parse_args()

    games, keys = keep_games(arguments.game, arguments.scripts, os.path.join(arguments.state, "tender-gamble"))
    environment = dict(os.environ, XDG_STATE_HOME=arguments.state)
    times, listing = time_listing(arguments.game, environment, arguments.runs)
    damaged = listing.count("damaged")
    print(f"--games over {games} journals ({keys} bytes typed, {keys / games:.0f} a game), "
          f"{arguments.runs} runs: median {statistics.median(times) * 1000:.1f} ms, "
          f"slowest {max(times) * 1000:.1f} ms, target 500 ms; {damaged} listed as damaged")


if __name__ == "__main__":
    main()
