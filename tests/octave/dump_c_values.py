"""What the C interface reads from each file, for the Octave test to hold wfconv_read to:
FILE.c1 and FILE.c2, each channel's values as raw float32; FILE.c.txt, the outcome, the
system's message for the error (or -) and the header's fields, floats as their bits (read
from the struct: a trip through a Python float would quiet a signalling NaN).

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
    fields = []
    for number, channel in enumerate((got.channel1, got.channel2), 1):
        with open(f"{path}.c{number}", "wb") as values:
            values.write(ctypes.string_at(channel.values, channel.count * 4) if channel.count else b"")
        bits = [ctypes.c_uint32.from_address(ctypes.addressof(channel) + getattr(wfconv_ctypes.Channel, name).offset)
                for name in ("scale", "offset")]
        fields += [channel.start_block, channel.byte_length, bits[0].value, bits[1].value]
    reason = os.strerror(got.error) if got.error else "-"
    with open(f"{path}.c.txt", "w", encoding="utf-8") as text:
        text.write(f"{library.wfconv_outcome_name(got.outcome).decode()}\n{reason}\n{' '.join(map(str, fields))}\n")
    library.wfconv_free(waveform)
