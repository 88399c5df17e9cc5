// SPDX-License-Identifier: MIT
// The channel files and the CSV, made on the click: the blob holds the only copy.

import { bytesAt, core } from "./load_module.mjs";
import { shown } from "./page_parts.mjs";

export function offer(blob, name) {
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
export function save(channel) {
  const count = core.channel_size(channel), piece = core.lines_per_piece();
  const parts = [];
  for (let first = 0; first < count; first += piece) {
    const lines = Math.min(piece, count - first);
    parts.push(new Blob([bytesAt(core.make_lines(channel, first, lines), lines * core.line_size())]));
  }
  offer(new Blob(parts, { type: "text/plain" }), `${shown.name}${channel}.txt`);
}

// The CSV that wfconv-csv writes of the file, a piece of rows at a time, the header
// row with the first.
export function saveCsv() {
  const rows = core.csv_rows(), piece = core.lines_per_piece();
  const parts = [];
  for (let first = 0; first === 0 || first < rows; first += piece) {
    const size = core.make_csv(first, Math.min(piece, rows - first));  // before text_data(): it moves the text
    parts.push(new Blob([bytesAt(core.text_data(), size)]));
  }
  offer(new Blob(parts, { type: "text/csv" }), `${shown.name}.csv`);
}
