# SPDX-License-Identifier: MIT
"""wfconv's C interface from Python's standard ctypes: no compiled glue, only the shared
library (libwfconv.so.1; wfconv.dll on Windows).

    import wfconv_ctypes
    library = wfconv_ctypes.load("libwfconv.so.1")
    outcome, error, (channel1, channel2) = wfconv_ctypes.read(library, "examples/sine_square.wfm")
    channel1["scale"], channel1["values"][:3]  # the values of sine_square.wfm1.txt, as array('f')
    wfconv_ctypes.read_memory(library, content)  # the same for a file's content in bytes
"""

import array
import ctypes
import os


class Channel(ctypes.Structure):
    _fields_ = [("start_block", ctypes.c_int32), ("byte_length", ctypes.c_int32), ("scale", ctypes.c_float),
                ("offset", ctypes.c_float), ("values", ctypes.POINTER(ctypes.c_float)), ("count", ctypes.c_size_t)]


class Waveform(ctypes.Structure):
    _fields_ = [("outcome", ctypes.c_int), ("error", ctypes.c_int), ("channel1", Channel), ("channel2", Channel)]


def load(path):
    """The shared library, with the argument and result types of its functions."""
    library = ctypes.CDLL(str(path))
    library.wfconv_read_file.argtypes = [ctypes.c_char_p]
    library.wfconv_read_file.restype = ctypes.POINTER(Waveform)
    library.wfconv_read_memory.argtypes = [ctypes.c_void_p, ctypes.c_size_t]
    library.wfconv_read_memory.restype = ctypes.POINTER(Waveform)
    library.wfconv_free.argtypes = [ctypes.POINTER(Waveform)]
    library.wfconv_free.restype = None
    library.wfconv_outcome_name.argtypes = [ctypes.c_int]
    library.wfconv_outcome_name.restype = ctypes.c_char_p
    library.wfconv_version.argtypes = []
    library.wfconv_version.restype = ctypes.c_char_p
    return library


def read(library, path):
    """(outcome name, errno, [channel 1, channel 2]) of a file; each channel a dict of its
    header fields and its values, copied bit for bit into an array('f')."""
    return _taken(library, library.wfconv_read_file(os.fsencode(path)))  # UTF-8, on Windows too


def read_memory(library, content):
    """The same for a file's content in memory (bytes)."""
    return _taken(library, library.wfconv_read_memory(content, len(content)))


def _taken(library, waveform):
    """What read() returns, copied out of the library's waveform, which it then frees."""
    if not waveform:
        raise MemoryError
    try:
        got = waveform.contents
        channels = []
        for channel in (got.channel1, got.channel2):
            values = array.array("f")
            if channel.count:
                values.frombytes(ctypes.string_at(channel.values, channel.count * values.itemsize))
            channels.append({"start_block": channel.start_block, "byte_length": channel.byte_length,
                             "scale": channel.scale, "offset": channel.offset, "values": values})
        return library.wfconv_outcome_name(got.outcome).decode(), got.error, channels
    finally:
        library.wfconv_free(waveform)
