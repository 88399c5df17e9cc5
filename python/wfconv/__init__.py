# SPDX-License-Identifier: MIT
"""Read waveform files into numpy arrays holding exactly the values wfconv writes.

    import wfconv
    waveform = wfconv.read("scope/run7.wfm")
    waveform.channel1          # numpy float32 array, the values of run7.wfm1.txt
    waveform.header.channel1   # start_block, byte_length, scale, offset
"""

import errno
import io
import mmap
import os
from typing import BinaryIO, Union

import numpy

from ._wfconv import ChannelDescriptor, TruncatedError, Waveform, WaveformHeader, __version__
from ._wfconv import read as _read

__all__ = ["ChannelDescriptor", "TruncatedError", "Waveform", "WaveformHeader", "read"]

_Path = Union[str, bytes, os.PathLike[str], os.PathLike[bytes]]
_Content = Union[bytearray, memoryview, numpy.ndarray, mmap.mmap]
_File = Union[BinaryIO, io.RawIOBase, io.BufferedIOBase]

# What messages call a file object that has no name.
_UNNAMED = "<file>"


def read(source: Union[_Path, _Content, _File]) -> Waveform:
    """Read a waveform file into its header and both channels' values.

    source is a path (str, bytes or os.PathLike) or a bytes-like object other than
    bytes (bytearray, memoryview, a numpy array, mmap) holding a file's content; bytes
    is a path, as for open(), so wrap content held in bytes as memoryview(content).
    Messages call such content <bytes>. source may also be a binary file object (one
    with read or readinto: open(path, "rb"), io.BytesIO, a zip or tar member), read
    from its position to its end; messages call it by its name, or <file>.

    The values are those the wfconv command writes, bit for bit. The GIL is released
    while reading.

    Raises OSError (the subclass open() would raise, with the path as filename) when
    the file cannot be opened or read, ValueError when it is shorter than one 256-byte
    header block, and TruncatedError when it ends before a sample a channel needs.
    """
    if _is_file_object(source):
        return _read(memoryview(_rest_of(source)), _name_of(source))
    return _read(source)


def _is_file_object(source: object) -> bool:
    """Whether source is read through read or readinto: not a path, and not bytes-like (mmap has read too)."""
    if isinstance(source, (str, bytes, os.PathLike)) or not (hasattr(source, "read") or hasattr(source, "readinto")):
        return False
    try:
        memoryview(source).release()  # type: ignore[arg-type]
    except TypeError:
        return True
    return False


def _rest_of(file) -> Union[bytes, bytearray]:
    """What a binary file object holds from its position to its end."""
    if isinstance(file, io.TextIOBase):
        raise TypeError("read() takes a binary file object; open the file with mode 'rb'")
    if hasattr(file, "read"):
        content = file.read()
    else:
        content, chunk = bytearray(), bytearray(1 << 16)
        while count := file.readinto(chunk):
            content += memoryview(chunk)[:count]
        if count is None:
            content = None
    if content is None:  # a non-blocking file with nothing to give yet: its end is still to come
        raise BlockingIOError(errno.EAGAIN, "the file object has no data yet; read() reads it to its end")
    return content


def _name_of(file) -> str:
    """What messages call a file object: its name where it has one (open()'s name of a descriptor is an int)."""
    name = getattr(file, "name", None)
    return os.fsdecode(name) if isinstance(name, (str, bytes, os.PathLike)) else _UNNAMED
