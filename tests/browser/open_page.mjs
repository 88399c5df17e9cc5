// Debian's chromium, headless, on a page: shared by the browser test and the page's
// benchmark. Downloads go to downloadDir, and finished lists the names of those written
// whole; requests lists every URL the page asked for.

import puppeteer from "puppeteer-core";

export async function openPage(url, downloadDir, viewport = { width: 1200, height: 900 }) {
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM ?? "/usr/bin/chromium",
    headless: true,
    args: ["--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run", "--disable-background-networking",
      "--disable-component-update", "--disable-sync", "--disable-dev-shm-usage"],
  });
  const page = await browser.newPage();
  await page.setViewport(viewport);
  const requests = [];
  page.on("request", (request) => requests.push(request.url()));
  const session = await browser.target().createCDPSession();
  // A download's file shows before its last byte is written: wait for chromium's word.
  const names = new Map(), finished = new Set();
  session.on("Browser.downloadWillBegin", (event) => names.set(event.guid, event.suggestedFilename));
  session.on("Browser.downloadProgress", (event) => {
    if (event.state === "completed") finished.add(names.get(event.guid));
  });
  await session.send("Browser.setDownloadBehavior", { behavior: "allow", downloadPath: downloadDir, eventsEnabled: true });
  await page.goto(url);
  return { browser, page, requests, finished };
}
