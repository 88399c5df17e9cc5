// SPDX-License-Identifier: MIT
// The table of channels: each one's blocks, samples, least and greatest line, and the
// button that saves its file.

import { core, text } from "./load_module.mjs";
import { rows } from "./page_parts.mjs";

export function fillRow(channel, summary, name) {
  const cells = rows[channel - 1].cells;
  cells[1].textContent = core.channel_blocks(channel).toLocaleString("en");
  cells[2].textContent = core.channel_size(channel).toLocaleString("en");
  cells[3].textContent = summary.all.least === null ? "none" : text(core.make_line(summary.all.least));
  cells[4].textContent = summary.all.greatest === null ? "none" : text(core.make_line(summary.all.greatest));
  const button = cells[5].firstElementChild;
  button.disabled = !core.has_file(channel);
  button.textContent = button.disabled ? "not written" : `${name}${channel}.txt`;
}
