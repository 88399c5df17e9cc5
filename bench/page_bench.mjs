// SPDX-License-Identifier: MIT
// Times wfconv.html in headless chromium or firefox on one file (bench/run_page.sh passes the
// largest): from the file being chosen to its finished plot, a zoom's and a pan's redraw,
// and a channel file's download; medians of ROUNDS rounds.
//
//   node bench/page_bench.mjs PAGE FILE [ROUNDS] [chromium|firefox]

import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import { pathToFileURL } from "node:url";
import { openPage } from "../tests/browser/open_page.mjs";

const [pagePath, file, roundsArg, browserName = "chromium"] = process.argv.slice(2);
const rounds = Number(roundsArg ?? 5);
const downloads = fs.mkdtempSync(path.join(os.tmpdir(), "wfconv-page-bench-"));
const { browser, page, downloaded } =
  await openPage(pathToFileURL(path.resolve(pagePath)).href, downloads, undefined, browserName);
const quantile = (list, q) => [...list].sort((a, b) => a - b)[Math.floor((list.length - 1) * q)];
const median = (list) => quantile(list, 0.5);
const frame = () =>
  page.evaluate(() => new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done))));

const shown = [], zooms = [], pans = [], saves = [];
const input = await page.$("input[type=file]");
for (let round = 1; round <= rounds; ++round) {
  await input.uploadFile(file);
  await page.waitForFunction((n) => Number(document.body.dataset.loads) === n, { polling: 10 }, round);
  shown.push(Number(await page.$eval("body", (b) => b.dataset.shownMs)));

  // Zoom in around the middle of channel 1 twelve times, down to single samples, then out.
  const box = await (await page.$("[data-testid=plot] canvas")).boundingBox();
  await page.mouse.move(box.x + box.width * 0.6, box.y + box.height / 2);
  for (const deltaY of [...Array(60).fill(-100), ...Array(60).fill(100)]) {
    await page.mouse.wheel({ deltaY });
    await frame();
    zooms.push(Number(await page.$eval("[data-testid=plot]", (p) => p.dataset.drawMs)));
    if (process.env.BENCH_VERBOSE) console.log(deltaY, zooms.at(-1));
  }

  // Zoomed in to a tenth of the samples, a Shift+drag across the plot, 10 pixels a step.
  for (let i = 0; i < 10; ++i) await page.mouse.wheel({ deltaY: -100 });
  await page.keyboard.down("Shift");
  await page.mouse.down();
  for (let step = 1; step <= 60; ++step) {
    await page.mouse.move(box.x + box.width * 0.6 - step * 10, box.y + box.height / 2);
    await frame();
    pans.push(Number(await page.$eval("[data-testid=plot]", (p) => p.dataset.drawMs)));
  }
  await page.mouse.up();
  await page.keyboard.up("Shift");

  const name = `${path.basename(file)}1.txt`;
  const started = performance.now();
  await page.click("[data-testid=channel1]");
  if (!(await downloaded(name, 60000))) throw new Error(`${name}: no download`);
  saves.push(performance.now() - started);
}
const memory = await page.evaluate(() => core.memory.buffer.byteLength);
const version = await browser.version();
await browser.close();
fs.rmSync(downloads, { recursive: true });

const samples = fs.statSync(file).size;
console.log(`${version}, page ${pagePath}: ${(fs.statSync(pagePath).size / 1024).toFixed(0)} KiB`);
console.log(`file ${path.basename(file)}: ${(samples / 1e6).toFixed(1)} MB, ${rounds} rounds, medians:`);
console.log(`  chosen -> plot drawn   ${median(shown).toFixed(0)} ms (the first, on a fresh page: ${shown[0].toFixed(0)} ms)`);
const spread = (list) =>
  `95th percentile ${quantile(list, 0.95).toFixed(1)} ms, slowest ${Math.max(...list).toFixed(1)} ms`;
console.log(`  zoom redraw            ${median(zooms).toFixed(1)} ms (${spread(zooms)}, of ${zooms.length})`);
console.log(`  pan redraw             ${median(pans).toFixed(1)} ms (${spread(pans)}, of ${pans.length})`);
console.log(`  channel 1 download     ${median(saves).toFixed(0)} ms (click to file complete)`);
console.log(`  module memory          ${(memory / 2 ** 20).toFixed(0)} MiB`);
