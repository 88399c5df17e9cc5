"""Read waveform files into numpy arrays holding exactly the values wfconv writes.

    import wfconv
    waveform = wfconv.read("scope/run7.wfm")
    waveform.channel1          # numpy float32 array, the values of run7.wfm1.txt
    waveform.header.channel1   # start_block, byte_length, scale, offset

read() takes a path or a file's content in memory; see its docstring for the
errors it raises.
"""

from ._wfconv import ChannelDescriptor, TruncatedError, Waveform, WaveformHeader, read

__all__ = ["ChannelDescriptor", "TruncatedError", "Waveform", "WaveformHeader", "read"]
