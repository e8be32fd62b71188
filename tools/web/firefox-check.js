// Hand check of the web player in headless Firefox (puppeteer-core over WebDriver BiDi): pages
// with an empty and a header-only soundtrack, one with captions of 30 000 characters without a
// blank, and a change of pixel density alone. For each it prints the errors the page threw, the
// pause button and live region after a pause and after a resume, the longest input delay and
// main-thread stall while it plays, and the canvas's backing store; it saves a screenshot of each.
//   (cd tests/web && npm ci); node tools/web/firefox-check.js [firefox] [screenshot folder]
"use strict";
const fs = require("node:fs");
const path = require("node:path");
const web = path.join(__dirname, "../../tests/web");
const { auFile, png, page, site, serve } = require(path.join(web, "support.js"));
const puppeteer = require(require.resolve("puppeteer-core", { paths: [web] }));

const [firefox = "/usr/bin/firefox-esr", shots = process.cwd()] = process.argv.slice(2);
const long = "x".repeat(30000);
const pages = [ // [name, parameters, width, height, a pixel density to change to]
  ["empty-soundtrack", { imagelist: "r.png,g.png", soundtrack: "empty.au", pause: 500 }, 200, 100],
  ["header-only-soundtrack", { imagelist: "r.png,g.png", soundtrack: "header.au", pause: 500 }, 200, 100],
  ["long-caption", { imagelist: "r.png,g.png", captionlist: long + "|y" + long, scale: "fit", pause: 600 }, 300, 200],
  ["pixel-density", { imagelist: "r.png", pause: 100000 }, 200, 100, 2],
];
const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

// Errors thrown anywhere in the page, the delay of every key press before its handlers ran,
// and the longest a 10-ms timer waited beyond its time (the longest the main thread was busy).
function record() {
  window.caught = [];
  window.lags = [];
  window.stall = 0;
  addEventListener("error", (e) => caught.push(String(e.message)));
  addEventListener("unhandledrejection", (e) => caught.push(String(e.reason)));
  addEventListener("keydown", (e) => lags.push(performance.now() - e.timeStamp), true);
  let last = performance.now();
  setInterval(() => [(stall = Math.max(stall, performance.now() - last - 10)), (last = performance.now())], 10);
}

// The player's state as a person meets it.
const state = (tab) => tab.evaluate(() => {
  const q = (s) => document.querySelector(s), c = q(".quilanim canvas"), a = window.quilanimPlayers.audio;
  return { button: q(".quilanim button").getAttribute("aria-label"), live: q(".quilanim-live").getAttribute("aria-live"),
    audio: a && a.state, store: [c.width, c.height], ratio: devicePixelRatio };
});

async function check(browser, url, [name, params, width, height, density]) {
  const tab = await browser.newPage(), thrown = [];
  tab.on("pageerror", (e) => thrown.push(String(e)));
  await tab.setViewport({ width: 800, height: 600, deviceScaleFactor: 1 });
  await tab.evaluateOnNewDocument(record);
  await tab.goto(url + name + ".html", { waitUntil: "load" });
  await tab.waitForFunction(() => window.quilanimPlayers && window.quilanimPlayers.players.every((p) => p.started));
  await tab.click("p"); // the gesture that would unlock sound
  await tab.click(".quilanim");
  const paused = await state(tab);
  await tab.click(".quilanim");
  const resumed = await state(tab);
  if (density) [await tab.setViewport({ width: 800, height: 600, deviceScaleFactor: density }), await sleep(300)];
  await tab.focus(".quilanim");
  await tab.evaluate(() => (stall = 0));
  for (let i = 0; i < 10; i++) [await tab.keyboard.press("k"), await sleep(150)];
  await sleep(3000); // what it throws while it plays
  const after = await state(tab);
  const [caught, lags, stall] = await tab.evaluate(() => [caught, lags, stall]);
  await tab.screenshot({ path: path.join(shots, `firefox-${name}.png`) });
  await tab.close();
  const ok = !thrown.length && !caught.length && paused.button == "Play slideshow" && paused.live == "polite" &&
    resumed.button == "Pause slideshow" && resumed.live == "off" && after.button == "Pause slideshow" && Math.max(...lags, stall) < 100 &&
    (!density || after.store[0] == width * density);
  console.log(JSON.stringify({ name, ok, errors: thrown.concat(caught), paused, resumed, after,
    maxInputDelayMs: Math.round(Math.max(...lags)), longestStallMs: Math.round(stall) }));
  return ok;
}

(async () => {
  fs.mkdirSync(shots, { recursive: true });
  const folder = site();
  fs.writeFileSync(path.join(folder, "r.png"), png(20, 20, [255, 0, 0]));
  fs.writeFileSync(path.join(folder, "g.png"), png(20, 20, [0, 255, 0]));
  fs.writeFileSync(path.join(folder, "empty.au"), "");
  fs.writeFileSync(path.join(folder, "header.au"), Buffer.from(auFile({ encoding: 1, rate: 8000, channels: 1, samples: [] })));
  for (const [name, params, width, height] of pages)
    fs.writeFileSync(path.join(folder, name + ".html"), page([{ params, width, height }], { body: "<p>Text of the page.</p>\n" }));
  const server = await serve(folder);
  const browser = await puppeteer.launch({ browser: "firefox", executablePath: firefox, headless: true });
  console.log(await browser.version());
  let ok = true;
  try {
    for (const p of pages) ok = (await check(browser, server.url, p)) && ok;
  } finally {
    await browser.close();
    server.close();
    fs.rmSync(folder, { recursive: true, force: true });
  }
  process.exitCode = ok ? 0 : 1;
})();
