// How busy the web player keeps a page's main thread: a show of 30 frames at PAUSE 100 in a
// 300 x 200 player, on screen and scrolled off screen, each measured over 5 seconds with
// Chromium's TaskDuration metric (time the renderer's main thread spent on tasks); each
// figure is the median of three runs, since a busy machine shifts single runs.
// Run after `npm ci` in tests/web:  node tools/bench/web-player-cpu.js
"use strict";
const fs = require("node:fs");
const path = require("node:path");
const { png, page, site, serve, launch } = require("../../tests/web/support.js");

const SECONDS = 5;
const GOALS = { "on screen": 0.04, "off screen": 0.005 };

async function busy(browser, url) {
  const tab = await browser.newPage();
  await tab.setViewport({ width: 800, height: 600 });
  await tab.goto(url, { waitUntil: "load" });
  await tab.waitForFunction(() => window.quilanimPlayers.players[0].frames.every((f) => f.state));
  const metric = async () => (await tab.metrics()).TaskDuration;
  const before = await metric();
  await new Promise((r) => setTimeout(r, SECONDS * 1000));
  const share = ((await metric()) - before) / SECONDS;
  await tab.close();
  return share;
}

(async () => {
  const folder = site();
  const names = [];
  for (let i = 0; i < 30; i++) {
    names.push(`f${i}.png`);
    fs.writeFileSync(path.join(folder, names[i]), png(120, 90, (x, y) => [(i * 8 + x) & 255, (y * 2) & 255, i * 8]));
  }
  const params = { imagelist: names.join(","), captionlist: names.join("|"), pause: 100, move: "3,2" };
  fs.writeFileSync(path.join(folder, "on.html"), page([{ params, width: 300, height: 200 }]));
  fs.writeFileSync(path.join(folder, "off.html"), page([{ params, width: 300, height: 200 }],
    { body: '<div style="height:5000px">Text above the show.</div>\n' }));
  const server = await serve(folder);
  const browser = await launch();
  let failed = false;
  for (const [name, file] of [["on screen", "on.html"], ["off screen", "off.html"]]) {
    const runs = [];
    for (let i = 0; i < 3; i++) runs.push(await busy(browser, server.url + file));
    const share = runs.sort((x, y) => x - y)[1];
    const ok = share < GOALS[name];
    failed ||= !ok;
    console.log(`${name}: main thread busy ${(share * 100).toFixed(2)} % of a core ` +
      `(goal under ${GOALS[name] * 100} %) ${ok ? "ok" : "OVER"}`);
  }
  await browser.close();
  server.close();
  fs.rmSync(folder, { recursive: true, force: true });
  process.exit(failed ? 1 : 0);
})();
