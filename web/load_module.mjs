// SPDX-License-Identifier: MIT
// The module: the library and the command's text, compiled from src/ and embedded in the
// page as base64 (MODULE), so that nothing is fetched. Views of its memory and the text it makes.

// The module's exports, there once `ready` has settled.
export const core = {};
export const ready = WebAssembly.instantiate(Uint8Array.from(atob(MODULE), (c) => c.charCodeAt(0)), {})
  .then(({ instance }) => { Object.assign(core, instance.exports); core._initialize(); });

const decoder = new TextDecoder();

export function bytesAt(at, size) { return new Uint8Array(core.memory.buffer, at, size); }
export function text(size) { return decoder.decode(bytesAt(core.text_data(), size)); }
// A fresh view each time: the module's memory moves when it grows.
export function values(channel) {
  return new Float32Array(core.memory.buffer, core.channel_data(channel), core.channel_size(channel));
}
// A sample's line of its channel file, without the line end.
export function lineOf(channel, index) {
  return decoder.decode(bytesAt(core.make_lines(channel, index, 1), core.line_size() - 2));
}
// A value as its channel file writes it.
export function valueText(value) { return text(core.make_line(value)).trim(); }
