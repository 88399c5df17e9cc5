"""Read waveform files into numpy arrays holding exactly the values wfconv writes.

    import wfconv
    waveform = wfconv.read("scope/run7.wfm")
    waveform.channel1          # numpy float32 array, the values of run7.wfm1.txt
    waveform.header.channel1   # start_block, byte_length, scale, offset
"""

import mmap
import os
from typing import Union

import numpy

from ._wfconv import ChannelDescriptor, TruncatedError, Waveform, WaveformHeader, __version__
from ._wfconv import read as _read

__all__ = ["ChannelDescriptor", "TruncatedError", "Waveform", "WaveformHeader", "read"]

_Path = Union[str, bytes, os.PathLike[str], os.PathLike[bytes]]
_Content = Union[bytearray, memoryview, numpy.ndarray, mmap.mmap]


def read(source: Union[_Path, _Content]) -> Waveform:
    """Read a waveform file into its header and both channels' values.

    source is a path (str, bytes or os.PathLike) or a bytes-like object other than
    bytes (bytearray, memoryview, a numpy array, mmap) holding a file's content; bytes
    is a path, as for open(), so wrap content held in bytes as memoryview(content).
    Messages call such content <bytes>.

    The values are those the wfconv command writes, bit for bit. The GIL is released
    while reading.

    Raises OSError (the subclass open() would raise, with the path as filename) when
    the file cannot be opened or read, ValueError when it is shorter than one 256-byte
    header block, and TruncatedError when it ends before a sample a channel needs.
    """
    return _read(source)
