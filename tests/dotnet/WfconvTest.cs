// Wfconv.dll against the C interface (dump_waveform): the same outcome and the same bits for
// every file, read by path and as content, and the exceptions File.OpenRead would throw.
//
//   mono WfconvTest.exe DUMP_WAVEFORM WORK_DIRECTORY EXAMPLE FILE...

using System;
using System.Collections.Generic;
using System.Diagnostics;
using System.IO;
using System.Linq;
using System.Runtime.InteropServices;
using System.Text;
using Wfconv;

static class WfconvTest {
    static int failures;

    static void Check(bool ok, string what) {
        if (ok) return;
        Console.Error.WriteLine("FAILED: " + what);
        ++failures;
    }

    static int Main(string[] args) {
        string dump = args[0], work = args[1], example = args[2];
        Directory.CreateDirectory(work);
        string cut = Path.Combine(work, "cut.wfm"), script = Path.Combine(work, "波形-вольт.wfm");
        File.WriteAllBytes(cut, File.ReadAllBytes(example).Take(5683).ToArray());  // 25.5 samples into block 3
        File.Copy(example, script, true);
        string[] readable = args.Skip(2).Concat(new[] {cut, script}).ToArray();

        // Unreadable paths and the exception each must throw.
        var refused = new Dictionary<string, Type> {
            {Path.Combine(work, "missing.wfm"), typeof(FileNotFoundException)},
            {Path.Combine(work, "missing", "in.wfm"), typeof(DirectoryNotFoundException)},
            {work, typeof(UnauthorizedAccessException)},  // a directory
        };
        string[] layout;
        List<string[]> wanted = RunDump(dump, readable.Concat(refused.Keys), out layout);

        string cLayout = string.Join(" ", layout);
        Check(cLayout == NativeLayout(), "struct layout " + NativeLayout() + ", C's " + cLayout);
        for (int i = 0; i < readable.Length; ++i) {
            string[] want = wanted[i];
            string outcome = want[0].Split(' ')[0];
            Type type = outcome == "complete" ? null
                      : outcome == "ended_early" ? typeof(TruncatedWaveformException)
                      : outcome == "too_short" ? typeof(InvalidDataException) : typeof(void);  // no other here
            string path = readable[i];
            byte[] content = File.ReadAllBytes(path);
            foreach (var read in new Func<Waveform>[] {() => Waveform.Read(path), () => Waveform.Read(content)}) {
                Exception thrown;
                string[] got = Outcome(read, out thrown);
                    Check((thrown == null ? null : thrown.GetType()) == type, path + ": " + want[0] + " but " + thrown);
                Check(got == null || got.SequenceEqual(want), path + ": values differ from the C interface's");
            }
        }
        int k = readable.Length;
        foreach (var entry in refused) {
            string reason = wanted[k++][0].Split(new[] {' '}, 3)[2];
            Exception thrown;
            Outcome(() => Waveform.Read(entry.Key), out thrown);
            Check(thrown != null && thrown.GetType() == entry.Value, entry.Key + ": " + thrown);
            Check(thrown != null && thrown.Message.EndsWith(entry.Key + ": " + reason), "message of " + thrown);
            var missing = thrown as FileNotFoundException;
            Check(missing == null || missing.FileName == entry.Key, "FileName of " + thrown);
        }
        Console.WriteLine((failures == 0 ? "passed: " : "failed: ") + (readable.Length * 2 + refused.Count) + " reads");
        return failures == 0 ? 0 : 1;
    }

    // The dump's three lines per path, after its line of the structs' layout.
    static List<string[]> RunDump(string dump, IEnumerable<string> paths, out string[] layout) {
        var start = new ProcessStartInfo(dump, "--layout") {
            UseShellExecute = false, RedirectStandardInput = true, RedirectStandardOutput = true,
        };
        string output;
        using (Process process = Process.Start(start)) {
            byte[] input = Encoding.UTF8.GetBytes(string.Concat(paths.Select(p => p + "\n")));
            process.StandardInput.BaseStream.Write(input, 0, input.Length);
            process.StandardInput.Close();
            output = process.StandardOutput.ReadToEnd();
            process.WaitForExit();
            if (process.ExitCode != 0) throw new Exception(dump + " failed");
        }
        string[] lines = output.TrimEnd('\n').Split('\n');
        layout = lines[0].Split(' ');
        var dumps = new List<string[]>();
        for (int i = 1; i < lines.Length; i += 3) dumps.Add(lines.Skip(i).Take(3).ToArray());
        return dumps;
    }

    // What a read gave, in the dump's form; null when it threw with no waveform.
    static string[] Outcome(Func<Waveform> read, out Exception thrown) {
        thrown = null;
        Waveform waveform;
        try {
            waveform = read();
        } catch (TruncatedWaveformException e) {
            thrown = e;
            waveform = e.Waveform;
        } catch (Exception e) {
            thrown = e;
            return null;
        }
        string outcome = waveform.Outcome == ReadOutcome.Complete ? "complete"
                       : waveform.Outcome == ReadOutcome.EndedEarly ? "ended_early" : waveform.Outcome.ToString();
        return new[] {outcome + " 0", Line(waveform.Header.Channel1, waveform.Channel1),
                      Line(waveform.Header.Channel2, waveform.Channel2)};
    }

    static string Line(ChannelHeader header, float[] values) {
        var bits = new uint[values.Length];
        Buffer.BlockCopy(values, 0, bits, 0, values.Length * 4);
        var words = new[] {header.StartBlock.ToString(), header.ByteLength.ToString(), Bits(header.Scale),
                           Bits(header.Offset), values.Length.ToString()};
        return string.Join(" ", words.Concat(bits.Select(b => b.ToString("x8"))));
    }

    static string Bits(float value) {
        return BitConverter.ToUInt32(BitConverter.GetBytes(value), 0).ToString("x8");
    }

    // Wfconv.dll's private declarations of wfconv_channel and wfconv_waveform, as the dump prints C's.
    static string NativeLayout() {
        Type channel = typeof(Waveform).Assembly.GetType("Wfconv.Native+Channel", true);
        Type waveform = typeof(Waveform).Assembly.GetType("Wfconv.Native+Waveform", true);
        Func<Type, string, int> offset = (type, field) => (int)Marshal.OffsetOf(type, field);
        return string.Join(" ", new[] {Marshal.SizeOf(channel), offset(channel, "Values"), offset(channel, "Count"),
                                       Marshal.SizeOf(waveform), offset(waveform, "Error"),
                                       offset(waveform, "Channel1"), offset(waveform, "Channel2")});
    }
}
