// SPDX-License-Identifier: MIT
// What the page's modules share: its elements, and what is shown.

export const $ = (selector) => document.querySelector(selector);
export const plot = $("[data-testid=plot]");
export const area = $("[data-testid=plot-area]");
export const canvases = [...plot.querySelectorAll("canvas")];
export const rows = [...$("#channels tbody").rows];

// What is shown: the file's name, each channel's summaries, and the part in view.
export const shown = { name: "", loads: 0, summaries: [null, null], start: 0, end: 1, total: 1, hover: -1 };
