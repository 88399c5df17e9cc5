"""Compiled part of the wfconv package; import wfconv instead."""

import mmap
import os
from typing import Union

import numpy
import numpy.typing

# A file's content in memory: anything with the buffer protocol except bytes, which
# names a path, as it does for open().
_Content = Union[bytearray, memoryview, numpy.ndarray, mmap.mmap]
_Path = Union[str, bytes, os.PathLike[str], os.PathLike[bytes]]

class ChannelDescriptor:
    """One channel's fields from the header block."""

    @property
    def start_block(self) -> int:
        """Block where the channel's data begins (the header is block 0); may be zero or negative, which means right after what was read before."""
    @property
    def byte_length(self) -> int:
        """Length of the channel's data in bytes; only whole 256-byte blocks are read, 128 samples each."""
    @property
    def scale(self) -> float:
        """Factor applied to every raw sample (a 32-bit float, exactly)."""
    @property
    def offset(self) -> float:
        """Added after scaling (a 32-bit float, exactly)."""

class WaveformHeader:
    """The decoded header block: one descriptor per channel."""

    @property
    def channel1(self) -> ChannelDescriptor:
        """Channel 1's descriptor."""
    @property
    def channel2(self) -> ChannelDescriptor:
        """Channel 2's descriptor."""

class Waveform:
    """A waveform file's header and both channels' values."""

    @property
    def header(self) -> WaveformHeader:
        """The decoded header block."""
    @property
    def channel1(self) -> numpy.typing.NDArray[numpy.float32]:
        """Channel 1's values: a 1-D float32 numpy array, the values wfconv writes to PATH1.txt."""
    @property
    def channel2(self) -> numpy.typing.NDArray[numpy.float32]:
        """Channel 2's values: a 1-D float32 numpy array, the values wfconv writes to PATH2.txt."""

class TruncatedError(EOFError):
    """The input ended before a sample that a channel needs. .waveform holds the header and the whole samples that arrived; channel2 is empty when channel 1 was cut."""

    waveform: Waveform

def read(source: Union[_Path, _Content]) -> Waveform:
    """Read a waveform file into its header and both channels' values.

    source is a path (str, bytes or os.PathLike) or a bytes-like object other than
    bytes (bytearray, memoryview, a numpy array, mmap) holding a file's content; wrap
    content held in bytes as memoryview(content). Messages call such content <bytes>.

    The values are those the wfconv command writes, bit for bit. The GIL is released
    while reading.

    Raises OSError (the subclass open() would raise, with the path as filename) when
    the file cannot be opened or read, ValueError when it is shorter than one 256-byte
    header block, and TruncatedError when it ends before a sample a channel needs.
    """
