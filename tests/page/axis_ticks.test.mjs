// SPDX-License-Identifier: MIT
// Axis ticks: labels worked out by hand from the rule (the finest 1-2-5 step that leaves the
// spacing, unless it gives fewer than 3 ticks), and over many ranges, labels that read back
// as exactly their tick's value, evenly spaced, within the range.
import assert from "node:assert/strict";
import test from "node:test";
import { axisTicks } from "../../web/axis_ticks.mjs";

test("ticks and labels, worked out by hand", () => {
  const rows = [
    [[0, 1, 300, 30], ["0", "0.1", "0.2", "0.3", "0.4", "0.5", "0.6", "0.7", "0.8", "0.9", "1"]],
    [[-2.6, 2.6, 200, 30], ["-2", "-1", "0", "1", "2"]],
    [[-0.5, 2047.5, 1049, 120, true], ["0", "500", "1000", "1500", "2000"]],
    [[1e6, 5e6, 300, 30], ["1e6", "1.5e6", "2e6", "2.5e6", "3e6", "3.5e6", "4e6", "4.5e6", "5e6"]],
    [[0, 2e-4, 300, 30], ["0", "2e-5", "4e-5", "6e-5", "8e-5", "1e-4", "1.2e-4", "1.4e-4", "1.6e-4", "1.8e-4", "2e-4"]],
    [[0, 3, 0, 100], ["0", "1", "2", "3"]],   // step 2 gives only two: the finer step stays
    [[1.5, 3.5, 0, 100, true], ["2", "3"]],   // no step below 1 for sample indices
    [[1, 1, 300, 30], []], [[2, 1, 300, 30], []], [[0, NaN, 300, 30], []], [[0, Infinity, 300, 30], []],
  ];
  for (const [args, labels] of rows) assert.deepEqual(axisTicks(...args).labels, labels, args.join(" "));
});

test("labels read back as their values, evenly spaced within the range", () => {
  for (const [lo, hi] of [[-3.3e-7, 9.1e-6], [0.001, 0.0017], [-1e9, 3e12], [-2.5062, 2.5009], [-5e-3, 5e-3]]) {
    for (const room of [50, 215, 1049]) {
      const { values, labels } = axisTicks(lo, hi, room, 30);
      assert.ok(values.length >= 3 && values[0] >= lo && values.at(-1) <= hi, `${lo} ${hi} ${room}`);
      const step = (values.at(-1) - values[0]) / (values.length - 1);
      values.forEach((value, i) => {
        assert.ok(Number(labels[i]) === value, `${labels[i]} for ${value}`);
        assert.ok(Math.abs(value - values[0] - i * step) <= 1e-9 * step, `${labels[i]} in ${labels.join(" ")}`);
      });
    }
  }
});
