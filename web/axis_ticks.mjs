// SPDX-License-Identifier: MIT
// Axis ticks as the plotting tools people like place them: at 1, 2 or 5 x 10^n, labelled
// no longer than the step needs. Pure: the same range and room always give the same ticks,
// whatever zoom, pan or resize led there.

// Each tick is k x m x 10^e with integers k and m, so its label is written from the integer
// k x m and the exponent e: exact, never 0.30000000000000004.
function tickLabel(units, exponent, scientific) {
  if (units === 0) return "0";
  const sign = units < 0 ? "-" : "";
  let digits = String(Math.abs(units));
  if (scientific) {
    while (digits.endsWith("0")) { digits = digits.slice(0, -1); ++exponent; }
    const power = exponent + digits.length - 1;
    return `${sign}${digits[0]}${digits.length > 1 ? "." + digits.slice(1) : ""}e${power}`;
  }
  if (exponent >= 0) return sign + digits + "0".repeat(exponent);
  digits = digits.padStart(1 - exponent, "0");
  const point = digits.length + exponent;
  const fraction = digits.slice(point).replace(/0+$/, "");
  return sign + digits.slice(0, point) + (fraction ? "." + fraction : "");
}

// The ticks within [lo, hi] on an axis `room` pixels long that wants `spacing` pixels between
// ticks: the finest step that keeps to that, yet gives at least 3 ticks where a finer one can.
// integers: no step below 1 and no exponent in the labels (sample indices).
// Returns { values, labels } in increasing order.
export function axisTicks(lo, hi, room, spacing, integers = false) {
  const none = { values: [], labels: [] };
  if (!(hi > lo) || !Number.isFinite(hi - lo)) return none;
  const most = Math.max(3, Math.floor(room / spacing) + 1);
  const first = (m, e) => Math.ceil(e < 0 ? lo * 10 ** -e / m : lo / (m * 10 ** e));
  const last = (m, e) => Math.floor(e < 0 ? hi * 10 ** -e / m : hi / (m * 10 ** e));
  // From a step surely too fine (ten times the `most` ticks), coarser until they fit.
  let previous = null, chosen = null;  // previous: the last step that gave too many
  for (let e = Math.floor(Math.log10((hi - lo) / most)) - 1; !chosen; ++e) {
    for (const m of [1, 2, 5]) {
      if (integers && e < 0) continue;
      const count = last(m, e) - first(m, e) + 1;
      if (count > most) { previous = { m, e }; continue; }
      chosen = count >= 3 || !previous ? { m, e } : previous;
      break;
    }
  }
  const { m, e } = chosen;
  const from = first(m, e), to = last(m, e);
  // Values from 10^-3 to 10^6 read best written out; beyond, the exponent is the shorter.
  const greatest = Math.max(Math.abs(from), Math.abs(to)) * m * 10 ** e;
  const scientific = !integers && (greatest >= 1e6 || greatest < 1e-3);
  const values = [], labels = [];
  for (let k = from; k <= to; ++k) {
    values.push(e < 0 ? (k * m) / 10 ** -e : k * m * 10 ** e);
    labels.push(tickLabel(k * m, e, scientific));
  }
  return { values, labels };
}
