"""The C interface's reading of each FILE, for test_wfconv_read.m: FILE.c holds its outcome, the
system's message for its error (or -), then as 32-bit patterns the header's fields (read in place:
a trip through a Python float would quiet a signalling NaN) and each channel's values, a line each.

    python3 dump_c_values.py LIBRARY FILE...
"""
import ctypes
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "examples", "ctypes_example"))
import wfconv_ctypes  # noqa: E402

library = wfconv_ctypes.load(sys.argv[1])
for path in sys.argv[2:]:
    waveform = library.wfconv_read_file(os.fsencode(path))
    got = waveform.contents
    lines = [library.wfconv_outcome_name(got.outcome).decode(), os.strerror(got.error) if got.error else "-", []]
    for channel in (got.channel1, got.channel2):
        lines[2] += ctypes.cast(ctypes.pointer(channel), ctypes.POINTER(ctypes.c_uint32))[:4]
        lines.append(ctypes.cast(channel.values, ctypes.POINTER(ctypes.c_uint32))[:channel.count])
    library.wfconv_free(waveform)
    with open(f"{path}.c", "w", encoding="utf-8") as dump:
        dump.writelines((line if isinstance(line, str) else " ".join(map(str, line))) + "\n" for line in lines)
