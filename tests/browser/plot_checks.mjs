// SPDX-License-Identifier: MIT
// The plot held to what people expect of plotting tools: tick labels at round steps, keys
// that move the view, a picture of the size shown, no rule of axe-core broken, light or dark.

import fs from "node:fs";
import { createRequire } from "node:module";

const axeSource = fs.readFileSync(createRequire(import.meta.url).resolve("axe-core/axe.min.js"), "utf8");
const frames = (page) => page.evaluate(() => new Promise((d) => requestAnimationFrame(() => requestAnimationFrame(d))));

// The dark theme's colours are the same in every browser; Firefox (no CDP) cannot emulate it.
export async function accessibilityProblems(page, state) {
  if (!(await page.evaluate(() => "axe" in window))) await page.addScriptTag({ content: axeSource });
  const emulates = await page.emulateMediaFeatures([]).then(() => true, () => false), problems = [];
  for (const scheme of emulates ? ["light", "dark"] : ["browser's"]) {
    if (emulates) await page.emulateMediaFeatures([{ name: "prefers-color-scheme", value: scheme }]);
    await frames(page);  // the plot redrawn in the theme's colours
    const found = await page.evaluate(async () =>
      (await axe.run()).violations.map((v) => `${v.id}: ${v.nodes.map((node) => node.target.join(" ")).join(", ")}`));
    problems.push(...found.map((violation) => `${state}, ${scheme} theme: ${violation}`));
  }
  if (emulates) await page.emulateMediaFeatures([]);
  await frames(page);
  return problems;
}

// downloaded(name): the bytes of the finished download of that name, or null; setViewport and
// viewport(): as openPage gives them.
export async function checkPlot(page, { downloaded, name, ...sizing }) {
  const failures = [];
  const expect = (ok, what) => { if (!ok) failures.push(`${name}: ${what}`); };
  const ticks = () => page.$$eval("[data-testid=plot] [data-testid$=tick]", (labels) =>
    labels.map((l) => ({ axis: `channel ${l.dataset.channel} ${l.dataset.testid}`, text: l.textContent })));

  // Each axis: at least 3 ticks, whole multiples of a step of 1, 2 or 5 x 10^n (integers across).
  const axesHold = async (where) => {
    const shown = await ticks();
    for (const axis of ["1 xtick", "1 ytick", "2 xtick", "2 ytick"].map((a) => `channel ${a}`)) {
      const labels = shown.filter((t) => t.axis === axis), values = labels.map((t) => +t.text).sort((a, b) => a - b);
      const step = values[1] - values[0], power = 10 ** Math.floor(Math.log10(step));
      const near = (a, b) => Math.abs(a - b) <= 1e-9 * step;  // the labels are decimal, the values binary
      const round = [1, 2, 5].some((m) => near(step, m * power)) &&
        values.every((v, i) => near(v - values[0], i * step));
      const whole = axis.endsWith("ytick") || values.every(Number.isInteger);
      expect(values.length >= 3 && round && whole, `${where}, ${axis}s ${labels.map((t) => t.text)}: not round steps`);
    }
  };
  await axesHold("showing all");

  // Keys, in the plot area reached by Tab: each changes both channels' view alike; Home shows all.
  const view = async () => {
    const now = await ticks(), axis = (c) => now.filter((t) => t.axis === `channel ${c} xtick`).map((t) => t.text) + "";
    expect(axis(1) === axis(2), "the channels show different samples");
    return `${axis(1)} ${await page.$$eval(".about", (texts) => texts.map((t) => t.textContent).join(" "))}`;
  };
  const focused = () => page.evaluate(() => document.activeElement?.dataset.testid === "plot-area");
  for (let tabs = 0; tabs < 20 && !(await focused()); ++tabs) await page.keyboard.press("Tab");
  expect(await focused(), "Tab never reaches the plot area");
  const whole = await view();
  for (const key of ["+", "+", "ArrowRight", "ArrowLeft", "-", "Home"]) {
    const before = await view();
    await page.keyboard.press(key);
    await frames(page);
    const after = await view();
    expect(key === "Home" ? after === whole : after !== before, `${key}: the view ${after}`);
  }
  for (let zoom = 0; zoom < 30; ++zoom) await page.keyboard.press("+");
  await frames(page);
  await axesHold("closest in");
  await page.keyboard.press("Home");

  // The picture, at twice the pixels: the plot area's size times the pixel ratio.
  const viewport = sizing.viewport();
  await sizing.setViewport({ ...viewport, deviceScaleFactor: 2 });
  await frames(page);
  const want = await page.$eval("[data-testid=plot-area]", (area) => {
    const box = area.getBoundingClientRect();
    return `${Math.round(box.width * devicePixelRatio)}x${Math.round(box.height * devicePixelRatio)}`;
  });
  await page.click("[data-testid=save-png]");
  const png = await downloaded(`${name}.png`);
  await sizing.setViewport(viewport);
  const isPng = png?.length > 24 && png.toString("latin1", 1, 4) === "PNG" && png.toString("latin1", 12, 16) === "IHDR";
  const size = isPng ? `${png.readUInt32BE(16)}x${png.readUInt32BE(20)}` : "no PNG";
  expect(size === want && want !== "0x0", `picture ${size}, the plot shows ${want}`);
  return failures;
}
