# SPDX-License-Identifier: MIT
"""wfconv.read of the largest waveform file against the numpy one-liner that reads the
samples directly: time, peak memory, and how many values the one-liner gets wrong.

    python bench/python_read_bench.py [--rounds N] [FILE]

Run it with the Python that has wfconv installed (README, "From Python"). FILE is a
waveform file whose channel 2 follows channel 1 directly, as bench/make_waveform's
largest.wfm does; without it, a file with the same signals and scaling is written to a
temporary directory (numpy's noise instead of make_waveform's).
"""

import argparse
import os
import pathlib
import statistics
import struct
import subprocess
import sys
import tempfile
import time

import numpy as np

import wfconv

BLOCKS = 0xFFFFFF // 256  # the 24-bit length field's whole blocks
SAMPLES = BLOCKS * 128


def header(channels):
    """Block 0 with (start block, byte length, scale, offset) for each channel."""
    block = bytearray(256)
    for k, (start, length, scale, offset) in enumerate(channels):
        struct.pack_into(">hxBHff", block, 146 + 16 * k, start, length >> 16, length & 0xFFFF, scale, offset)
    return bytes(block)


def write_largest(path):
    """make_waveform's signals: a sine over almost the whole 16-bit range, and a slowly
    rising tone, both with noise of +-40 counts."""
    t = np.arange(SAMPLES, dtype=np.float64)
    noise = np.random.default_rng(2463534242).integers(-40, 41, size=(2, SAMPLES))
    tones = [32000.0 * np.sin(2 * np.pi * t / 997.0), 21000.0 * np.sin(2 * np.pi * t * (1.0 + t / 2.0e7) / 1543.0)]
    with open(path, "wb") as out:
        # Channel 2's start block lies inside channel 1's data, so it follows it directly.
        out.write(header([(1, 0xFFFFFF, 0.0003125, -0.0125), (2, 0xFFFFFF, 1.52590219e-4, 2.5)]))
        for tone, jitter in zip(tones, noise):
            value = np.clip(tone + jitter, -32768, 32767)
            out.write((np.sign(value) * np.floor(np.abs(value) + 0.5)).astype(">i2").tobytes())  # lround


def one_liner(path, head):
    """The issue's numpy one-liner per channel, taking the data as lying right after the header."""
    channels = []
    offset = 256
    for channel in (head.channel1, head.channel2):
        count = channel.byte_length // 256 * 128
        raw = np.fromfile(path, ">i2", count=count, offset=offset)
        channels.append(raw.astype(np.float32) * channel.scale + channel.offset)
        offset += 2 * count
    return channels


def timed(function):
    start = time.perf_counter()
    function()
    return time.perf_counter() - start


PEAK = """
import resource, sys
import numpy, wfconv
def status_kib(field):
    with open('/proc/self/status') as status:
        return next(int(line.split()[1]) for line in status if line.startswith(field + ':'))
try:
    before = status_kib('VmRSS')
    peak = lambda: status_kib('VmHWM')
except OSError:
    before = resource.getrusage(resource.RUSAGE_SELF).ru_maxrss
    peak = lambda: resource.getrusage(resource.RUSAGE_SELF).ru_maxrss
waveform = wfconv.read(sys.argv[1])
print(peak() - before, (waveform.channel1.nbytes + waveform.channel2.nbytes) // 1024)
"""


def peak_memory(path):
    """Peak resident growth of one read in a fresh process over its size once numpy and
    wfconv are imported, and the arrays' size, in KiB. On Linux it comes from VmHWM:
    ru_maxrss would keep this process's high-water mark across fork and exec."""
    done = subprocess.run([sys.executable, "-c", PEAK, str(path)], capture_output=True, text=True, check=True)
    growth, arrays = map(int, done.stdout.split())
    return growth, arrays


def text(value):
    return "%11.4e" % value


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("file", nargs="?", type=pathlib.Path)
    parser.add_argument("--rounds", type=int, default=11)
    args = parser.parse_args()

    with tempfile.TemporaryDirectory() as scratch:
        path = args.file
        if path is None:
            path = pathlib.Path(scratch) / "largest.wfm"
            write_largest(path)
        exact = wfconv.read(path)  # also warms the page cache
        quick = one_liner(path, exact.header)
        values = exact.channel1.size + exact.channel2.size
        print(f"file: {path} ({path.stat().st_size:,} bytes, {values:,} values); load average {os.getloadavg()[0]:.2f}")

        times = {"wfconv.read": [], "numpy one-liner": []}
        for round_ in range(args.rounds):
            order = list(times) if round_ % 2 == 0 else list(times)[::-1]
            for name in order:
                call = (lambda: wfconv.read(path)) if name == "wfconv.read" else (lambda: one_liner(path, exact.header))
                times[name].append(timed(call))
        median = {name: statistics.median(runs) for name, runs in times.items()}
        print(f"time, median (minimum) of {args.rounds} alternating rounds:")
        for name, runs in times.items():
            print(f"  {name:<16} {median[name] * 1e3:7.1f} ms ({min(runs) * 1e3:.1f})")
        print(f"  ratio            {median['wfconv.read'] / median['numpy one-liner']:7.2f}x  (target: at most 1.5x)")

        growth, arrays = peak_memory(path)
        print(f"peak memory of wfconv.read in a fresh process: {growth / 1024:.1f} MiB for {arrays / 1024:.1f} MiB "
              f"of arrays, {(growth - arrays) / 1024:.1f} MiB beyond them (target: at most 8 MiB)")

        wrong = 0
        wrong_text = 0
        for good, fast in zip((exact.channel1, exact.channel2), quick):
            differ = np.flatnonzero(good.view(np.uint32) != fast.view(np.uint32))
            wrong += differ.size
            wrong_text += sum(text(good[i]) != text(fast[i]) for i in differ)
        print(f"one-liner values that differ from wfconv's: {wrong:,} of {values:,} "
              f"({wrong_text:,} of them also in the %11.4e line)")

    # The double-rounding case: raw 4995, scale bits 2D51ECD5, offset bits 3F8001A3.
    scale, offset = struct.unpack(">ff", bytes.fromhex("2D51ECD5 3F8001A3"))
    every_raw = np.arange(-32768, 32768, dtype=">i2")
    content = header([(1, every_raw.nbytes, scale, offset), (0, 0, 0.0, 0.0)]) + every_raw.tobytes()
    good = wfconv.read(memoryview(content)).channel1
    fast = every_raw.astype(np.float32) * scale + offset
    at = 4995 + 32768
    print(f"raw 4995, scale 2D51ECD5, offset 3F8001A3: wfconv {good[at]:.8g} ('{text(good[at])}'), "
          f"one-liner {fast[at]:.8g} ('{text(fast[at])}')")
    print(f"  with that scale and offset, the one-liner differs on "
          f"{np.count_nonzero(good.view(np.uint32) != fast.view(np.uint32)):,} of the 65,536 raw values")


if __name__ == "__main__":
    main()
