# SPDX-License-Identifier: MIT
"""wfconv.read against the command line's channel files and the x87 reference."""

import io
import math
import os
import pathlib
import re
import shutil
import struct
import subprocess
import sys
import types
import zipfile

import numpy as np
import pytest

import wfconv

ROOT = pathlib.Path(__file__).resolve().parents[2]
EXE = os.environ.get("WFCONV_EXE", str(ROOT / "build-dev" / "wfconv"))
EVERY_RAW = np.arange(-32768, 32768)  # 512 blocks


def waveform_file(channels, samples):
    """Header fields at bytes 146-175, then the raw samples; channels hold (start, length, scale bits, offset bits)."""
    header = bytearray(256)
    for k, (start, length, scale, offset) in enumerate(channels):
        struct.pack_into(">hxBHII", header, 146 + 16 * k, start, length >> 16, length & 0xFFFF, scale, offset)
    return bytes(header) + np.asarray(samples, ">i2").tobytes()


def channel_text(values):
    """'%11.4e' CR LF per value, from the exact double, with the command's words for non-finite values."""
    def line(v):
        if math.isfinite(v):
            return "%11.4e\r\n" % v
        return "%11s\r\n" % (("-" if math.copysign(1, v) < 0 else "+") + ("NAN" if math.isnan(v) else "INF"))
    return "".join(map(line, values.tolist())).encode()


def command_files(path, status):
    """Runs the command on path; returns its channel files' bytes (None for one not made)."""
    assert subprocess.run([EXE, str(path)], capture_output=True).returncode == status
    made = [pathlib.Path(f"{path}{k}.txt") for k in (1, 2)]
    return [p.read_bytes() if p.exists() else None for p in made]


def bits(waveform):
    return [waveform.channel1.view(np.uint32), waveform.channel2.view(np.uint32)]


# Scale and offset bits: plain, the double-rounding case (raw 4995 gives 1.0000499),
# non-finite, signed zero, overflow and subnormal results.
PAIRS = [(0x39A3D70A, 0xBC4CCCCD), (0x2D51ECD5, 0x3F8001A3), (0x7F800000, 0), (0x7FC00000, 0x3F800000),
         (0xBF800000, 0x80000000), (0x7F7FFFFF, 0x7F7FFFFF), (0x00012345, 0x80000000)]
EVERY_RAW_FILES = [waveform_file([(1, 0x20000, *PAIRS[i]), (0, 0x20000, *PAIRS[i - 1])],
                                 np.r_[EVERY_RAW, EVERY_RAW[::-1]]) for i in range(len(PAIRS))]
# Blocks 1-4 skipped, channel 1 in blocks 5-6 (767 bytes), channel 2's start behind it, block 8 unread.
WALK_FILE = waveform_file([(5, 767, 0x3F800000, 0), (3, 256, 0x3F000000, 0x3F800000)], np.arange(8 * 128) - 500)


def file_objects(path, content):
    """A binary file object of each kind holding content, at its position, and what messages call it."""
    archive, past_junk = io.BytesIO(), io.BytesIO(b"junk" + content)
    with zipfile.ZipFile(archive, "w") as writer:
        writer.writestr("member.wfm", content)
    past_junk.seek(4)
    return [(open(path, "rb"), str(path)), (zipfile.ZipFile(archive).open("member.wfm"), "member.wfm"),
            (past_junk, "<file>"), (types.SimpleNamespace(readinto=io.BytesIO(content).readinto), "<file>")]


@pytest.mark.parametrize("content", [(ROOT / "examples" / "sine_square.wfm").read_bytes(), WALK_FILE, *EVERY_RAW_FILES],
                         ids=["example", "block walk", *(f"every raw, pair {i}" for i in range(len(PAIRS)))])
def test_values_are_the_command_lines_whatever_the_source(tmp_path, content):
    path = tmp_path / "in.wfm"
    path.write_bytes(content)
    waveform = wfconv.read(str(path))
    assert [channel_text(waveform.channel1), channel_text(waveform.channel2)] == command_files(path, 0)
    assert all(c.dtype == np.float32 and c.ndim == 1 for c in (waveform.channel1, waveform.channel2))
    for source in [path, os.fsencode(path), bytearray(content), memoryview(content), np.frombuffer(content, np.uint8),
                   *(file for file, _ in file_objects(path, content))]:
        again = wfconv.read(source)
        assert repr(again.header) == repr(waveform.header)
        assert all(np.array_equal(a, b) for a, b in zip(bits(again), bits(waveform)))


@pytest.mark.skipif(np.finfo(np.longdouble).nmant != 63, reason="needs x87 extended long double")
@pytest.mark.parametrize("scale, offset", PAIRS)
def test_values_are_the_extended_precision_reference(scale, offset):
    got = wfconv.read(memoryview(waveform_file([(1, 0x20000, scale, offset), (0, 0, 0, 0)], EVERY_RAW))).channel1
    s, o = (np.array([b], np.uint32).view(np.float32).astype(np.longdouble) for b in (scale, offset))
    with np.errstate(all="ignore"):
        want = (EVERY_RAW.astype(np.longdouble) * s + o).astype(np.float32)
    nan = np.isnan(want)
    assert np.array_equal(np.isnan(got), nan) and np.array_equal(np.signbit(got), np.signbit(want))
    assert np.array_equal(got.view(np.uint32)[~nan], want.view(np.uint32)[~nan])


# (file length, channels): cut inside channel 1 after 50 whole samples and an odd byte,
# 1 byte into its second block, before its start, inside channel 2, right after channel 1.
CUTS = [(256 + 101, [(1, 512), (3, 256)]), (2 * 256 + 1, [(1, 512), (3, 256)]), (3 * 256, [(5, 256), (6, 256)]),
        (3 * 256 + 101, [(1, 256), (2, 512)]), (2 * 256, [(1, 256), (4, 256)])]


@pytest.mark.parametrize("end, channels", CUTS)
def test_early_end_keeps_what_the_command_line_keeps(tmp_path, end, channels):
    content = waveform_file([(s, n, 0x38D1B717, 0x3F800000) for s, n in channels], np.arange(7 * 128) * 31 - 9000)[:end]
    path = tmp_path / "cut.wfm"
    path.write_bytes(content)
    files = command_files(path, 3)
    for source, name in [(path, str(path)), (bytearray(content), "<bytes>"), *file_objects(path, content)]:
        with pytest.raises(wfconv.TruncatedError, match="^Unexpected end of " + re.escape(name)) as caught:
            wfconv.read(source)
        assert isinstance(caught.value, EOFError)
        got = caught.value.waveform
        assert got.header.channel1.start_block == channels[0][0]
        assert [channel_text(got.channel1), channel_text(got.channel2)] == [f or b"" for f in files]


def test_failures_raise_what_open_would(tmp_path):
    missing, short = tmp_path / "missing.wfm", tmp_path / "short.wfm"
    short.write_bytes(bytes(255))
    not_utf8 = os.fsencode(tmp_path) + b"/\xff.wfm"  # a POSIX name is bytes, in no encoding
    for source, error, filename in [(missing, FileNotFoundError, str(missing)),
                                    (os.fsencode(missing), FileNotFoundError, os.fsencode(missing)),
                                    (tmp_path, IsADirectoryError, str(tmp_path)),
                                    *[(not_utf8, FileNotFoundError, not_utf8)] * (os.name == "posix")]:
        with pytest.raises(error) as caught:
            wfconv.read(source)
        assert caught.value.filename == filename
    for source, name in [(short, str(short)), (bytearray(), "<bytes>"), (memoryview(bytes(255)), "<bytes>")]:
        with pytest.raises(ValueError, match=re.escape(name)):
            wfconv.read(source)
    with open(ROOT / "examples" / "sine_square.wfm", encoding="utf-8") as text:
        for neither in [256, text]:  # neither a path nor content; a file that gives str
            with pytest.raises(TypeError):
                wfconv.read(neither)


@pytest.mark.skipif(not hasattr(os, "mkfifo"), reason="needs named pipes")
def test_reading_releases_the_gil(tmp_path):
    """A read blocked on a pipe must let the thread that fills the pipe run; a held GIL hangs until the timeout."""
    fifo = tmp_path / "pipe.wfm"
    os.mkfifo(fifo)
    script = ("import sys, threading, wfconv\n"
              "got = []\n"
              "reader = threading.Thread(target=lambda: got.append(wfconv.read(sys.argv[1])))\n"
              "reader.start()\n"
              "with open(sys.argv[1], 'wb') as pipe: pipe.write(bytes.fromhex(sys.argv[2]))\n"
              "reader.join()\n"
              "print(len(got[0].channel1))\n")
    content = waveform_file([(1, 256, 0x3F800000, 0), (0, 0, 0, 0)], np.arange(128)).hex()
    done = subprocess.run([sys.executable, "-c", script, str(fifo), content], capture_output=True, text=True,
                          timeout=60)
    assert done.stdout == "128\n", done.stderr
