// The plot as a user meets it, held to what people expect of plotting tools: tick labels at
// round steps where their values lie, keys that move the view, a picture of the size the
// screen shows, and no accessibility rule broken, in the light and the dark theme.

import fs from "node:fs";
import { createRequire } from "node:module";

const axeSource = fs.readFileSync(createRequire(import.meta.url).resolve("axe-core/axe.min.js"), "utf8");
const frames = (page) =>
  page.evaluate(() => new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done))));

// Each value a whole multiple of one step of 1, 2 or 5 x 10^n (of at least 1 for integers).
function roundSteps(values, integers) {
  const step = values[1] - values[0], power = 10 ** Math.floor(Math.log10(step));
  const near = (a, b) => Math.abs(a - b) <= 1e-9 * Math.abs(step);
  return [1, 2, 5].some((m) => near(step, m * power)) && (!integers || (step >= 1 && values.every(Number.isInteger))) &&
    values.every((v, i) => near(v, values[0] + i * step));
}

// The page in the system's light or dark theme (null: as the browser has it). Without CDP
// (Firefox) nothing emulates the media feature: the page's dark rules are then applied as they stand.
async function theme(page, scheme) {
  try {
    await page.emulateMediaFeatures(scheme ? [{ name: "prefers-color-scheme", value: scheme }] : []);
  } catch {
    await page.evaluate((dark) => {
      document.getElementById("dark-rules")?.remove();
      if (!dark) return;
      const rules = [...document.styleSheets].flatMap((sheet) => [...sheet.cssRules])
        .filter((rule) => rule.media?.mediaText.includes("prefers-color-scheme: dark"))
        .flatMap((rule) => [...rule.cssRules]);
      Object.assign(document.head.appendChild(document.createElement("style")), {
        id: "dark-rules", textContent: rules.map((rule) => rule.cssText).join("\n"),
      });
    }, scheme === "dark");
  }
  await frames(page);  // the plot redrawn in the theme's colours
}

// Violations of axe-core's rules in the page as it is now, light and dark.
export async function accessibilityProblems(page, state) {
  if (!(await page.evaluate(() => "axe" in window))) await page.addScriptTag({ content: axeSource });
  const problems = [];
  for (const scheme of ["light", "dark"]) {
    await theme(page, scheme);
    const found = await page.evaluate(async () =>
      (await axe.run()).violations.map((v) => `${v.id}: ${v.nodes.map((node) => node.target.join(" ")).join(", ")}`));
    problems.push(...found.map((violation) => `${state}, ${scheme} theme: ${violation}`));
  }
  await theme(page, null);
  return problems;
}

// downloaded(name): the bytes of the finished download of that name, or null.
export async function checkPlot(page, { downloaded, name }) {
  const failures = [];
  const expect = (ok, what) => { if (!ok) failures.push(`${name}: ${what}`); };
  // Each label, where its middle is, and whether a grid line of the canvas runs there.
  const ticks = () => page.$$eval("[data-testid=plot] [data-testid$=tick]", (labels) => labels.map((label) => {
    const box = label.getBoundingClientRect(), across = label.dataset.testid === "xtick";
    const canvas = label.closest(".channel").querySelector("canvas"), frame = canvas.getBoundingClientRect();
    const probe = document.createElement("canvas").getContext("2d"), root = getComputedStyle(document.documentElement);
    const rgb = (name) => { probe.fillStyle = root.getPropertyValue(name); return probe.fillStyle; };
    const lines = [rgb("--grid"), rgb("--frame")];  // the frame hides a grid line on the edge
    const ratio = canvas.width / frame.width, at = across ? box.x + box.width / 2 : box.y + box.height / 2;
    const line = Math.round((at - (across ? frame.x : frame.y)) * ratio);
    const strip = across ? [line - 1, 0, 3, canvas.height] : [0, line - 1, canvas.width, 3];
    const d = canvas.getContext("2d").getImageData(...strip).data;
    // Pixels of a grid line, in runs: a line crossing it leaves runs of a pixel, data gaps.
    let run = 0, inked = 0;
    for (let along = 0; along <= d.length / 12; ++along) {
      const pixel = (k) => (across ? along * 3 + k : k * d.length / 12 + along) * 4;
      const hex = (i) => `#${[...d.subarray(i, i + 3)].map((c) => c.toString(16).padStart(2, "0")).join("")}`;
      if (along < d.length / 12 && [0, 1, 2].some((k) => lines.includes(hex(pixel(k))))) { ++run; continue; }
      if (run >= 3) inked += run;
      run = 0;
    }
    return { axis: `channel ${label.dataset.channel} ${label.dataset.testid}`, text: label.textContent, at,
      onGrid: inked >= 24 };
  }));

  // Each axis: at least 3 ticks at round steps, each label centred where its value lies.
  const shown = await ticks();
  for (const axis of ["1 xtick", "1 ytick", "2 xtick", "2 ytick"].map((a) => `channel ${a}`)) {
    const labels = shown.filter((t) => t.axis === axis).sort((a, b) => Number(a.text) - Number(b.text));
    const values = labels.map((t) => Number(t.text)), at = labels.map((t) => t.at);
    const what = `${axis}s ${labels.map((t) => t.text).join(" ")}`;
    expect(values.length >= 3 && roundSteps(values, axis.endsWith("xtick")), `${what}: not at least 3 round steps`);
    const scale = (at.at(-1) - at[0]) / (values.at(-1) - values[0]);
    expect(values.every((v, i) => Math.abs(at[0] + (v - values[0]) * scale - at[i]) <= 1), `${what}: misplaced`);
    // The data may hide a grid line, but not two.
    expect(labels.filter((t) => !t.onGrid).length <= 1, `${what}: not on the grid lines`);
  }

  // Keys, with the plot area reached by Tab: both channels follow, and Home shows all again.
  const view = async () => {
    const now = await ticks(), axis = (a) => now.filter((t) => t.axis === a).map((t) => t.text).join(" ");
    const about = await page.$$eval(".about", (texts) => texts.map((t) => t.textContent).join(" "));
    expect(axis("channel 1 xtick") === axis("channel 2 xtick"), "the channels show different samples");
    return `${axis("channel 1 xtick")} ${about}`;
  };
  const focused = () => page.evaluate(() => document.activeElement?.dataset.testid === "plot-area");
  for (let tabs = 0; tabs < 20 && !(await focused()); ++tabs) await page.keyboard.press("Tab");
  expect(await focused(), "Tab never reaches the plot area");
  const whole = await view();
  for (const key of ["+", "+", "ArrowRight", "ArrowLeft", "-"]) {
    const before = await view();
    await page.keyboard.press(key);
    await frames(page);
    expect((await view()) !== before, `${key} leaves the view as it was`);
  }
  await page.keyboard.press("Home");
  await frames(page);
  expect((await view()) === whole, "Home does not show all");

  // The picture, at twice the pixels: the plot area's size times the pixel ratio.
  const viewport = page.viewport();
  await page.setViewport({ ...viewport, deviceScaleFactor: 2 });
  await frames(page);
  const want = await page.$eval("[data-testid=plot-area]", (area) => {
    const box = area.getBoundingClientRect();
    return `${Math.round(box.width * devicePixelRatio)}x${Math.round(box.height * devicePixelRatio)}`;
  });
  await page.click("[data-testid=save-png]");
  const png = await downloaded(`${name}.png`);
  await page.setViewport(viewport);
  const isPng = png?.length > 24 && png.toString("latin1", 1, 4) === "PNG" && png.toString("latin1", 12, 16) === "IHDR";
  const size = isPng ? `${png.readUInt32BE(16)}x${png.readUInt32BE(20)}` : "no PNG";
  expect(size === want && want !== "0x0", `picture ${size}, the plot shows ${want}`);
  return failures;
}
