#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Times wfconv-csv against the cost of the bytes it writes, alternating in every round.

  csv_race.py WORK_DIR WFCONV_CSV [ROUNDS [BATCH_ROUNDS]]

WORK_DIR holds largest.wfm and batch/ (make_waveform). Two races:
- the largest file: wfconv-csv against `dd bs=64k` copying its finished CSV into a fresh
  file, the cost of writing those bytes at all;
- the 2,000 small files: one wfconv-csv run over all against one run per file, two at a
  time (`xargs -0 -n1 -P2`), as the README converts many files with wfconv.
Every output is removed, and the disk cache synced, before each timed run."""

import os
import pathlib
import resource
import statistics
import subprocess
import sys
import time


def timed(argv, **kwargs):
    """Wall and CPU seconds (user and system, of everything the run started)."""
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.perf_counter()
    subprocess.run(argv, check=True, **kwargs)
    wall = time.perf_counter() - start
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    return wall, (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)


def race(name, contestants, rounds, clear):
    """contestants: (name, run) pairs; run() returns (wall, cpu). Prints medians and the ratio."""
    times = {who: [] for who, _ in contestants}
    for r in range(rounds):
        for who, run in contestants[r % 2:] + contestants[:r % 2]:
            clear()
            times[who].append(run())
    walls = {who: statistics.median(w for w, _ in t) for who, t in times.items()}
    cpus = {who: statistics.median(c for _, c in t) for who, t in times.items()}
    (first, _), (second, _) = contestants
    print(f"{name} ({rounds} rounds, load {os.getloadavg()[0]:.1f}):")
    for who in times:
        print(f"  {who:12} wall {walls[who]:.3f} s (least {min(w for w, _ in times[who]):.3f}), CPU {cpus[who]:.3f} s")
    print(f"  {first}/{second}: wall {walls[first] / walls[second]:.2f}, CPU {cpus[first] / cpus[second]:.2f}")


def main():
    work, program = pathlib.Path(sys.argv[1]), sys.argv[2]
    rounds = int(sys.argv[3]) if len(sys.argv) > 3 else 7
    batch_rounds = int(sys.argv[4]) if len(sys.argv) > 4 else 5
    largest, reference = work / "largest.wfm.csv", work / "reference.csv"
    subprocess.run([program, str(work / "largest.wfm")], check=True)
    largest.replace(reference)

    def clear_largest():
        largest.unlink(missing_ok=True)
        os.sync()

    race("largest file to CSV", [
        ("wfconv-csv", lambda: timed([program, str(work / "largest.wfm")])),
        ("dd", lambda: timed(["dd", f"if={reference}", f"of={largest}", "bs=64k", "status=none"])),
    ], rounds, clear_largest)
    reference.unlink()

    batch = sorted((work / "batch").glob("*.wfm"))
    names = b"".join(bytes(p) + b"\0" for p in batch)

    def clear_batch():
        for p in batch:
            pathlib.Path(f"{p}.csv").unlink(missing_ok=True)
        os.sync()

    race(f"{len(batch)} small files", [
        ("one run", lambda: timed([program, *map(str, batch)])),
        ("run per file", lambda: timed(["xargs", "-0", "-n1", "-P2", program], input=names)),
    ], batch_rounds, clear_batch)
    clear_batch()


if __name__ == "__main__":
    main()
