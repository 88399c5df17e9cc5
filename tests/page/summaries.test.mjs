// SPDX-License-Identifier: MIT
// The summaries against a plain walk over the samples: any stretch, across bucket edges,
// with zeros of both signs, infinities, NaNs and stretches of nothing but those.
import assert from "node:assert/strict";
import test from "node:test";
import { columnSpans, range, summarise } from "../../web/summaries.mjs";

// The order the page shows: -INF < finite values (-0 before 0) < +INF; NaN is no value.
const below = (a, b) => a < b || (a === b && Object.is(a, -0) && Object.is(b, 0));
function walk(v, from, to) {
  let least = null, greatest = null, nan = false;
  for (const x of v.subarray(from, to)) {
    if (Number.isNaN(x)) { nan = true; continue; }
    if (least === null || below(x, least)) least = x;
    if (greatest === null || below(greatest, x)) greatest = x;
  }
  return { least, greatest, nan };
}
const seen = (span) => ({ least: span.least, greatest: span.greatest, nan: (span.flags & 4) !== 0 });

let seed = 7;
const random = () => (seed = (seed * 1103515245 + 12345) % 2 ** 31) / 2 ** 31;
// `length` samples, about `share` of them taken from `kinds`, the rest finite.
function channel(length, share, kinds = [0, -0, Infinity, -Infinity, NaN]) {
  const v = new Float32Array(length);
  const pick = () => kinds[Math.floor(random() * kinds.length)];
  for (let i = 0; i < length; ++i) v[i] = random() < share ? pick() : (random() - 0.5) * 1e4;
  return v;
}

test("every stretch's least, greatest and NaN equal a walk over its samples", () => {
  // Zeros of one sign and, inside a bucket, one of the other: the bucket's zero must win.
  const zeros = (fill, other) => Object.assign(new Float32Array(1024).fill(fill), { 300: other });
  const rows = [[0, 0], [1, 1], [255, 0.5], [256, 1], [1000, 0.01], [1500, 0.9], [700, 1],
    [900, 1, [0, 0, 0, -0, NaN]], [900, 1, [0, -0, -0, -0, Infinity]], [600, 1, [NaN, Infinity]],
    zeros(0, -0), zeros(-0, 0)];
  for (const row of rows) {
    const v = row instanceof Float32Array ? row : channel(...row), s = summarise(v), length = v.length;
    assert.deepEqual(seen(s.all), walk(v, 0, length), `whole, length ${length}`);
    const edges = [0, 1, 255, 256, 257, 511, 512, 513, length - 1, length].filter((e) => e >= 0 && e <= length);
    for (let k = 0; k < 40; ++k) edges.push(Math.floor(random() * (length + 1)));
    for (const from of edges) for (const to of edges) {
      if (from <= to) assert.deepEqual(seen(range(s, from, to)), walk(v, from, to), `${from}..${to} of ${length}`);
    }
  }
});

test("each pixel column spans its samples and the one before; none past the last", () => {
  const v = channel(3000, 0.2), s = summarise(v);
  for (const [start, perPixel, width] of [[0, 3000 / 700, 700], [100.5, 1.7, 900], [2990, 2.5, 50], [0, 256, 100]]) {
    const columns = columnSpans(s, start, perPixel, width);
    assert.equal(columns.length, Math.min(width, Math.ceil((3000 - start) / perPixel - 1e-9)), `${start} ${perPixel}`);
    columns.forEach((span, c) => {
      const from = Math.floor(start + c * perPixel), to = Math.min(3000, Math.floor(start + (c + 1) * perPixel));
      assert.deepEqual(seen(span), walk(v, Math.max(0, from - 1), to), `column ${c}`);
    });
  }
});
