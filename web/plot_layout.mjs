// SPDX-License-Identifier: MIT
// Where a channel's plot lies on its canvas, in device pixels, and which sample lies under a pointer.

import { shown } from "./page_parts.mjs";

// Around the plotted part of a canvas, in CSS pixels: room for the value labels at the left,
// the title above, the NaN marks and the sample labels below, and half a sample label at the right.
export const kMargin = { left: 80, top: 20, bottom: 24, right: 24 };

export function layout(canvas) {
  const ratio = window.devicePixelRatio || 1;
  const width = Math.round(canvas.clientWidth * ratio), height = Math.round(canvas.clientHeight * ratio);
  if (canvas.width !== width || canvas.height !== height) { canvas.width = width; canvas.height = height; }
  const left = Math.round(kMargin.left * ratio), top = Math.round(kMargin.top * ratio);
  const plotWidth = width - left - Math.round(kMargin.right * ratio);
  return { ratio, width, height, left, top, plotWidth, plotHeight: height - top - Math.round(kMargin.bottom * ratio) };
}

// The sample position under a pointer's x, from 0 at the plot's left edge.
export function positionAt(canvas, clientX) {
  const g = layout(canvas);
  const px = (clientX - canvas.getBoundingClientRect().left) * g.ratio - g.left;
  return shown.start + Math.min(Math.max(px / g.plotWidth, 0), 1) * (shown.end - shown.start);
}
