// SPDX-License-Identifier: MIT
// The plot: one canvas per channel, sample index across, value up.
//
// It is drawn by hand on canvases rather than with a plotting library: a library given
// 8 million points per channel draws or decimates them all on every redraw, while here each
// pixel column's least and greatest come from the channel's summaries, so a redraw reads a
// few hundred thousand numbers, and the page carries no vendored code.

import { axisTicks } from "./axis_ticks.mjs";
import { core, values } from "./load_module.mjs";
import { canvases, plot, shown } from "./page_parts.mjs";
import { kMargin, layout } from "./plot_layout.mjs";
import { describe, placeLabels } from "./plot_text.mjs";
import { columnSpans, kMinusInf, kNan, kPlusInf, range } from "./summaries.mjs";

// Least CSS pixels between ticks: a value label's height twice over, a long sample label's width.
const kValueSpacing = 30, kSampleSpacing = 120;

let drawPending = false;
export function redraw() {
  if (drawPending) return;
  drawPending = true;
  requestAnimationFrame(() => { drawPending = false; draw(); });
}

export function draw() {
  if (plot.hidden || !core.memory) return;
  const started = performance.now();
  canvases.forEach((canvas, i) => drawChannel(canvas, i + 1));
  plot.dataset.drawMs = (performance.now() - started).toFixed(2);
}

function drawChannel(canvas, channel) {
  const g = layout(canvas);
  const ctx = canvas.getContext("2d");
  const s = shown.summaries[channel - 1];
  // Views of the module's memory go blank when it grows (a value's text may grow it).
  const fresh = () => { if (s.v.buffer !== core.memory.buffer) s.v = values(channel); };
  fresh();
  const { start, end } = shown;
  const perPixel = (end - start) / g.plotWidth;
  const n = s.v.length;
  const style = getComputedStyle(document.documentElement);
  const colour = (name) => style.getPropertyValue(name);
  ctx.clearRect(0, 0, g.width, g.height);

  // Least and greatest per pixel column.
  const columns = perPixel > 1 ? columnSpans(s, start, perPixel, g.plotWidth) : [];
  // The samples in view set the scale (only their finite values) and the text alternative.
  const first = Math.max(0, Math.floor(start)), last = Math.min(n, Math.ceil(end));
  const inView = range(s, first, Math.max(first, last));
  describe(channel, n, first, last, inView);
  fresh();
  let lo = inView.lo, hi = inView.hi;
  // A flat or empty channel gets a band around it.
  if (!(lo <= hi)) { lo = -1; hi = 1; }
  if (lo === hi) { const pad = Math.abs(lo) / 10 || 1; lo -= pad; hi += pad; }
  const margin = (hi - lo) * 0.05;
  lo -= margin; hi += margin;
  const y = (value) => g.top + (hi - value) / (hi - lo) * g.plotHeight;
  const x = (index) => g.left + (index + 0.5 - start) / (end - start) * g.plotWidth;

  // Grid lines behind the data, a frame, and the labels (elements over the canvas).
  const valueTicks = axisTicks(lo, hi, g.plotHeight / g.ratio, kValueSpacing);
  const sampleTicks = axisTicks(start - 0.5, end - 0.5, g.plotWidth / g.ratio, kSampleSpacing, true);
  ctx.lineWidth = 1;
  ctx.strokeStyle = colour("--grid");
  ctx.beginPath();
  for (const value of valueTicks.values) {
    const at = Math.round(y(value)) + 0.5;
    ctx.moveTo(g.left, at); ctx.lineTo(g.left + g.plotWidth, at);
  }
  for (const index of sampleTicks.values) {
    const at = Math.round(x(index)) + 0.5;
    ctx.moveTo(at, g.top); ctx.lineTo(at, g.top + g.plotHeight);
  }
  ctx.stroke();
  ctx.strokeStyle = colour("--frame");
  ctx.strokeRect(g.left + 0.5, g.top + 0.5, g.plotWidth, g.plotHeight);
  const box = canvas.parentElement;
  box.querySelector(".title").style.left = `${kMargin.left}px`;
  const ticks = box.querySelector(".ticks");
  placeLabels(ticks, channel, "ytick", valueTicks, (value) => [kMargin.left - 6, y(value) / g.ratio]);
  const below = (g.top + g.plotHeight) / g.ratio + 6;
  placeLabels(ticks, channel, "xtick", sampleTicks, (index) => [x(index) / g.ratio, below]);

  const markSize = 5 * g.ratio;
  const marks = { [kPlusInf]: [], [kMinusInf]: [], [kNan]: [] };
  ctx.save();
  ctx.fillStyle = ctx.strokeStyle = colour("--trace");
  if (perPixel > 1) {
    columns.forEach((r, c) => {
      if (r.lo <= r.hi) {
        const top = Math.floor(y(r.hi));
        ctx.fillRect(g.left + c, top, 1, Math.max(1, Math.ceil(y(r.lo)) - top));
      }
      for (const flag of [kPlusInf, kMinusInf, kNan]) if (r.flags & flag) marks[flag].push(g.left + c);
    });
  } else {
    ctx.beginPath();
    ctx.rect(g.left, g.top, g.plotWidth + 1, g.plotHeight + 1);
    ctx.clip();
    ctx.lineWidth = Math.max(1, g.ratio);
    ctx.beginPath();
    let joined = false;
    const from = Math.max(0, Math.floor(start) - 1), to = Math.min(n, Math.ceil(end) + 1);
    const dots = 1 / perPixel >= 6;
    for (let i = from; i < to; ++i) {
      const value = s.v[i];
      if (value - value !== 0) {
        joined = false;
        marks[value !== value ? kNan : value > 0 ? kPlusInf : kMinusInf].push(x(i));
        continue;
      }
      if (joined) ctx.lineTo(x(i), y(value)); else ctx.moveTo(x(i), y(value));
      joined = true;
    }
    ctx.stroke();
    if (dots) {
      for (let i = from; i < to; ++i) {
        if (s.v[i] - s.v[i] === 0) ctx.fillRect(x(i) - 2 * g.ratio, y(s.v[i]) - 2 * g.ratio, 4 * g.ratio, 4 * g.ratio);
      }
    }
    if (shown.hover >= from && shown.hover < to) {
      ctx.strokeStyle = colour("--cursor");
      ctx.beginPath();
      ctx.moveTo(x(shown.hover), g.top);
      ctx.lineTo(x(shown.hover), g.top + g.plotHeight);
      ctx.stroke();
    }
  }
  ctx.restore();

  // Non-finite values: marks on the edges, never points on the scale.
  ctx.fillStyle = colour("--inf");
  for (const at of marks[kPlusInf]) triangle(ctx, at, g.top, markSize, 1);
  for (const at of marks[kMinusInf]) triangle(ctx, at, g.top + g.plotHeight, markSize, -1);
  ctx.fillStyle = colour("--nan");
  const nanTop = g.top + g.plotHeight + 2 * g.ratio;
  for (const at of marks[kNan]) ctx.fillRect(at - 1, nanTop, Math.max(2, 2 * g.ratio), markSize / 2);
}

// Its tip on the edge, pointing out of the plot: up for +INF, down for -INF.
function triangle(ctx, at, edge, size, inward) {
  ctx.beginPath();
  ctx.moveTo(at, edge);
  ctx.lineTo(at - size / 2, edge + inward * size);
  ctx.lineTo(at + size / 2, edge + inward * size);
  ctx.fill();
}
