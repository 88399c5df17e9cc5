# SPDX-License-Identifier: MIT
"""The C interface through ctypes (examples/ctypes_example) against the module, bit for bit."""

import errno
import os
import sys

import pytest

import wfconv
from test_read import ROOT, WALK_FILE

sys.path.insert(0, str(ROOT / "examples" / "ctypes_example"))
import wfconv_ctypes  # noqa: E402

LIBRARY = wfconv_ctypes.load(os.environ.get("WFCONV_SHARED_LIBRARY", ROOT / "build-dev" / "src" / "c_api" / "libwfconv.so.1"))


# The walk over skipped blocks, the same cut 50.5 samples into channel 2, and no file.
@pytest.mark.parametrize("content", [WALK_FILE, WALK_FILE[:7 * 256 + 101], None], ids=["block walk", "cut", "missing"])
def test_what_arrives_is_the_modules(tmp_path, content):
    path = tmp_path / "in.wfm"
    if content is not None:
        path.write_bytes(content)
    try:
        want, want_outcome = wfconv.read(path), ("complete", 0)
    except wfconv.TruncatedError as early:
        want, want_outcome = early.waveform, ("ended_early", 0)
    except FileNotFoundError as missing:  # nothing arrives: zero header fields, no values
        want, want_outcome = wfconv.read(memoryview(bytes(256))), ("cannot_open", missing.errno)
    outcome, error, channels = wfconv_ctypes.read(LIBRARY, path)
    assert (outcome, error) == want_outcome
    assert [[c[field] for field in ("start_block", "byte_length", "scale", "offset")] for c in channels] == [
        [d.start_block, d.byte_length, d.scale, d.offset] for d in (want.header.channel1, want.header.channel2)]
    assert [c["values"].tobytes() for c in channels] == [want.channel1.tobytes(), want.channel2.tobytes()]
    assert LIBRARY.wfconv_version().decode() == wfconv.__version__
    if content is not None:
        assert wfconv_ctypes.read_memory(LIBRARY, content) == (outcome, error, channels)


def test_null_is_refused():
    for waveform in [LIBRARY.wfconv_read_file(None), LIBRARY.wfconv_read_memory(None, 256)]:
        assert (waveform.contents.outcome, waveform.contents.error) == (1, errno.EINVAL)  # cannot_open
        LIBRARY.wfconv_free(waveform)
