# SPDX-License-Identifier: MIT
"""The C interface's reading of each FILE, for test_wfconv_read.m, in FILE.c, a line each: the
outcome, the system's message or -, the header's fields, channel 1's and channel 2's values; the
numbers as 32-bit patterns, read in place (a Python float would quiet a signalling NaN).
Usage: python3 dump_c_values.py LIBRARY FILE..."""
import ctypes
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "examples", "ctypes_example"))
import wfconv_ctypes  # noqa: E402

library = wfconv_ctypes.load(sys.argv[1])
as_bits = ctypes.POINTER(ctypes.c_uint32)
for path in sys.argv[2:]:
    waveform = library.wfconv_read_file(os.fsencode(path))
    got = waveform.contents
    channels = (got.channel1, got.channel2)
    header = [bits for c in channels for bits in ctypes.cast(ctypes.pointer(c), as_bits)[:4]]
    with open(f"{path}.c", "w", encoding="utf-8") as dump:
        print(library.wfconv_outcome_name(got.outcome).decode(), os.strerror(got.error) if got.error else "-",
              sep="\n", file=dump)
        for numbers in [header, *(ctypes.cast(c.values, as_bits)[:c.count] for c in channels)]:
            print(*numbers, file=dump)
    library.wfconv_free(waveform)
