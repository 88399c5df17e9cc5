// SPDX-License-Identifier: MIT
// The text about the plot: the tick labels laid over each canvas, and the text alternative
// that screen readers read for it.

import { valueText } from "./load_module.mjs";
import { $ } from "./page_parts.mjs";
import { kNan } from "./summaries.mjs";

// One element per tick label, kept from redraw to redraw; place(value) gives its CSS pixels.
export function placeLabels(box, channel, kind, ticks, place) {
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
export function describe(channel, n, first, last, span) {
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
