// SPDX-License-Identifier: MIT
// Wfconv.dll against the C interface (tests/front_ends/dump_waveform.c): by path and as content,
// each file gives the C interface's outcome and bits; what cannot be read, the exception
// File.OpenRead would throw.
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
    static int Main(string[] args) {
        // The seeds hold cut files and one shorter than a header.
        string work = args[1], script = Path.Combine(work, "波形-вольт.wfm");
        Directory.CreateDirectory(work);
        File.Copy(args[2], script, true);
        var expected = new Dictionary<string, Type> {  // by the C interface's outcome, else by path
            {"complete", null}, {"ended_early", typeof(TruncatedWaveformException)},
            {"too_short", typeof(InvalidDataException)}, {Path.Combine(work, "no.wfm"), typeof(FileNotFoundException)},
            {Path.Combine(work, "no", "in.wfm"), typeof(DirectoryNotFoundException)},
            {work, typeof(UnauthorizedAccessException)}};
        string[] paths = args.Skip(2).Concat(expected.Keys.Skip(3).Prepend(script)).ToArray();
        string[] dump = Dump(args[0], paths);
        var failures = new List<string>();
        if (dump[0] != Layout()) failures.Add("struct layout " + Layout() + ", C's " + dump[0]);
        for (int i = 0; i < paths.Length; ++i) {
            string path = paths[i];
            string[] want = dump.Skip(1 + 3 * i).Take(3).ToArray(), outcome = want[0].Split(new[] {' '}, 3);
            bool refused = !expected.ContainsKey(outcome[1]);
            var reads = new Func<Waveform>[] {() => Waveform.Read(path), () => Waveform.Read(File.ReadAllBytes(path))};
            foreach (Func<Waveform> read in reads.Take(refused ? 1 : 2)) {
                Waveform got = null;
                Exception thrown = null;
                try {
                    got = read();
                } catch (TruncatedWaveformException e) {
                    thrown = e;
                    got = e.Waveform;
                } catch (Exception e) {
                    thrown = e;
                }
                if (thrown?.GetType() != expected[refused ? path : outcome[1]]) {
                    failures.Add(path + ": " + want[0] + " but " + thrown);
                } else if (got != null && (((int)got.Outcome).ToString() != outcome[0] ||
                                           Line(got.Header.Channel1, got.Channel1) != want[1] ||
                                           Line(got.Header.Channel2, got.Channel2) != want[2])) {
                    failures.Add(path + ": outcome or values differ from the C interface's");
                } else if (refused && !thrown.Message.EndsWith(path + ": " + outcome[2])) {
                    failures.Add(path + ": message " + thrown.Message);
                }
            }
        }
        failures.ForEach(Console.Error.WriteLine);
        Console.WriteLine("{0} files, {1} failures", paths.Length, failures.Count);
        return failures.Count == 0 ? 0 : 1;
    }

    static string[] Dump(string program, string[] paths) {
        var start = new ProcessStartInfo(program) {UseShellExecute = false, RedirectStandardInput = true,
                                                   RedirectStandardOutput = true};
        using (Process process = Process.Start(start)) {
            byte[] input = Encoding.UTF8.GetBytes(string.Concat(paths.Select(path => path + "\n")));
            process.StandardInput.BaseStream.Write(input, 0, input.Length);
            process.StandardInput.Close();
            return process.StandardOutput.ReadToEnd().Split('\n');
        }
    }

    static string Line(ChannelHeader header, float[] values) {
        var bits = new uint[values.Length + 2];
        Buffer.BlockCopy(new[] {header.Scale, header.Offset}.Concat(values).ToArray(), 0, bits, 0, bits.Length * 4);
        var words = new object[] {header.StartBlock, header.ByteLength, values.Length};
        return string.Join(" ", words.Concat(bits.Select(word => word.ToString("x8"))));
    }

    // Wfconv.dll's private declarations of the C structs, as the dump prints C's.
    static string Layout() {
        Type channel = typeof(Waveform).Assembly.GetType("Wfconv.Native+Channel");
        Type waveform = typeof(Waveform).Assembly.GetType("Wfconv.Native+Waveform");
        return string.Join(" ", Marshal.SizeOf(channel), Marshal.OffsetOf(channel, "Values"),
                           Marshal.OffsetOf(channel, "Count"), Marshal.SizeOf(waveform),
                           Marshal.OffsetOf(waveform, "Channel2"));
    }
}
