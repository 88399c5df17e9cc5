# SPDX-License-Identifier: MIT
"""Compiled part of the wfconv package; import wfconv instead."""

import numpy
import numpy.typing

__version__: str

class ChannelDescriptor:
    """One channel's fields from the header block."""

    @property
    def start_block(self) -> int:
        """Block where the channel's data begins (the header is block 0);
        one at or behind the blocks read before means right after them."""
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
    """The input ended before a sample that a channel needs.

    .waveform holds the header and the whole samples that arrived; its channel2 is
    empty when channel 1 was cut."""

    waveform: Waveform

def read(source: object, name: str = "<bytes>") -> Waveform:
    """The compiled reader behind wfconv.read."""
