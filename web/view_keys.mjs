// SPDX-License-Identifier: MIT
// The view and its keys: zoom, pan and hover, by wheel, mouse and keyboard. Both channels
// share the one view.

import { core, lineOf } from "./load_module.mjs";
import { $, area, canvases, plot, shown } from "./page_parts.mjs";
import { redraw } from "./plot.mjs";
import { layout, positionAt } from "./plot_layout.mjs";

const kMinSpan = 4;  // the closest zoom: four samples across the plot

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

export function listenToView() {
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
}

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
