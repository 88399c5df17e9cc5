// SPDX-License-Identifier: MIT
// A chosen file, handed to the module: what it gives back (the message, the report, the
// table) and the plot of the whole file.

import { bytesAt, core, ready, text, values } from "./load_module.mjs";
import { $, plot, shown } from "./page_parts.mjs";
import { draw } from "./plot.mjs";
import { summarise } from "./summaries.mjs";
import { fillRow } from "./table.mjs";

const encoder = new TextEncoder();

export async function show(file) {
  try {
    await read(file);
  } catch (error) {
    $("[data-testid=message]").textContent = `${file.name} could not be shown: ${error.message}`;
  }
}

async function read(file) {
  const started = performance.now();
  await ready;
  // Only as much of the file as the header's data reaches, as the command reads it.
  const blockSize = core.block_size();
  const head = new Uint8Array(await file.slice(0, blockSize).arrayBuffer());
  bytesAt(core.first_block_data(), head.length).set(head);
  const needed = head.length < blockSize ? head.length : core.bytes_needed();
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
  // wfconv-csv writes a table wherever there is a header, with the rows that arrived.
  $("#csv").hidden = !hasHeader;
  for (const channel of [1, 2]) {
    shown.summaries[channel - 1] = summarise(values(channel));
    fillRow(channel, shown.summaries[channel - 1], file.name);
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
