// SPDX-License-Identifier: MIT
// Holds wfconv.html to the command: each file goes through the page's file input in
// headless chromium or firefox, and the report, the message and both channel downloads must equal,
// byte for byte, what the command prints and writes for the same file, and the CSV download
// what wfconv-csv (beside WFCONV) writes; each channel's
// least and greatest must be lines of its file. The plot must not be blank, and the
// page must make no request once loaded.
//
//   node tests/browser/page_test.mjs PAGE WFCONV [--browser chromium|firefox] [--screenshot PNG] FILE...
// The browser is chromium unless named (or WFCONV_BROWSER names it).
// PNG: a picture of the page showing the first file (the README's).

import { spawnSync } from "node:child_process";
import fs from "node:fs";
import http from "node:http";
import os from "node:os";
import path from "node:path";
import { pathToFileURL } from "node:url";
import { openPage, waitUntil } from "./open_page.mjs";
import { accessibilityProblems, checkPlot } from "./plot_checks.mjs";

const args = process.argv.slice(2);
const [pagePath, program] = args.splice(0, 2);
const option = (name, otherwise) => {
  const at = args.indexOf(name);
  return at >= 0 ? args.splice(at, 2)[1] : otherwise;
};
const browserName = option("--browser", process.env.WFCONV_BROWSER ?? "chromium");
const shot = option("--screenshot", null);
const work = fs.mkdtempSync(path.join(os.tmpdir(), "wfconv-page-"));
const commandDir = path.join(work, "command"), downloads = path.join(work, "downloads");
fs.mkdirSync(commandDir);

const { browser, page, requests, downloaded, setViewport, viewport } = await openPage(pageFile(pagePath), downloads, undefined, browserName);
const failures = [];
const expect = (ok, what) => { if (!ok) failures.push(what); };

function pageFile(file) { return pathToFileURL(path.resolve(file)).href; }

// The command's run on a copy named as the page sees it: its report, its message, its files.
function command(file) {
  const name = path.basename(file);
  fs.copyFileSync(file, path.join(commandDir, name));
  const lines = spawnSync(path.resolve(program), [name], { cwd: commandDir }).stdout.toString("utf8").split("\r\n");
  const message = lines.find((line) => /^(Cannot read|Unexpected end of) /.test(line)) ?? "";
  const report = lines.filter((line) => line && line !== message && !line.startsWith("converting : ")).join("\n");
  const csvProgram = path.join(path.dirname(path.resolve(program)), `wfconv-csv${path.extname(program)}`);
  spawnSync(csvProgram, [name], { cwd: commandDir });
  const csv = path.join(commandDir, `${name}.csv`);
  return { name, message, report, csv, files: [1, 2].map((c) => path.join(commandDir, `${name}${c}.txt`)) };
}

// A channel file's least and greatest line other than a NaN's, as the page shows them.
function extremes(text) {
  const value = (line) => (line.endsWith("INF") ? (line.startsWith("-") ? -1 : 1) * Infinity : Number(line));
  const lines = text.split("\r\n").slice(0, -1).filter((line) => !Number.isNaN(value(line)));
  if (!lines.length) return "none none";
  const minusZero = (line) => (Object.is(value(line), -0) ? 1 : 0);
  lines.sort((a, b) => value(a) - value(b) || minusZero(b) - minusZero(a));
  return `${lines[0]} ${lines.at(-1)}`;
}

// Chromium drops, silently, an eleventh download that a page starts within a second of
// the first of ten (its burst limit). A person never clicks that fast; this test does.
const downloadStarts = [];
async function startDownload(button) {
  const tenthLast = downloadStarts.at(-10);
  if (tenthLast !== undefined) await new Promise((r) => setTimeout(r, tenthLast + 1100 - Date.now()));
  downloadStarts.push(Date.now());
  await page.click(button);
}

// Pixels in the data's colours (trace, infinities, NaNs), per canvas.
const inked = () => page.$$eval("[data-testid=plot] canvas", (canvases) => canvases.map((canvas) => {
  const root = getComputedStyle(document.documentElement);
  const colours = ["--trace", "--inf", "--nan"].map((name) => root.getPropertyValue(name));
  const probe = document.createElement("canvas").getContext("2d");
  const rgb = colours.map((c) => { probe.fillStyle = c; return probe.fillStyle; });
  const d = canvas.getContext("2d").getImageData(0, 0, canvas.width, canvas.height).data;
  let count = 0;
  for (let i = 0; i < d.length; i += 4) {
    const hex = "#" + [d[i], d[i + 1], d[i + 2]].map((v) => v.toString(16).padStart(2, "0")).join("");
    if (d[i + 3] > 0 && rgb.includes(hex)) ++count;
  }
  return count;
}));

failures.push(...(await accessibilityProblems(page, "no file yet")));
for (const [n, file] of args.entries()) {
  const want = command(file);
  await (await page.$("input[type=file]")).uploadFile(file);
  await waitUntil(page, (loads) => Number(document.body.dataset.loads) === loads, n + 1);
  const text = (id) => page.$eval(`[data-testid=${id}]`, (e) => e.innerText);
  expect((await text("report")) === want.report, `${want.name}: report`);
  expect((await text("message")) === want.message, `${want.name}: message`);
  for (const [i, expected] of want.files.entries()) {
    const button = `[data-testid=channel${i + 1}]`;
    if (!fs.existsSync(expected)) {
      const offered = !(await page.$eval(button, (b) => b.disabled));
      expect(!offered, `${want.name}: channel ${i + 1} offered, the command writes none`);
      continue;
    }
    const row = `[data-testid=summary${i + 1}]`;
    const shown = await page.$eval(row, (r) => `${r.cells[3].textContent} ${r.cells[4].textContent}`);
    const lines = fs.readFileSync(expected, "latin1");
    expect(shown === extremes(lines), `${want.name}: channel ${i + 1} least and greatest`);
    await startDownload(button);
    const got = await downloaded(path.basename(expected));
    expect(got !== null && got.equals(fs.readFileSync(expected)), `${want.name}: channel ${i + 1} download`);
    if (got && got.length > 0) expect((await inked())[i] > 0, `${want.name}: channel ${i + 1} plot is blank`);
    fs.rmSync(expected);
  }
  const csvOffered = await page.$eval("#csv", (p) => !p.hidden);
  expect(csvOffered === fs.existsSync(want.csv), `${want.name}: CSV ${csvOffered ? "offered" : "not offered"}`);
  if (csvOffered && fs.existsSync(want.csv)) {
    await startDownload("[data-testid=save-csv]");
    const got = await downloaded(path.basename(want.csv));
    expect(got !== null && got.equals(fs.readFileSync(want.csv)), `${want.name}: CSV download`);
    fs.rmSync(want.csv);
  }
  if (n === 0 && shot) {
    await page.screenshot({ path: shot, fullPage: true });
  }
  failures.push(...(await accessibilityProblems(page, want.name)));
  if (n === 0) failures.push(...(await checkPlot(page, { downloaded, name: want.name, setViewport, viewport })));
}
// Chromium reports the page's own request; Firefox does not for a local file.
const others = requests.filter((url) => url !== pageFile(pagePath));
expect(others.length === 0, `requests after the page itself: ${others.join(" ")}`);

// The same page from a web server: the first file's report, and the server asked for
// nothing else (but the browser's own icon).
const asked = [];
const server = http.createServer((request, response) => {
  if (request.url !== "/favicon.ico") asked.push(request.url);
  response.setHeader("Content-Type", "text/html").end(fs.readFileSync(pagePath));
});
await new Promise((listening) => server.listen(0, "127.0.0.1", listening));
const served = await browser.newPage();
await served.goto(`http://127.0.0.1:${server.address().port}/wfconv.html`);
await (await served.$("input[type=file]")).uploadFile(args[0]);
await waitUntil(served, () => document.body.dataset.loads === "1");
const servedReport = await served.$eval("[data-testid=report]", (e) => e.innerText);
expect(servedReport === command(args[0]).report, "report from a web server");
expect(asked.join(" ") === "/wfconv.html", `the web server asked for ${asked.join(" ")}`);
server.close();
await browser.close();
fs.rmSync(work, { recursive: true });

console.log(`${args.length} files through the page: ${failures.length ? "FAILED" : "all equal to the command's"}`);
for (const failure of failures) console.log(`  ${failure}`);
process.exit(failures.length ? 1 : 0);
