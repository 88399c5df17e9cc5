// SPDX-License-Identifier: MIT
// Summaries of a channel's values, so that a redraw reads a few hundred thousand numbers
// rather than 8 million samples: each bucket's least and greatest, and which kinds of
// non-finite value it holds. Pure: numbers in, numbers out.

const kBucket = 256;  // samples summarised together, so that a redraw reads summaries, not samples
// The kinds of non-finite value, as bits of a span's flags.
export const kPlusInf = 1;
export const kMinusInf = 2;
export const kNan = 4;

// Least and greatest finite value of a stretch of samples, and the kinds of non-finite
// ones in it. Of equal zeros -0 is the lesser: the two have different lines.
export class Span {
  constructor() { this.reset(); }
  reset() { this.lo = Infinity; this.hi = -Infinity; this.flags = 0; return this; }
  get finite() { return this.lo <= this.hi; }

  add(v, from, to) {
    let { lo, hi, flags } = this;
    for (let i = from; i < to; ++i) {
      const x = v[i];
      if (x - x === 0) {
        if (x < lo || (x === lo && Object.is(x, -0))) lo = x;
        if (x > hi || (x === hi && Object.is(x, 0))) hi = x;
      } else {
        flags |= x !== x ? kNan : x > 0 ? kPlusInf : kMinusInf;
      }
    }
    Object.assign(this, { lo, hi, flags });
    return this;
  }

  // Another span's figures; a lo or hi of NaN stands for no finite value.
  merge(lo, hi, flags) {
    if (lo < this.lo || (lo === this.lo && Object.is(lo, -0))) this.lo = lo;
    if (hi > this.hi || (hi === this.hi && Object.is(hi, 0))) this.hi = hi;
    this.flags |= flags;
    return this;
  }

  // The least and greatest value that is not a NaN, or null.
  get least() {
    return this.flags & kMinusInf ? -Infinity : this.finite ? this.lo : this.flags & kPlusInf ? Infinity : null;
  }
  get greatest() {
    return this.flags & kPlusInf ? Infinity : this.finite ? this.hi : this.flags & kMinusInf ? -Infinity : null;
  }
}

// A channel's spans of kBucket samples each, and the span of the whole channel.
export function summarise(v) {
  const buckets = Math.ceil(v.length / kBucket);
  const s = {
    v, lo: new Float32Array(buckets).fill(NaN), hi: new Float32Array(buckets).fill(NaN), flags: new Uint8Array(buckets),
    all: new Span(),
  };
  const bucket = new Span();
  for (let b = 0; b < buckets; ++b) {
    bucket.reset().add(v, b * kBucket, Math.min(v.length, (b + 1) * kBucket));
    if (bucket.finite) { s.lo[b] = bucket.lo; s.hi[b] = bucket.hi; }
    s.flags[b] = bucket.flags;
    s.all.merge(s.lo[b], s.hi[b], bucket.flags);
  }
  return s;
}

// The span of samples from .. to - 1, whole buckets from their summaries.
export function range(s, from, to) {
  const first = Math.ceil(from / kBucket), last = Math.floor(to / kBucket);
  const span = new Span();
  if (first >= last) return span.add(s.v, from, to);
  span.add(s.v, from, first * kBucket);
  for (let b = first; b < last; ++b) span.merge(s.lo[b], s.hi[b], s.flags[b]);
  return span.add(s.v, last * kBucket, to);
}

// The span under each of `width` pixel columns, `perPixel` (> 1) samples each from sample
// `start`, with the sample before each column, so that columns join; none past the last sample.
export function columnSpans(s, start, perPixel, width) {
  const columns = [];
  for (let c = 0; c < width; ++c) {
    const from = Math.floor(start + c * perPixel), to = Math.min(s.v.length, Math.floor(start + (c + 1) * perPixel));
    if (from >= to) break;
    columns.push(range(s, Math.max(0, from - 1), to));
  }
  return columns;
}
