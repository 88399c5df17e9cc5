// SPDX-License-Identifier: MIT
// The page's script: hands a chosen file to the module (the library and the command's
// text, compiled from src/), shows what it gives back, plots the values it holds and
// makes a channel file's text, in pieces, only when it is asked for.
//
// The plot is drawn by hand on canvases rather than with a plotting library: a library
// given 8 million points per channel draws or decimates them all on every redraw, while
// here each pixel column's least and greatest come from summaries of 256 samples, so a
// redraw reads a few hundred thousand numbers, and the page carries no vendored code.

const kLineSize = 13;  // a channel line: "%11.4e" and CR LF
const kBucket = 256;   // samples summarised together, so that a redraw reads summaries, not samples
const kMinSpan = 4;    // the closest zoom: four samples across the plot
const kPlusInf = 1, kMinusInf = 2, kNan = 4;
// Around the plotted part of a canvas, in CSS pixels: room for the value labels at the left,
// the title above, the NaN marks and the sample labels below, and half a sample label at the right.
const kMargin = { left: 80, top: 20, bottom: 24, right: 24 };
// Least CSS pixels between ticks: a value label's height twice over, a long sample label's width.
const kValueSpacing = 30, kSampleSpacing = 120;

const $ = (selector) => document.querySelector(selector);
const input = $("input[type=file]");
const plot = $("[data-testid=plot]");
const area = $("[data-testid=plot-area]");
const canvases = [...plot.querySelectorAll("canvas")];
const rows = [...$("#channels tbody").rows];
const encoder = new TextEncoder();
const decoder = new TextDecoder();

let core = null;  // the module's exports
const ready = WebAssembly.instantiate(Uint8Array.from(atob(MODULE), (c) => c.charCodeAt(0)), {})
  .then(({ instance }) => { core = instance.exports; core._initialize(); });

// What is shown: the file's name, each channel's summaries, and the part in view.
const shown = { name: "", loads: 0, summaries: [null, null], start: 0, end: 1, total: 1, hover: -1 };

function bytesAt(at, size) { return new Uint8Array(core.memory.buffer, at, size); }
function text(size) { return decoder.decode(bytesAt(core.text_data(), size)); }
// A fresh view each time: the module's memory moves when it grows.
function values(channel) {
  return new Float32Array(core.memory.buffer, core.channel_data(channel), core.channel_size(channel));
}
function lineOf(channel, index) { return decoder.decode(bytesAt(core.make_lines(channel, index, 1), kLineSize - 2)); }
// A value as its channel file writes it.
function valueText(value) { return text(core.make_line(value)).trim(); }

// Least and greatest finite value of a stretch of samples, and the kinds of non-finite
// ones in it. Of equal zeros -0 is the lesser: the two have different lines.
class Span {
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
function summarise(v) {
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
function range(s, from, to) {
  const first = Math.ceil(from / kBucket), last = Math.floor(to / kBucket);
  const span = new Span();
  if (first >= last) return span.add(s.v, from, to);
  span.add(s.v, from, first * kBucket);
  for (let b = first; b < last; ++b) span.merge(s.lo[b], s.hi[b], s.flags[b]);
  return span.add(s.v, last * kBucket, to);
}

async function show(file) {
  try {
    await read(file);
  } catch (error) {
    $("[data-testid=message]").textContent = `${file.name} could not be shown: ${error.message}`;
  }
}

async function read(file) {
  const started = performance.now();
  // Only as much of the file as the header's data reaches, as the command reads it.
  const head = new Uint8Array(await file.slice(0, 256).arrayBuffer());
  await ready;
  bytesAt(core.first_block_data(), head.length).set(head);
  const needed = head.length < 256 ? head.length : core.bytes_needed();
  const bytes = new Uint8Array(await file.slice(0, needed).arrayBuffer());
  const at = core.allocate(bytes.length);
  if (!at) throw new Error("not enough memory");
  bytesAt(at, bytes.length).set(bytes);
  core.read_file(at, bytes.length);

  shown.name = file.name;
  const name = encoder.encode(file.name);
  bytesAt(core.name_buffer(name.length), name.length).set(name);
  $("[data-testid=message]").textContent = text(core.make_message());
  const report = text(core.make_report());
  $("[data-testid=report]").textContent = report;
  $("#name").textContent = file.name;
  $(".plot-name").textContent = file.name;
  document.title = `${file.name} - wfconv`;

  const hasHeader = report !== "";
  $("#channels").hidden = !hasHeader;
  for (const channel of [1, 2]) {
    const cells = rows[channel - 1].cells;
    const summary = summarise(values(channel));
    shown.summaries[channel - 1] = summary;
    cells[1].textContent = core.channel_blocks(channel).toLocaleString("en");
    cells[2].textContent = core.channel_size(channel).toLocaleString("en");
    cells[3].textContent = summary.all.least === null ? "none" : text(core.make_line(summary.all.least));
    cells[4].textContent = summary.all.greatest === null ? "none" : text(core.make_line(summary.all.greatest));
    const button = cells[5].firstElementChild;
    button.disabled = !core.has_file(channel);
    button.textContent = button.disabled ? "not written" : `${file.name}${channel}.txt`;
  }
  shown.total = Math.max(1, core.channel_size(1), core.channel_size(2));
  shown.start = 0;
  shown.end = shown.total;
  plot.hidden = !hasHeader;
  draw();
  shown.loads += 1;
  document.body.dataset.loads = shown.loads;
  document.body.dataset.shownMs = (performance.now() - started).toFixed(1);
}

// --- The plot: one canvas per channel, sample index across, value up.

function layout(canvas) {
  const ratio = window.devicePixelRatio || 1;
  const width = Math.round(canvas.clientWidth * ratio), height = Math.round(canvas.clientHeight * ratio);
  if (canvas.width !== width || canvas.height !== height) { canvas.width = width; canvas.height = height; }
  const left = Math.round(kMargin.left * ratio), top = Math.round(kMargin.top * ratio);
  const plotWidth = width - left - Math.round(kMargin.right * ratio);
  return { ratio, width, height, left, top, plotWidth, plotHeight: height - top - Math.round(kMargin.bottom * ratio) };
}

let drawPending = false;
function redraw() {
  if (drawPending) return;
  drawPending = true;
  requestAnimationFrame(() => { drawPending = false; draw(); });
}

function draw() {
  if (plot.hidden || !core) return;
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

  // Least and greatest per pixel column (with the sample before it, so that columns join).
  const columns = [];
  if (perPixel > 1) {
    for (let c = 0; c < g.plotWidth; ++c) {
      const from = Math.floor(start + c * perPixel), to = Math.min(n, Math.floor(start + (c + 1) * perPixel));
      if (from >= to) break;
      columns.push(range(s, Math.max(0, from - 1), to));
    }
  }
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

// One element per tick label, kept from redraw to redraw; place(value) gives its CSS pixels.
function placeLabels(box, channel, kind, ticks, place) {
  const old = box.querySelectorAll(`[data-testid=${kind}]`);
  ticks.labels.forEach((label, i) => {
    let element = old[i];
    if (!element) {
      element = box.appendChild(document.createElement("span"));
      Object.assign(element.dataset, { testid: kind, channel });
    }
    if (element.textContent !== label) element.textContent = label;
    const [left, top] = place(ticks.values[i]);
    element.style.left = `${left}px`;
    element.style.top = `${top}px`;
  });
  for (let i = ticks.labels.length; i < old.length; ++i) old[i].remove();
}

// The plot's text alternative: the channel, the samples in view, their least and greatest.
function describe(channel, n, first, last, span) {
  let about = `Channel ${channel}: `;
  if (n === 0) {
    about += "no samples.";
  } else {
    about += `samples ${first} to ${last - 1} of ${n} in view; `;
    about += span.least === null ? "all NAN." : `least ${valueText(span.least)}, greatest ${valueText(span.greatest)}`;
    if (span.least !== null) about += span.flags & kNan ? ", and NAN." : ".";
  }
  const element = $(`#about${channel}`);
  if (element.textContent !== about) element.textContent = about;
}

// Its tip on the edge, pointing out of the plot: up for +INF, down for -INF.
function triangle(ctx, at, edge, size, inward) {
  ctx.beginPath();
  ctx.moveTo(at, edge);
  ctx.lineTo(at - size / 2, edge + inward * size);
  ctx.lineTo(at + size / 2, edge + inward * size);
  ctx.fill();
}

// --- Zoom, pan, keys and hover. Both channels share the one view.

// The sample position under a pointer's x, from 0 at the plot's left edge.
function positionAt(canvas, clientX) {
  const g = layout(canvas);
  const px = (clientX - canvas.getBoundingClientRect().left) * g.ratio - g.left;
  return shown.start + Math.min(Math.max(px / g.plotWidth, 0), 1) * (shown.end - shown.start);
}

function zoomTo(start, end) {
  let span = Math.min(shown.total, Math.max(kMinSpan, end - start));
  start = Math.min(Math.max(0, start), shown.total - span);
  shown.start = start;
  shown.end = start + span;
  redraw();
}

// factor < 1 zooms in; the position `at` stays where it is.
function zoomAround(at, factor) { zoomTo(at - (at - shown.start) * factor, at + (shown.end - at) * factor); }
function moveBy(samples) { zoomTo(shown.start + samples, shown.end + samples); }
function resetZoom() { zoomTo(0, shown.total); }

let drag = null;
const selection = $("#selection");
for (const canvas of canvases) {
  canvas.addEventListener("wheel", (event) => {
    event.preventDefault();
    zoomAround(positionAt(canvas, event.clientX), event.deltaY > 0 ? 1.25 : 0.8);
  }, { passive: false });
  canvas.addEventListener("mousedown", (event) => {
    const pan = event.button === 1 || (event.button === 0 && event.shiftKey);
    if (!pan && event.button !== 0) return;
    event.preventDefault();  // no text selection, no middle-button scrolling
    area.focus({ preventScroll: true });
    drag = { canvas, pan, fromX: event.clientX, from: positionAt(canvas, event.clientX), start: shown.start };
  });
  canvas.addEventListener("mousemove", (event) => hover(canvas, event));
  canvas.addEventListener("mouseleave", () => { shown.hover = -1; redraw(); });
  canvas.addEventListener("dblclick", resetZoom);
}
window.addEventListener("mousemove", (event) => {
  if (!drag) return;
  if (drag.pan) {
    const g = layout(drag.canvas);
    moveBy(drag.start - shown.start - (event.clientX - drag.fromX) * g.ratio / g.plotWidth * (shown.end - shown.start));
    return;
  }
  const box = plot.getBoundingClientRect(), canvasBox = drag.canvas.getBoundingClientRect();
  Object.assign(selection.style, {
    left: `${Math.min(drag.fromX, event.clientX) - box.left}px`, width: `${Math.abs(event.clientX - drag.fromX)}px`,
    top: `${canvasBox.top - box.top}px`, height: `${canvasBox.height}px`,
  });
  selection.hidden = Math.abs(event.clientX - drag.fromX) < 4;
});
window.addEventListener("mouseup", (event) => {
  if (!drag) return;
  const to = positionAt(drag.canvas, event.clientX);
  if (!drag.pan && Math.abs(event.clientX - drag.fromX) >= 4) zoomTo(Math.min(drag.from, to), Math.max(drag.from, to));
  drag = null;
  selection.hidden = true;
});
area.addEventListener("keydown", (event) => {
  if (event.ctrlKey || event.metaKey || event.altKey || plot.hidden) return;
  const span = shown.end - shown.start, middle = (shown.start + shown.end) / 2;
  const action = {
    "+": () => zoomAround(middle, 0.8), "=": () => zoomAround(middle, 0.8), "-": () => zoomAround(middle, 1.25),
    ArrowLeft: () => moveBy(-span / 10), ArrowRight: () => moveBy(span / 10), Home: resetZoom,
  }[event.key];
  if (!action) return;
  event.preventDefault();
  action();
});
$("#reset").addEventListener("click", resetZoom);
window.addEventListener("resize", redraw);
matchMedia("(prefers-color-scheme: dark)").addEventListener("change", redraw);

// Once each sample has a pixel of its own: its index and both channels' lines.
function hover(canvas, event) {
  const readout = $("#readout");
  const g = layout(canvas);
  if ((shown.end - shown.start) > g.plotWidth) {
    readout.textContent = "Zoom in to single samples to read them.";
    if (shown.hover !== -1) { shown.hover = -1; redraw(); }
    return;
  }
  const index = Math.floor(positionAt(canvas, event.clientX));
  const parts = [`sample ${index}`];
  for (const channel of [1, 2]) {
    if (index < core.channel_size(channel)) parts.push(`channel ${channel}: ${lineOf(channel, index)}`);
  }
  readout.textContent = parts.join("   ");
  if (shown.hover !== index) { shown.hover = index; redraw(); }
}

// --- The channel files and the picture: made on the click; the blob holds the only copy.

function offer(blob, name) {
  const url = URL.createObjectURL(blob);
  const link = document.createElement("a");
  link.href = url;
  link.download = name;
  document.body.append(link);
  link.click();
  link.remove();
  // The download has its own reference by now; the page lets go of the blob soon.
  setTimeout(() => URL.revokeObjectURL(url), 60_000);
}

// A piece at a time, so that the text never exists whole in the module's memory.
function save(channel) {
  const count = core.channel_size(channel), piece = core.lines_per_piece();
  const parts = [];
  for (let first = 0; first < count; first += piece) {
    const lines = Math.min(piece, count - first);
    parts.push(new Blob([bytesAt(core.make_lines(channel, first, lines), lines * kLineSize)]));
  }
  offer(new Blob(parts, { type: "text/plain" }), `${shown.name}${channel}.txt`);
}

// The plot area as shown, at the device's pixel ratio: its background, the canvases, and
// the text laid over them (the file's name, the titles, the tick labels).
function savePicture() {
  const ratio = window.devicePixelRatio || 1;
  const box = area.getBoundingClientRect();
  const picture = document.createElement("canvas");
  picture.width = Math.round(box.width * ratio);
  picture.height = Math.round(box.height * ratio);
  const ctx = picture.getContext("2d");
  ctx.fillStyle = getComputedStyle(document.body).backgroundColor;
  ctx.fillRect(0, 0, picture.width, picture.height);
  for (const canvas of canvases) {
    const at = canvas.getBoundingClientRect();
    ctx.drawImage(canvas, Math.round((at.left - box.left) * ratio), Math.round((at.top - box.top) * ratio));
  }
  ctx.textBaseline = "middle";
  for (const element of area.querySelectorAll(".plot-name, .title, .ticks span")) {
    const at = element.getBoundingClientRect(), look = getComputedStyle(element);
    ctx.font = `${look.fontWeight} ${parseFloat(look.fontSize) * ratio}px ${look.fontFamily}`;
    ctx.fillStyle = look.color;
    ctx.fillText(element.textContent, (at.left - box.left) * ratio, (at.top + at.height / 2 - box.top) * ratio);
  }
  picture.toBlob((png) => offer(png, `${shown.name}.png`), "image/png");
}

rows.forEach((row, i) => row.querySelector("button").addEventListener("click", () => save(i + 1)));
$("[data-testid=save-png]").addEventListener("click", savePicture);

// --- Choosing a file: the button or a drop anywhere on the page.

// Cleared once taken, so that choosing the same file again (rewritten, say) shows it again.
input.addEventListener("change", () => {
  if (!input.files.length) return;
  const file = input.files[0];
  input.value = "";
  show(file);
});
document.addEventListener("dragover", (event) => { event.preventDefault(); document.body.classList.add("dragging"); });
document.addEventListener("dragleave", () => document.body.classList.remove("dragging"));
document.addEventListener("drop", (event) => {
  event.preventDefault();
  document.body.classList.remove("dragging");
  if (event.dataTransfer.files.length) show(event.dataTransfer.files[0]);
});
