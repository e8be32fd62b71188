// How soon a page of photos shows its first picture on a phone network, and how heavy its
// pictures are: the page `reelcraft-cli make` wrote (light copies) side by side with the same
// page whose pictures ImageMagick resized to the same sizes at quality 85. Each page is loaded
// three times in headless Chromium at 1.6 Mbit/s down and 150 ms round trip, without a cache;
// the figure is the median time of the largest contentful paint (the player's first picture).
// Run after `npm ci` in tests/web, on a page made from tools/bench/make-photos.sh's photos:
//   reelcraft-cli make /tmp/site/index.html /tmp/reelcraft-photos-6
//   node tools/bench/web-photos-load.js /tmp/site /tmp/reelcraft-photos-6
"use strict";
const fs = require("node:fs");
const path = require("node:path");
const { execFileSync } = require("node:child_process");
const { site, serve, launch } = require("../../tests/web/support.js");

const GOALS = { firstPicture: 2500, bytesRatio: 1.25 };
const PHONE = { offline: false, latency: 150, downloadThroughput: 1.6e6 / 8, uploadThroughput: 0.75e6 / 8 };

const jpegs = (folder) => fs.readdirSync(folder).filter((n) => /\.jpe?g$/i.test(n));
const bytes = (folder) => jpegs(folder).reduce((sum, n) => sum + fs.statSync(path.join(folder, n)).size, 0);

// The same page with every copy replaced by ImageMagick's resize of its original.
function magickTwin(ours, originals) {
  const twin = site();
  for (const name of fs.readdirSync(ours)) {
    const from = path.join(ours, name), to = path.join(twin, name);
    if (!jpegs(ours).includes(name)) { fs.copyFileSync(from, to); continue; }
    const size = execFileSync("identify", ["-format", "%wx%h", from]).toString();
    execFileSync("convert", [path.join(originals, name), "-auto-orient", "-resize", `${size}!`, "-strip",
      "-interlace", "JPEG", "-quality", "85", to]);
  }
  return twin;
}

// Milliseconds from navigation to the largest contentful paint, on the emulated network.
async function firstPicture(browser, url) {
  const tab = await browser.newPage();
  await tab.setViewport({ width: 412, height: 823, isMobile: true, deviceScaleFactor: 1.75 });
  const cdp = await tab.target().createCDPSession();
  await cdp.send("Network.enable");
  await cdp.send("Network.setCacheDisabled", { cacheDisabled: true });
  await cdp.send("Network.emulateNetworkConditions", PHONE);
  await tab.evaluateOnNewDocument(() => new PerformanceObserver((list) => list.getEntries()
    .forEach((e) => { if (e.url) window.firstPicture = e.startTime; })).observe({ type: "largest-contentful-paint", buffered: true }));
  await tab.goto(url, { waitUntil: "load", timeout: 120000 });
  await tab.waitForFunction(() => window.firstPicture, { timeout: 120000 });
  const ms = await tab.evaluate(() => window.firstPicture);
  await tab.close();
  return ms;
}

(async () => {
  const [ours, originals] = process.argv.slice(2).map((p) => p && path.resolve(p));
  if (!ours || !originals || !fs.existsSync(path.join(ours, "index.html"))) {
    console.error("usage: node tools/bench/web-photos-load.js SITE-FOLDER ORIGINALS-FOLDER");
    process.exit(2);
  }
  const twin = magickTwin(ours, originals);
  const browser = await launch();
  const figures = {};
  for (const [name, folder] of [["ours", ours], ["ImageMagick", twin]]) {
    const server = await serve(folder);
    const runs = [];
    for (let i = 0; i < 3; i++) runs.push(await firstPicture(browser, server.url + "index.html"));
    server.close();
    figures[name] = { ms: runs.sort((a, b) => a - b)[1], bytes: bytes(folder) };
    console.log(`${name.padEnd(11)} first picture after ${(figures[name].ms / 1000).toFixed(2)} s, ` +
      `${jpegs(folder).length} pictures of ${(figures[name].bytes / 1e6).toFixed(2)} MB`);
  }
  await browser.close();
  fs.rmSync(twin, { recursive: true, force: true });
  const ratio = figures.ours.bytes / figures.ImageMagick.bytes;
  const fast = figures.ours.ms <= GOALS.firstPicture, light = ratio <= GOALS.bytesRatio;
  console.log(`first picture: goal within ${GOALS.firstPicture / 1000} s ${fast ? "ok" : "OVER"}`);
  console.log(`bytes: ${ratio.toFixed(2)} times ImageMagick's (goal at most ${GOALS.bytesRatio}) ${light ? "ok" : "OVER"}`);
  process.exit(fast && light ? 0 : 1);
})();
