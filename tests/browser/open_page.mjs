// SPDX-License-Identifier: MIT
// Debian's chromium or firefox-esr, headless, on a page: shared by the browser test and the
// page's benchmark. Downloads go to downloadDir; downloaded(name) gives the bytes of the next
// download of that name once the browser says it is whole (null if it fails or never comes),
// and removes its file, so that the name is free for the next: Firefox gives a download
// whose name is taken another name, and reports only that one. requests lists every URL the
// browser reports the page asking for. setViewport(viewport) sizes the page; viewport() says
// the size last set.

import fs from "node:fs";
import path from "node:path";
import puppeteer from "puppeteer-core";

export const browserNames = ["chromium", "firefox"];

// Firefox's services that would reach the network on their own, off: updates, telemetry,
// the captive-portal and connectivity probes, remote settings, safe-browsing lists, push,
// prefetching, DNS over HTTPS, region and geolocation look-ups, add-on and media plugin updates.
const quietFirefox = {
  "app.update.auto": false, "app.update.checkInstallTime": false, "app.normandy.enabled": false,
  "app.shield.optoutstudies.enabled": false, "datareporting.policy.dataSubmissionEnabled": false,
  "datareporting.healthreport.uploadEnabled": false, "toolkit.telemetry.enabled": false,
  "toolkit.telemetry.unified": false, "toolkit.telemetry.archive.enabled": false, "toolkit.telemetry.server": "",
  "browser.ping-centre.telemetry": false, "network.captive-portal-service.enabled": false,
  "network.connectivity-service.enabled": false, "services.settings.server": "data:,#remote-settings-dummy/v1",
  "browser.safebrowsing.update.enabled": false, "browser.safebrowsing.provider.google4.updateURL": "",
  "browser.safebrowsing.provider.mozilla.updateURL": "", "browser.safebrowsing.downloads.remote.enabled": false,
  "dom.push.enabled": false, "dom.push.connection.enabled": false, "network.prefetch-next": false,
  "network.dns.disablePrefetch": true, "network.predictor.enabled": false, "network.trr.mode": 5,
  "browser.region.update.enabled": false, "browser.region.network.url": "", "geo.provider.network.url": "",
  "extensions.blocklist.enabled": false, "extensions.systemAddon.update.enabled": false,
  "media.gmp-gmpopenh264.enabled": false, "media.gmp-manager.updateEnabled": false,
  "browser.newtabpage.activity-stream.feeds.telemetry": false, "browser.topsites.contile.enabled": false,
  "identity.fxaccounts.enabled": false, "messaging-system.rsexperimentloader.enabled": false,
};

async function launch(browserName, downloadDir) {
  if (browserName === "firefox") {
    // Where downloads go without asking, for a Firefox without WebDriver BiDi's command for it (140).
    const downloads = { "browser.download.dir": downloadDir, "browser.download.folderList": 2,
      "browser.download.useDownloadDir": true, "browser.download.always_ask_before_handling_new_types": false };
    return puppeteer.launch({
      browser: "firefox", executablePath: process.env.FIREFOX ?? "/usr/bin/firefox-esr", headless: true,
      defaultViewport: null,  // puppeteer's setViewport would be sent: see sizePage
      extraPrefsFirefox: { ...quietFirefox, ...downloads },
      // Firefox's own switch for tests: no connection but to this machine. It also lets the
      // remote settings server above be honoured.
      env: { ...process.env, MOZ_DISABLE_NONLOCAL_CONNECTIONS: "1" },
    });
  }
  if (browserName !== "chromium") throw new Error(`no browser ${browserName}: ${browserNames.join(" or ")}`);
  return puppeteer.launch({
    executablePath: process.env.CHROMIUM ?? "/usr/bin/chromium",
    headless: true,
    args: ["--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run", "--disable-background-networking",
      "--disable-component-update", "--disable-sync", "--disable-dev-shm-usage"],
  });
}

// ended(name, path) once the browser says a download is whole, ended(name, null) if it
// failed. The file alone cannot tell: it shows before its last byte is written, and an
// empty one looks whole from the start. False where the browser tells nothing of downloads.
async function watchDownloads(browser, browserName, downloadDir, ended) {
  if (browserName === "firefox") {
    // WebDriver BiDi, on the connection puppeteer-core already has subscribed to every event.
    const bidi = browser.connection;
    const names = new Map();
    bidi.on("browsingContext.downloadWillBegin", (event) => names.set(event.url, event.suggestedFilename));
    bidi.on("browsingContext.downloadEnd", (event) =>
      ended(names.get(event.url), event.status === "complete" ? event.filepath : null));
    return bidi.send("browser.setDownloadBehavior",
      { downloadBehavior: { type: "allowed", destinationFolder: downloadDir } }).then(() => true, (error) => {
      if (!/unknown command/.test(error.message)) throw error;
      return false;  // 140: the preferences at launch, and no events
    });
  }
  const session = await browser.target().createCDPSession();
  const names = new Map();
  session.on("Browser.downloadWillBegin", (event) => names.set(event.guid, event.suggestedFilename));
  session.on("Browser.downloadProgress", (event) => {
    const name = names.get(event.guid);
    if (event.state === "completed") ended(name, event.filePath ?? path.join(downloadDir, name));
    if (event.state === "canceled") ended(name, null);
  });
  await session.send("Browser.setDownloadBehavior",
    { behavior: "allow", downloadPath: downloadDir, eventsEnabled: true });
  return true;
}

// Where the browser reports no downloads (Firefox 140), the best the file can tell: it is
// there, Firefox's NAME.part that it is written to first is gone, and its size holds.
async function settledFile(file, timeoutMs) {
  const end = Date.now() + timeoutMs;
  let size = -1;
  while (Date.now() < end) {
    const now = fs.existsSync(file) && !fs.existsSync(`${file}.part`) ? fs.statSync(file).size : -1;
    if (now >= 0 && now === size) return file;
    size = now;
    await new Promise((r) => setTimeout(r, 200));
  }
  return null;
}

// puppeteer's setViewport also overrides, in Firefox, the screen's orientation, which the
// firefox-esr of Debian 12's main pocket (140) has no command for: there the size and
// pixel ratio are set by WebDriver BiDi's own command alone.
async function sizePage(page, browserName, viewport) {
  if (browserName !== "firefox") return page.setViewport(viewport);
  await page.mainFrame().browsingContext.setViewport({
    viewport: { width: viewport.width, height: viewport.height }, devicePixelRatio: viewport.deviceScaleFactor ?? null,
  });
}

// Until predicate(arg), run in the page, holds. puppeteer's waitForFunction builds its
// predicate with Function(), which the page's Content-Security-Policy forbids in Firefox 140.
export async function waitUntil(page, predicate, arg, timeoutMs = 30000) {
  const end = Date.now() + timeoutMs;
  while (!(await page.evaluate(predicate, arg))) {
    if (Date.now() > end) throw new Error(`waited ${timeoutMs} ms for ${predicate}`);
    await new Promise((r) => setTimeout(r, 20));
  }
}

export async function openPage(url, downloadDir, viewport = { width: 1200, height: 900 }, browserName = "chromium") {
  const browser = await launch(browserName, downloadDir);
  const page = await browser.newPage();
  let size = viewport;
  const setViewport = async (wanted) => { await sizePage(page, browserName, wanted); size = wanted; };
  await setViewport(viewport);
  const requests = [];
  page.on("request", (request) => requests.push(request.url()));

  const ends = new Map();  // name -> paths (null: failed) of the ends not yet asked for
  const waiting = new Map();  // name -> resolve of the downloaded() waiting for it
  const reported = await watchDownloads(browser, browserName, downloadDir, (name, file) => {
    if (waiting.has(name)) waiting.get(name)(file);
    else ends.set(name, [...(ends.get(name) ?? []), file]);
  });
  async function downloaded(name, timeoutMs = 20000) {
    let file;
    if (!reported) file = await settledFile(path.join(downloadDir, name), timeoutMs);
    else if (ends.get(name)?.length) file = ends.get(name).shift();
    else {
      let timer;
      file = await new Promise((resolve) => {
        waiting.set(name, resolve);
        timer = setTimeout(() => resolve(null), timeoutMs);
      });
      clearTimeout(timer);
      waiting.delete(name);
    }
    if (file === null) return null;
    const bytes = fs.readFileSync(file);
    fs.rmSync(file);
    return bytes;
  }

  await page.goto(url);
  return { browser, page, requests, downloaded, setViewport, viewport: () => size };
}
