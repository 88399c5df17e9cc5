// SPDX-License-Identifier: MIT
// wfconv's reader for .NET: the C interface (wfconv.h) through P/Invoke, for Mono and for
// .NET 6 or later, on Linux and Windows. Add this file to a project, or build it alone:
//
//   mcs -target:library -out:Wfconv.dll Wfconv.cs        (Mono; Wfconv.dll.config beside it)
//
//   Waveform waveform = Waveform.Read("scope/run7.wfm");  // or Waveform.Read(byte[] content)
//   float[] volts = waveform.Channel1;                     // the values of run7.wfm1.txt, bit for bit
//
// Failures are the exceptions File.OpenRead and a stream would throw; a file that ends early
// throws TruncatedWaveformException, whose Waveform holds what arrived.

using System;
using System.IO;
using System.Runtime.InteropServices;
using System.Text;
#if NETCOREAPP3_0_OR_GREATER
using System.Runtime.Loader;
#endif

namespace Wfconv {

// How a read ended: the values of the C interface's wfconv_outcome.
public enum ReadOutcome { Complete = 0, CannotOpen = 1, TooShort = 2, ReadFailed = 3, EndedEarly = 4 }

// One channel's fields from the header block.
public sealed class ChannelHeader {
    internal ChannelHeader(int startBlock, int byteLength, float scale, float offset) {
        StartBlock = startBlock;
        ByteLength = byteLength;
        Scale = scale;
        Offset = offset;
    }

    public int StartBlock { get; }
    public int ByteLength { get; }
    public float Scale { get; }
    public float Offset { get; }
}

// The decoded header block: one ChannelHeader per channel.
public sealed class WaveformHeader {
    internal WaveformHeader(ChannelHeader channel1, ChannelHeader channel2) {
        Channel1 = channel1;
        Channel2 = channel2;
    }

    public ChannelHeader Channel1 { get; }
    public ChannelHeader Channel2 { get; }
}

// A waveform file's header and both channels' values: exactly those of the command's channel files.
public sealed class Waveform {
    // What messages call content handed over in memory.
    const string ContentName = "<bytes>";
    // A lone surrogate throws rather than becoming U+FFFD, which would name another file.
    static readonly Encoding StrictUtf8 = new UTF8Encoding(false, true);

    static Waveform() {
        Native.PreferRuntimeFile();
    }

    Waveform(ReadOutcome outcome, int cutChannel, WaveformHeader header, float[] channel1, float[] channel2) {
        Outcome = outcome;
        CutChannel = cutChannel;
        Header = header;
        Channel1 = channel1;
        Channel2 = channel2;
    }

    public ReadOutcome Outcome { get; }
    // The channel that ended early, 1 or 2; 0 when none did. Channel2 is empty when it is 1.
    public int CutChannel { get; }
    public WaveformHeader Header { get; }
    public float[] Channel1 { get; }
    public float[] Channel2 { get; }

    // path in any script; it reaches the library as UTF-8, which takes UTF-8 on Windows too.
    public static Waveform Read(string path) {
        if (path == null) throw new ArgumentNullException(nameof(path));
        if (path.Length == 0) throw new ArgumentException("Empty path name is not legal.", nameof(path));
        if (path.IndexOf('\0') >= 0) throw new ArgumentException("Illegal characters in path.", nameof(path));
        return Taken(Native.wfconv_read_file(StrictUtf8.GetBytes(path + "\0")), path, true);
    }

    public static Waveform Read(byte[] content) {
        if (content == null) throw new ArgumentNullException(nameof(content));
        return Taken(Native.wfconv_read_memory(content, new UIntPtr((ulong)content.LongLength)), ContentName, false);
    }

    // Copies the library's waveform out and frees it, then throws for any outcome but complete.
    static Waveform Taken(IntPtr native, string name, bool isPath) {
        if (native == IntPtr.Zero) throw new OutOfMemoryException();
        Native.Waveform got;
        Waveform waveform;
        try {
            got = Marshal.PtrToStructure<Native.Waveform>(native);
            var header = new WaveformHeader(HeaderOf(got.Channel1), HeaderOf(got.Channel2));
            waveform = new Waveform((ReadOutcome)got.Outcome, Native.wfconv_cut_channel(native), header,
                                    Values(got.Channel1), Values(got.Channel2));
        } finally {
            Native.wfconv_free(native);
        }
        switch (waveform.Outcome) {
            case ReadOutcome.Complete:
                return waveform;
            case ReadOutcome.EndedEarly:
                throw new TruncatedWaveformException("Unexpected end of " + name, waveform);
            case ReadOutcome.TooShort:
                throw new InvalidDataException(name + " is shorter than one 256-byte header block");
            case ReadOutcome.CannotOpen:
                throw SystemError.For(got.Error, "Cannot open ", name, isPath);
            case ReadOutcome.ReadFailed:
                throw SystemError.For(got.Error, "Cannot read ", name, isPath);
            default:
                throw new InvalidOperationException("unknown read outcome " + got.Outcome);
        }
    }

    static ChannelHeader HeaderOf(Native.Channel channel) {
        return new ChannelHeader(channel.StartBlock, channel.ByteLength, channel.Scale, channel.Offset);
    }

    static float[] Values(Native.Channel channel) {
        var values = new float[checked((int)channel.Count.ToUInt64())];
        if (values.Length > 0) Marshal.Copy(channel.Values, values, 0, values.Length);
        return values;
    }
}

// The input ended before a sample a channel needs. Waveform holds the header and the whole
// samples that arrived; its CutChannel says which channel ended early.
public sealed class TruncatedWaveformException : EndOfStreamException {
    internal TruncatedWaveformException(string message, Waveform waveform) : base(message) {
        Waveform = waveform;
    }

    public Waveform Waveform { get; }
}

// The exception File.OpenRead would throw for the library's errno, with the system's reason.
static class SystemError {
    const int EPERM = 1, ENOENT = 2, EACCES = 13, ENOTDIR = 20, EISDIR = 21;  // alike on Linux and Windows
    static readonly bool OnWindows = Environment.OSVersion.Platform == PlatformID.Win32NT;
    static readonly int ENAMETOOLONG = OnWindows ? 38 : 36;

    internal static Exception For(int errno, string what, string name, bool isPath) {
        string message = what + name + ": " + Reason(errno);
        if (isPath) {
            // Like File.OpenRead: the file is missing if its directory is there, else the directory.
            if (errno == ENOENT && DirectoryExists(Path.GetDirectoryName(name) ?? "")) {
                return new FileNotFoundException(message, name);
            }
            if (errno == ENOENT || errno == ENOTDIR) return new DirectoryNotFoundException(message);
            if (errno == EACCES || errno == EPERM || errno == EISDIR) return new UnauthorizedAccessException(message);
            if (errno == ENAMETOOLONG) return new PathTooLongException(message);
        }
        return new IOException(message, errno);
    }

    static bool DirectoryExists(string directory) {
        return directory.Length == 0 || Directory.Exists(directory);  // none: the root or the current one
    }

    [DllImport("libc", EntryPoint = "strerror", CallingConvention = CallingConvention.Cdecl)]
    static extern IntPtr UnixStrerror(int errno);

    [DllImport("msvcrt", EntryPoint = "strerror", CallingConvention = CallingConvention.Cdecl)]
    static extern IntPtr WindowsStrerror(int errno);

    static string Reason(int errno) {
        try {
            var text = Marshal.PtrToStringAnsi(OnWindows ? WindowsStrerror(errno) : UnixStrerror(errno));
            if (!string.IsNullOrEmpty(text)) return text;
        } catch (Exception e) when (e is DllNotFoundException || e is EntryPointNotFoundException) {
        }
        return "error " + errno;
    }
}

// The C interface's functions and structs, declared as wfconv.h declares them: natural
// alignment, pointer-sized values and count, so one declaration fits 32-bit and 64-bit.
static class Native {
    // wfconv.dll on Windows; elsewhere the library's runtime file is libwfconv.so.1, which
    // Wfconv.dll.config names for Mono and PreferRuntimeFile for .NET.
    const string Library = "wfconv";

    [StructLayout(LayoutKind.Sequential)]
    internal struct Channel {
        public int StartBlock;
        public int ByteLength;
        public float Scale;
        public float Offset;
        public IntPtr Values;
        public UIntPtr Count;
    }

    [StructLayout(LayoutKind.Sequential)]
    internal struct Waveform {
        public int Outcome;
        public int Error;
        public Channel Channel1;
        public Channel Channel2;
    }

    // The unversioned libwfconv.so comes only with the development files: where the default
    // search fails, .NET takes the runtime file of this major version. An event, unlike a
    // DllImportResolver, leaves the program's own resolver free.
    internal static void PreferRuntimeFile() {
#if NETCOREAPP3_0_OR_GREATER
        var context = AssemblyLoadContext.GetLoadContext(typeof(Native).Assembly) ?? AssemblyLoadContext.Default;
        context.ResolvingUnmanagedDll += (assembly, name) =>
            name == Library && NativeLibrary.TryLoad("libwfconv.so.1", out IntPtr handle) ? handle : IntPtr.Zero;
#endif
    }

    // path: UTF-8 bytes ending in NUL; the default string marshalling is ANSI on Windows.
    [DllImport(Library, CallingConvention = CallingConvention.Cdecl, ExactSpelling = true)]
    internal static extern IntPtr wfconv_read_file(byte[] path);

    [DllImport(Library, CallingConvention = CallingConvention.Cdecl, ExactSpelling = true)]
    internal static extern IntPtr wfconv_read_memory(byte[] data, UIntPtr size);

    [DllImport(Library, CallingConvention = CallingConvention.Cdecl, ExactSpelling = true)]
    internal static extern void wfconv_free(IntPtr waveform);

    [DllImport(Library, CallingConvention = CallingConvention.Cdecl, ExactSpelling = true)]
    internal static extern int wfconv_cut_channel(IntPtr waveform);
}

}  // namespace Wfconv
