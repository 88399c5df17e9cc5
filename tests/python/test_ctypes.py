"""The C interface through ctypes (examples/ctypes_example) against the module, bit for bit."""

import os
import sys

import pytest

import wfconv
from test_read import ROOT, WALK_FILE

sys.path.insert(0, str(ROOT / "examples" / "ctypes_example"))
import wfconv_ctypes  # noqa: E402

LIBRARY = wfconv_ctypes.load(os.environ.get("WFCONV_SHARED_LIBRARY", ROOT / "build-dev" / "src" / "libwfconv.so.1"))


def test_version_is_the_modules():
    assert LIBRARY.wfconv_version().decode() == wfconv.__version__


# The walk over skipped blocks, and the same cut 50.5 samples into channel 2.
@pytest.mark.parametrize("content", [WALK_FILE, WALK_FILE[:7 * 256 + 101]], ids=["block walk", "cut"])
def test_values_and_header_are_the_modules(tmp_path, content):
    path = tmp_path / "in.wfm"
    path.write_bytes(content)
    try:
        want, want_outcome = wfconv.read(path), "complete"
    except wfconv.TruncatedError as early:
        want, want_outcome = early.waveform, "ended_early"
    outcome, error, channels = wfconv_ctypes.read(LIBRARY, path)
    assert (outcome, error) == (want_outcome, 0)
    for got, header, values in [(channels[0], want.header.channel1, want.channel1),
                                (channels[1], want.header.channel2, want.channel2)]:
        assert got["values"].tobytes() == values.tobytes()
        assert [got[field] for field in ("start_block", "byte_length", "scale", "offset")] == [
            header.start_block, header.byte_length, header.scale, header.offset]


def test_missing_file_is_the_modules_error(tmp_path):
    with pytest.raises(FileNotFoundError) as caught:
        wfconv.read(tmp_path / "missing.wfm")
    outcome, error, channels = wfconv_ctypes.read(LIBRARY, tmp_path / "missing.wfm")
    assert (outcome, error) == ("cannot_open", caught.value.errno)
    assert [len(channel["values"]) for channel in channels] == [0, 0]
