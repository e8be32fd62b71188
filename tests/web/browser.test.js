// The web player in headless Chromium: pages served from 127.0.0.1 and opened from disk.
// Frames are solid colours, so what the player draws tells which frame it shows and where.
"use strict";
const { test, before, after } = require("node:test");
const assert = require("node:assert/strict");
const { execFileSync } = require("node:child_process");
const fs = require("node:fs");
const os = require("node:os");
const path = require("node:path");
const { auFile, png, gif, page, site, serve, launch, openPage } = require("./support.js");

const RED = [255, 0, 0], GREEN = [0, 255, 0], BLUE = [0, 0, 255];
let browser, server, folder;

before(async () => {
  folder = site();
  for (const [name, colour] of [["r", RED], ["g", GREEN], ["b", BLUE]])
    fs.writeFileSync(path.join(folder, name + ".png"), png(20, 20, colour));
  fs.writeFileSync(path.join(folder, "wide.png"), png(30, 20, RED));
  fs.writeFileSync(path.join(folder, "tile.png"), png(50, 40, (x, y) => (x < 25 ? [10, 10, 10] : [240, 240, 240])));
  const tone = Array.from({ length: 4000 }, (_, i) => Math.round(8000 * Math.sin(i / 3)));
  fs.writeFileSync(path.join(folder, "tune.au"), Buffer.from(auFile({ encoding: 1, rate: 8000, channels: 1, samples: tone })));
  server = await serve(folder);
  browser = await launch();
});

after(async () => {
  await browser.close();
  server.close();
});

// Serves a page of elements and opens it; the test fails on any console or page error.
async function open(name, elements, options = {}, setup) {
  fs.writeFileSync(path.join(folder, name + ".html"), page(elements, options));
  const tab = await openPage(browser, server.url + name + ".html", setup);
  await tab.waitForFunction((n) => window.quilanimPlayers && window.quilanimPlayers.players.length >= n &&
    window.quilanimPlayers.players.every((p) => p.started || p.s.problem), {}, elements.length);
  return tab;
}

async function done(tab) {
  assert.deepEqual(tab.errors, [], "console errors");
  await tab.close();
}

// The colour the index-th player's canvas shows at x, y.
const pixel = (tab, x, y, index = 0) => tab.evaluate((i, x, y) =>
  Array.from(document.querySelectorAll(".quilanim canvas")[i].getContext("2d").getImageData(x, y, 1, 1).data.slice(0, 3)),
index, x, y);

// Watches one pixel for ms and answers its changes as [milliseconds, "r,g,b"].
const watch = (tab, x, y, ms) => tab.evaluate((x, y, ms) => new Promise((resolve) => {
  const c = document.querySelector(".quilanim canvas").getContext("2d"), out = [], start = performance.now();
  const id = setInterval(() => {
    const now = performance.now() - start, key = Array.from(c.getImageData(x, y, 1, 1).data.slice(0, 3)).join();
    if (!out.length || out[out.length - 1][1] != key) out.push([now, key]);
    if (now > ms) { clearInterval(id); resolve(out); }
  }, 3);
}), x, y, ms);

// The left and right columns of the picture in row y (colour key), or null when not drawn.
const span = (tab, y, key) => tab.evaluate((y, key) => {
  const c = document.querySelector(".quilanim canvas"), d = c.getContext("2d").getImageData(0, y, c.width, 1).data;
  let first = -1, last = -1;
  for (let x = 0; x < c.width; x++) {
    if ([d[x * 4], d[x * 4 + 1], d[x * 4 + 2]].join() != key) continue;
    if (first < 0) first = x;
    last = x;
  }
  return first < 0 ? null : [first, last];
}, y, key);

const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

test("frames change with PAUSE, ENDDELAY holds the last, REPEAT stops on it", async () => {
  const asked = server.requests.length;
  // The pixel is watched from before the show starts.
  const tab = await open("timing", [{ params: { imagelist: "r.png,g.png,b.png", pause: 150, enddelay: 400, repeat: 2 } }],
    {}, (t) => t.evaluateOnNewDocument(() => {
      window.seen = [];
      setInterval(() => {
        const c = document.querySelector(".quilanim canvas");
        const key = c && Array.from(c.getContext("2d").getImageData(5, 5, 1, 1).data.slice(0, 3)).join();
        if (key && key != "192,192,192" && (!seen.length || seen[seen.length - 1][1] != key)) seen.push([performance.now(), key]);
      }, 3);
    }));
  await sleep(2400);
  // The pictures are fetched one after the other, in play order.
  assert.deepEqual(server.requests.slice(asked).filter((r) => r.endsWith(".png")), ["/r.png", "/g.png", "/b.png"]);
  const seen = await tab.evaluate(() => seen);
  assert.deepEqual(seen.map((s) => s[1]), ["255,0,0", "0,255,0", "0,0,255", "255,0,0", "0,255,0", "0,0,255"]);
  // Drift-free timing: a frame drawn late makes the next gap as much shorter.
  [150, 150, 550, 150, 150].forEach((want, i) => {
    const gap = seen[i + 1][0] - seen[i][0];
    assert.ok(gap >= want - 40 && gap <= want + 250, `gap ${i}: ${gap} ms, wanted ${want}`);
  });
  // The show is over on its last frame; a click no longer changes anything.
  await tab.click(".quilanim");
  await sleep(300);
  assert.deepEqual(await pixel(tab, 5, 5), BLUE);
  await done(tab);
});

test("a click and the keys pause and resume", async () => {
  const tab = await open("pausing", [{ params: { imagelist: "r.png,g.png", pause: 80, captionlist: "Red|Green" } }]);
  const button = () => tab.$eval(".quilanim button", (b) => b.getAttribute("aria-label"));
  const live = () => tab.$eval(".quilanim-live", (l) => [l.getAttribute("aria-live"), l.textContent]);
  for (const press of [() => tab.click(".quilanim"), () => tab.keyboard.press("Space"),
    () => tab.keyboard.press("Enter"), () => tab.keyboard.press("k")]) {
    await tab.focus(".quilanim");
    await press();
    const held = await watch(tab, 5, 5, 400);
    assert.equal(held.length, 1, "paused: one colour throughout");
    assert.equal(await button(), "Play slideshow");
    const [politeness, text] = await live();
    assert.equal(politeness, "polite");
    assert.equal(text, held[0][1] == "255,0,0" ? "Red" : "Green");
    await press();
    assert.ok((await watch(tab, 5, 5, 400)).length >= 3, "playing again");
    assert.equal(await button(), "Pause slideshow");
    assert.equal((await live())[0], "off");
  }
  // Space does not scroll the page while the player has the focus.
  assert.equal(await tab.evaluate(() => window.scrollY), 0);
  await done(tab);
});

test("bounce keeps the picture inside, wrap brings it back at the other edge", async () => {
  for (const [bounce, width] of [["yes", 100], ["false", 100]]) {
    const tab = await open("move-" + bounce, [{ params: { imagelist: "r.png", move: "10,0", pause: 25, bounce }, width, height: 40 }]);
    const spans = [];
    const end = Date.now() + 1500;
    while (Date.now() < end) spans.push(await span(tab, 10, "255,0,0"));
    const lefts = spans.filter(Boolean).map((s) => (s[1] - s[0] + 1 < 20 && s[0] == 0 ? s[1] - 19 : s[0]));
    if (bounce == "yes") {
      assert.ok(spans.every((s) => s && s[1] - s[0] == 19), "always whole");
      assert.ok(lefts.every((x) => x >= 0 && x <= 80 && x % 10 == 0), lefts.join());
      const turn = lefts.indexOf(80);
      assert.ok(turn >= 0 && lefts.slice(turn).some((x) => x < 80), "turns at the right edge");
    } else {
      assert.ok(lefts.some((x) => x > 80), "leaves at the right edge");
      assert.ok(lefts.some((x) => x < 0), "comes back in at the left edge");
      assert.ok(lefts.every((x) => x >= -20 && x < 100 && x % 10 == 0), lefts.join());
    }
    await done(tab);
  }
});

test("background colours and status texts", async () => {
  const rows = [
    // [parameters, colour at a corner, data-status, warnings]
    [{ bg: "#FF8000" }, [255, 128, 0], null],
    [{ bg: " 10, 20 ,30 " }, [10, 20, 30], null],
    [{}, [192, 192, 192], null],
    [{ bg: "#12345" }, [170, 170, 170], "Background messed up, using default"],
    [{ move: "4", bg: "red" }, [170, 170, 170], "Background messed up, using default", ["Invalid movement param"]],
    [{ move: "1;2" }, [192, 192, 192], "Invalid movement param"],
  ];
  for (const [params, corner, status, more = []] of rows) {
    // The damaged values must not stop the show.
    const tab = await open("bg-" + rows.indexOf(rows.find((r) => r[0] == params)), [{ params: { imagelist: "r.png,g.png", pause: 60, repeat: "many", ...params } }]);
    assert.deepEqual(await pixel(tab, 199, 99), corner, JSON.stringify(params));
    assert.equal(await tab.$eval(".quilanim", (b) => b.getAttribute("data-status")), status);
    assert.deepEqual(tab.warnings, [...more, status].filter(Boolean).map((t) => "quilanim: " + t));
    assert.ok((await watch(tab, 5, 5, 300)).length >= 3, "plays");
    await done(tab);
  }
});

test("\"No image list. Essential!\" is drawn and reported", async () => {
  // The applet reads nothing after the missing list, so BG is not read either: grey.
  const tab = await open("nolist", [{ params: { captionlist: "x", bg: "#000000" } }]);
  assert.equal(await tab.$eval(".quilanim", (b) => b.getAttribute("data-status")), "No image list. Essential!");
  assert.deepEqual(tab.warnings, ["quilanim: No image list. Essential!"]);
  assert.deepEqual(await pixel(tab, 199, 99), [192, 192, 192]);
  assert.equal(await tab.$eval(".quilanim button", (b) => b.getAttribute("aria-label")), "Play slideshow");
  // Black text in the top line, nothing below it.
  const top = await tab.evaluate(() => Array.from(document.querySelector(".quilanim canvas").getContext("2d")
    .getImageData(0, 0, 200, 100).data).reduce((n, v, i) => (i % 4 == 0 && v < 96 ? n.concat(Math.floor(i / 800)) : n), []));
  assert.ok(top.length > 20 && Math.min(...top) >= 4 && Math.max(...top) < 22, `text rows ${Math.min(...top)}..${Math.max(...top)}`);
  await done(tab);
});

test("reduced motion: the picture stays put and the show starts paused", async () => {
  const tab = await open("still", [{ params: { imagelist: "r.png,g.png", move: "7,3", pause: 60 } }], {},
    (t) => t.emulateMediaFeatures([{ name: "prefers-reduced-motion", value: "reduce" }]));
  assert.equal((await watch(tab, 5, 5, 300)).length, 1);
  assert.equal(await tab.$eval(".quilanim button", (b) => b.getAttribute("aria-label")), "Play slideshow");
  await tab.click(".quilanim");
  assert.ok((await watch(tab, 5, 5, 400)).length >= 3, "plays after a click");
  assert.deepEqual(await span(tab, 0, "255,0,0") || await span(tab, 0, "0,255,0"), [0, 19]);
  await done(tab);
});

test("a hostile caption stays text", async () => {
  const hostile = '<img src=x onerror="window.owned=1">"><script>window.owned=2</script>&amp;';
  const tab = await open("hostile", [{ params: { imagelist: "r.png", captionlist: hostile, fontname: '"};x{' } }]);
  await tab.waitForFunction(() => !document.querySelector(".quilanim img")); // the first picture's, while it shows
  assert.equal(await tab.evaluate(() => window.owned), undefined);
  assert.equal(await tab.$eval(".quilanim", (b) => b.getAttribute("aria-label")), hostile);
  assert.equal(await tab.$eval(".quilanim-live", (l) => l.textContent), hostile);
  assert.equal(await tab.evaluate(() => document.querySelectorAll(".quilanim img, .quilanim script").length), 0);
  assert.ok(!server.requests.includes("/x"));
  await done(tab);
});

test("two elements with two script lines: two players, each once", async () => {
  const tab = await open("two", [
    { params: { imagelist: "r.png,g.png", pause: 70 } },
    { params: { imagelist: "b.png,r.png", pause: 70 }, code: "QuilAnim.Class" },
  ], { body: '<applet code="Other" width=10 height=10></applet>\n' });
  await tab.evaluate(() => new Promise((r) => setTimeout(r, 100)));
  assert.equal(await tab.evaluate(() => window.quilanimPlayers.players.length), 2);
  assert.equal(await tab.evaluate(() => document.querySelectorAll(".quilanim").length), 2);
  assert.equal(await tab.evaluate(() => document.querySelectorAll("applet[data-quilanim]").length), 2);
  const second = await tab.evaluate(() => new Promise((resolve) => {
    const c = document.querySelectorAll(".quilanim canvas")[1].getContext("2d"), seen = new Set();
    const id = setInterval(() => seen.add(c.getImageData(5, 5, 1, 1).data.join()), 5);
    setTimeout(() => { clearInterval(id); resolve(seen.size); }, 400);
  }));
  assert.equal(second, 2);
  // The show keeps its PAUSE, not half of it: one timer per player.
  const seen = await watch(tab, 5, 5, 700);
  assert.ok(seen.length >= 4 && seen.length <= 12, seen.length + " changes");
  await done(tab);
});

test("off screen the show waits; more than a viewport away it loads nothing", async () => {
  for (const [above, far] of [[900, false], [3000, true]]) { // the viewport is 600 high
    fs.writeFileSync(path.join(folder, "offscreen.html"), page([{ params: { imagelist: "r.png,g.png", pause: 50 } }], { body: `<div style="height:${above}px">Text.</div>\n` }));
    const asked = server.requests.length, tab = await openPage(browser, server.url + "offscreen.html");
    await sleep(400);
    assert.deepEqual([server.requests.slice(asked).some((r) => r.endsWith(".png")), await tab.evaluate(() => !!window.quilanimPlayers.players[0].started),
      far || (await watch(tab, 5, 5, 400)).length], [!far, !far, far || 1], `${above} px above`);
    [await tab.$eval(".quilanim", (b) => b.scrollIntoView()), await tab.waitForFunction(() => window.quilanimPlayers.players[0].started)];
    assert.ok((await watch(tab, 5, 5, 400)).length >= 3);
    await done(tab);
  }
});

test("width and height 0 take the largest picture or the tiled background", async () => {
  const tab = await open("fit", [{ params: { imagelist: "r.png,wide.png", background: "tile.png", pause: 100000 }, width: 0, height: 0 }]);
  assert.deepEqual(await tab.$eval(".quilanim canvas", (c) => [c.offsetWidth, c.offsetHeight, c.width, c.height]), [50, 40, 50, 40]);
  assert.deepEqual(await pixel(tab, 30, 30), [240, 240, 240]); // tile right half
  assert.deepEqual(await pixel(tab, 5, 30), [10, 10, 10]); // tile left half
  assert.deepEqual(await pixel(tab, 5, 5), RED); // the first picture
  await done(tab);
});

test("the soundtrack plays after a gesture on a served page, and stops with the show", async () => {
  const tab = await open("sound", [{ params: { imagelist: "r.png,g.png", soundtrack: "tune.au", pause: 100 } }],
    { body: "<p>Some text of the page.</p><style>body{padding-bottom:3000px}</style>\n" });
  await tab.waitForFunction(() => window.quilanimPlayers.players[0].pcm);
  const state = () => tab.evaluate(() => {
    const p = window.quilanimPlayers.players[0];
    return { audio: window.quilanimPlayers.audio && window.quilanimPlayers.audio.state, playing: !!p.source,
      rate: p.pcm.sampleRate, length: p.pcm.length, once: !p.source || p.source.buffer === p.pcm };
  });
  assert.deepEqual(await state(), { audio: null, playing: false, rate: 8000, length: 4000, once: true });
  await tab.click("p");
  await tab.waitForFunction(() => window.quilanimPlayers.audio.state == "running");
  assert.equal((await state()).playing, true);
  await tab.click(".quilanim");
  assert.equal((await state()).playing, false);
  await tab.click(".quilanim");
  assert.deepEqual(await state(), { audio: "running", playing: true, rate: 8000, length: 4000, once: true });
  for (const [y, playing] of [[1500, false], [0, true]]) { // off screen the sound pauses with the frames
    [await tab.evaluate((y) => scrollTo(0, y), y), await sleep(200)];
    assert.equal((await state()).playing, playing, `scrolled to ${y}`);
  }
  assert.equal(server.requests.filter((r) => r == "/tune.au").length, 1);
  await done(tab);
});

test("axe-core finds no WCAG 2.1 A/AA violation in the player", async () => {
  const tab = await open("axe", [{ params: { imagelist: "r.png,g.png", captionlist: "Red|Green", pause: 200 } }]);
  await tab.addScriptTag({ path: require.resolve("axe-core/axe.min.js") });
  for (const paused of [false, true]) {
    if (paused) await tab.click(".quilanim");
    const result = await tab.evaluate(() => axe.run(".quilanim",
      { runOnly: { type: "tag", values: ["wcag2a", "wcag2aa", "wcag21a", "wcag21aa"] } }));
    assert.deepEqual(result.violations.map((v) => v.id + ": " + v.nodes.map((n) => n.html).join()), []);
    assert.ok(result.passes.length > 3);
  }
  await done(tab);
});

test("a preview written by reelcraft-cli plays from disk, silently", { skip: !process.env.REELCRAFT_CLI }, async () => {
  const home = fs.mkdtempSync(path.join(os.tmpdir(), "quilanim-preview-"));
  const url = (name) => "file://" + path.join(folder, name);
  const project = path.join(home, "show.rcf");
  fs.writeFileSync(project, '<applet code="quilanim" width=200 height=100>\r\n' +
    `<param name="imagelist" value="${url("r.png")},${url("g.png")},${url("b.png")}">\r\n` +
    '<param name="captionlist" value="Red|Green|Blue">\r\n<param name="pause" value="400">\r\n' +
    `<param name="soundtrack" value="${path.join(folder, "tune.au")}">\r\n</applet>`);
  const env = { ...process.env, XDG_DATA_HOME: path.join(home, "data"), XDG_CONFIG_HOME: path.join(home, "config") };
  const pagePath = execFileSync(process.env.REELCRAFT_CLI, ["preview", project], { env }).toString().trim();
  assert.ok(fs.existsSync(path.join(path.dirname(pagePath), "quilanim.js")));
  const requests = [];
  const tab = await openPage(browser, "file://" + pagePath, (t) => t.on("request", (r) => requests.push(r.url())));
  await tab.waitForFunction(() => window.quilanimPlayers && window.quilanimPlayers.players[0].started);
  assert.equal(await tab.evaluate(() => document.compatMode), "BackCompat"); // the preview has no doctype
  const shots = [];
  for (let i = 0; i < 2; i++) {
    const file = process.env.WEB_PLAYER_SHOTS && path.join(process.env.WEB_PLAYER_SHOTS, `preview-${i}.png`);
    shots.push(await tab.screenshot({ path: file, clip: { x: 0, y: 0, width: 240, height: 120 } }));
    await sleep(400);
  }
  assert.notDeepEqual(shots[0], shots[1]);
  assert.ok(!requests.some((r) => r.endsWith(".au")), "no soundtrack request from a file: page");
  assert.deepEqual(tab.warnings, []);
  await done(tab);
  fs.rmSync(home, { recursive: true, force: true });
});

test("a page made by reelcraft-cli from names with '#', '?' and a leading blank plays every frame", { skip: !process.env.REELCRAFT_CLI }, async () => {
  const home = fs.mkdtempSync(path.join(folder, "names-"));
  fs.mkdirSync(path.join(home, "pics"));
  const colours = [["a#b.gif", RED], ["c?d.gif", GREEN], [" lead.gif", BLUE]];
  for (const [name, colour] of colours) fs.writeFileSync(path.join(home, "pics", name), gif(20, 20, colour));
  const env = { ...process.env, XDG_DATA_HOME: path.join(home, "data"), XDG_CONFIG_HOME: path.join(home, "config") };
  execFileSync(process.env.REELCRAFT_CLI, ["make", path.join(home, "site", "index.html"), path.join(home, "pics"),
    "--size", "20x20", "--pause", "150"], { env });
  const before = server.requests.length;
  const tab = await openPage(browser, server.url + path.basename(home) + "/site/index.html");
  await tab.waitForFunction(() => window.quilanimPlayers && window.quilanimPlayers.players[0].started);
  const seen = new Set((await watch(tab, 10, 10, 1500)).map(([, key]) => key));
  for (const [name, colour] of colours) assert.ok(seen.has(colour.join()), `${name} is shown`);
  const asked = server.requests.slice(before).filter((r) => r.endsWith(".gif")).sort();
  assert.deepEqual(asked, colours.map(([name]) => `/${path.basename(home)}/site/${name}`).sort());
  await done(tab);
});

test("the Java applet and the web player draw and report alike", { skip: !process.env.REELCRAFT_HARNESS_CP }, async () => {
  const rows = [
    { imagelist: "wide.png,g.png", bg: "#336699", pause: "100000" },
    { imagelist: "wide.png", move: "-5,-5", bg: "12,200,7", pause: "100000" },
    { imagelist: "wide.png", move: "5,x", bg: "#zzzzzz", pause: "100000" },
    { captionlist: "x", bg: "#ffffff" },
  ];
  for (const params of rows) {
    const out = path.join(folder, "applet.png");
    const printed = execFileSync(process.env.REELCRAFT_JAVA, ["-cp", process.env.REELCRAFT_HARNESS_CP, "AppletHarness",
      "render", "file://" + path.join(folder, "page.html"), "200", "100", out,
      ...Object.entries(params).map(([n, v]) => n + "=" + v)]).toString();
    const statuses = printed.split("\n").filter((l) => l.startsWith("status: ")).map((l) => l.slice(8));
    const tab = await open("compare-" + rows.indexOf(params), [{ params }]);
    // Both pictures' pixels, read in the page: the player's canvas and the applet's PNG.
    const [web, applet] = (await tab.evaluate(async () => {
      const img = new Image();
      img.src = "applet.png?" + Math.random();
      await img.decode();
      const c = document.createElement("canvas");
      c.width = 200;
      c.height = 100;
      c.getContext("2d").drawImage(img, 0, 0);
      return [document.querySelector(".quilanim canvas"), c].map((k) => Array.from(k.getContext("2d").getImageData(0, 0, 200, 100).data));
    })).map((d) => (x, y) => d.slice((y * 200 + x) * 4, (y * 200 + x) * 4 + 3));
    const label = JSON.stringify(params);
    assert.deepEqual(web(199, 99), applet(199, 99), label + " background");
    // The picture's box: every pixel of its colour, in both.
    const box = (at) => {
      let b = null;
      for (let y = 0; y < 100; y++) for (let x = 0; x < 200; x++) {
        if (at(x, y).join() != "255,0,0") continue;
        b = b ? [Math.min(b[0], x), Math.min(b[1], y), Math.max(b[2], x), Math.max(b[3], y)] : [x, y, x, y];
      }
      return b;
    };
    assert.deepEqual(box(web), box(applet), label + " first frame");
    assert.deepEqual(tab.warnings.map((w) => w.replace("quilanim: ", "")), statuses, label + " status texts");
    await done(tab);
  }
});

// The bounding box [x, y, w, h] of the pixels near colour in the canvas; null if none.
const found = (tab, colour) => tab.evaluate((colour) => {
  const c = document.querySelector(".quilanim canvas"), d = c.getContext("2d").getImageData(0, 0, c.width, c.height).data;
  let b = [1 / 0, 1 / 0, -1, -1];
  for (let i = 0, x = 0, y = 0; i < d.length; i += 4, x = (i / 4) % c.width, y = Math.floor(i / 4 / c.width))
    if (Math.abs(d[i] - colour[0]) + Math.abs(d[i + 1] - colour[1]) + Math.abs(d[i + 2] - colour[2]) <= 12) b = [Math.min(b[0], x), Math.min(b[1], y), Math.max(b[2], x), Math.max(b[3], y)];
  return b[2] < 0 ? null : [b[0], b[1], b[2] - b[0] + 1, b[3] - b[1] + 1];
}, colour);

test("fitted pictures are drawn where the shared geometry table puts them", async () => {
  const table = JSON.parse(fs.readFileSync(path.join(__dirname, "../data/fit-geometry.json"))).layout, colours = [RED, GREEN, BLUE];
  for (const r of table.filter((r) => r.sizes.every((z) => z[0] * z[1] <= 200000) && r.area[1] > 0)) {
    const files = r.sizes.map((z, i) => (fs.writeFileSync(path.join(folder, `fit${i}.png`), png(z[0], z[1], colours[i])), `fit${i}.png`));
    const tab = await open("fit", [{ params: { imagelist: files.join(), bg: "#ffffff", pause: 100000, move: r.move.join(),
      scale: r.scale ? "FIT" : "none", ...(r.captions && { captionlist: "Mg|Mg|Mg" }), ...(r.fontSize != null && { fontsize: r.fontSize }) },
    width: r.box[0], height: r.box[1] }]);
    for (const [i, [x, y, w, h]] of r.drawn.entries()) {
      // (Pictures after the first load once it has been shown, and draw once decoded.)
      await tab.waitForFunction((i) => [window.quilanimPlayers.players[0].frames[i]].every((f) => f.state > 0 && f.bm !== null), {}, i);
      await tab.evaluate((i) => Object.assign(window.quilanimPlayers.players[0], { frame: i }).draw(), i);
      const seen = [Math.max(0, x), Math.max(0, y), Math.min(x + w, r.box[0]) - Math.max(0, x), Math.min(y + h, r.box[1]) - Math.max(0, y)];
      assert.deepEqual(await found(tab, colours[i]), seen[2] > 0 && seen[3] > 0 ? seen : null, `${r.name}: picture ${i}`);
    }
    if (r.band) assert.ok((await found(tab, [0, 0, 0]))[1] >= r.area[1], r.name + ": caption in the band");
    await done(tab);
  }
});

test("the player fits narrow screens and follows the pixel density, without a layout shift", async () => {
  const tab = await open("narrow", [{ params: { imagelist: "r.png", scale: "fit", captionlist: "A", pause: 100000 }, width: 300, height: 200 }],
    {}, async (t) => { await t.setViewport({ width: 160, height: 600, deviceScaleFactor: 1.75 }); await t.evaluateOnNewDocument(() => {
      new PerformanceObserver((l) => l.getEntries().forEach((e) => (window.shift = (window.shift || 0) + e.value))).observe({ type: "layout-shift", buffered: true });
      const media = window.matchMedia, asked = (window.densities = []); // the resolution queries the page listens to
      window.matchMedia = (q) => ((l) => (/resolution/.test(q) && asked.push(l), l))(media.call(window, q));
    }); });
  const size = () => tab.evaluate(() => [window.shift || 0, document.documentElement.scrollWidth,
    ...["offsetWidth", "offsetHeight", "width", "height"].map((k) => document.querySelector(".quilanim canvas")[k])]);
  assert.deepEqual(await size(), [0, 160, 144, 96, 252, 168]); // 8-px body margins
  // Headless Chromium tells the resolution query's listeners of a new ratio only when the width changes with it; in the
  // last rows only the ratio changes, and the test tells them as an engine does. The player then listens for the next.
  for (const [width, scale, want, told] of [[250, 1, [250, 234, 156, 234, 156]], [800, 2, [800, 300, 200, 600, 400]],
    [800, 3, [800, 300, 200, 900, 600], true], [800, 2, [800, 300, 200, 600, 400], true]]) {
    [await tab.setViewport({ width, height: 600, deviceScaleFactor: scale }), await sleep(100)];
    const media = await tab.evaluate((told) => (told && densities.at(-1).dispatchEvent(new MediaQueryListEvent("change")), densities.at(-1).media), told);
    assert.deepEqual([...(await size()).slice(1), media], [...want, `(resolution: ${scale}dppx)`], `${width} px at ${scale}`);
  }
  assert.deepEqual(await found(tab, RED), [280, 142, 40, 40]); // twice the box's size, above the band
  await done(tab);
});

test("pictures load first one, then three ahead and three at a time, after the page's load event", async () => {
  const names = Array.from({ length: 8 }, (_, i) => (fs.writeFileSync(path.join(folder, `slow${i}.png`), png(40, 30, [i * 30, 100, 50])), `slow${i}.png`)); // answered after 150 ms
  const record = (t) => t.evaluateOnNewDocument(() => new PerformanceObserver((l) => l.getEntries().forEach(({ url, element: e }) =>
    (window.lcp = [url, e.tagName, e.alt, e.style.left, e.style.top, e.style.width, e.style.height]))).observe({ type: "largest-contentful-paint", buffered: true }));
  const loads = (tab) => tab.evaluate((t = performance.getEntriesByType("navigation")[0].loadEventStart) => performance
    .getEntriesByType("resource").filter((e) => e.name.endsWith(".png")).map((e) => [e.name.replace(/.*\//, ""), e.startTime - t, e.responseEnd - t]));
  for (const move of ["0,0", "3,0"]) { // a moving show waits for all
    const tab = await open("fetch", [{ params: { imagelist: names.join(), captionlist: "Pale <b>", pause: 100000, move, scale: "fit" },
      width: 100, height: 100 }], {}, record);
    await sleep(600);
    const l = await loads(tab), most = Math.max(...l.map(([, , a]) => l.filter(([, s, e]) => s <= a && e >= a).length));
    // requests started together may be listed in either order; the first comes alone (below)
    assert.deepEqual(l.map((e) => e[0]).sort(), move == "0,0" ? names.slice(0, 4) : names, move);
    assert.ok(l.every(([, start]) => start >= 0) && l.slice(1).every(([, s]) => s >= l[0][2]), "after the load event; the first alone");
    assert.ok(most <= 3 && most >= 2, `${most} at a time`);
    // The first picture is an image, placed as the canvas draws it, until that has been seen: the largest paint.
    // (Its source is the blob the picture was fetched as, so it is downloaded once.)
    const lcp = await tab.evaluate(() => window.lcp);
    assert.match(lcp[0], new RegExp("^blob:" + server.url.replace(/\/$/, "")));
    assert.deepEqual(lcp.slice(1), ["IMG", "Pale <b>", move == "0,0" ? "30%" : "0%", "16%", "40%", "30%"]);
    await tab.waitForFunction(() => !document.querySelector(".quilanim img"));
    await tab.evaluate(() => window.quilanimPlayers.players[0].enter(2));
    await sleep(400);
    assert.equal((await loads(tab)).length, move == "0,0" ? 6 : 8, "three ahead of frame 3");
    // Only the current frame and the three ahead hold bitmaps, each of its drawn size.
    assert.deepEqual(await tab.evaluate(() => window.quilanimPlayers.players[0].frames
      .filter((f) => f.bm).map((f) => [f.i, f.bm.width, f.bm.height])), [2, 3, 4, 5].map((i) => [i, 40, 30]));
    await done(tab);
  }
});

// Seconds the page's main thread spent on tasks in the next ms milliseconds.
async function busyFor(tab, ms) {
  const before = (await tab.metrics()).TaskDuration;
  await sleep(ms);
  return (await tab.metrics()).TaskDuration - before;
}

test("hostile and unlucky pages: no error, an idle main thread, a bounded heap", async () => {
  const au = (rate, samples) => Buffer.from(auFile({ encoding: 1, rate, channels: 1, samples, size: 0xffffffff }));
  fs.writeFileSync(path.join(folder, "empty.au"), au(8000, []));
  fs.writeFileSync(path.join(folder, "hz1.au"), au(1, new Array(100000).fill(500)));
  for (const name of ["endless.au", "stalled.au"]) fs.writeFileSync(path.join(folder, name), au(8000, [])); // the server adds the rest
  fs.writeFileSync(path.join(folder, "huge.png"), png(10, 10, RED, [10001, 10000]));
  const long = "x".repeat(30000), get = (tab, sel, attr) => tab.$eval(sel, (e, a) => (a ? e.getAttribute(a) : [e.width, e.height]), attr);
  const pauses = (audio) => async (tab) => { // after a gesture: the audio context's state; a pause shows as one and stops the sound
    [await tab.click("p"), await tab.click(".quilanim"), await sleep(300)];
    assert.deepEqual([await tab.evaluate(() => (({ audio: a, players: [p] }) => [a && a.state, !!p.source])(window.quilanimPlayers)),
      await get(tab, ".quilanim button", "aria-label"), await get(tab, ".quilanim-live", "aria-live")], [[audio, false], "Play slideshow", "polite"]);
  }, soundless = pauses(null);
  const rows = [ // [name, parameters, width and height, what else must hold]
    ["an empty soundtrack", { imagelist: "r.png", soundtrack: "empty.au" }, [200, 100], soundless],
    ["a soundtrack at 1 Hz", { imagelist: "r.png", soundtrack: "hz1.au" }, [200, 100], soundless],
    ["no soundtrack", { imagelist: "r.png" }, [200, 100], soundless],
    ["a soundtrack without end", { imagelist: "r.png", soundtrack: "endless.au" }, [200, 100], async (tab) => {
      await tab.waitForFunction((p = window.quilanimPlayers.players[0]) => p.pcm || !p.sounds, { timeout: 30000 });
      const sent = server.flooded["/endless.au"];
      for (let i = 0; i < 50 && !sent.closed; i++) await sleep(100);
      // Cut at 64 MiB, long before the server's 256: beyond the cut only what loopback (up to 32 MiB on Linux) and the
      // browser buffer, which on a busy machine reached 64 MiB. Decoded, an hour at 8 kHz is ten minutes at 48 kHz.
      assert.deepEqual([sent.closed, sent.bytes < 3 * 2 ** 26, await tab.evaluate(() => window.quilanimPlayers.players[0].pcm?.length)],
        [true, true, 28.8e6], `${sent.bytes} bytes sent`);
      await pauses("running")(tab);
    }],
    ["a soundtrack that stalls", { imagelist: "r.png", soundtrack: "stalled.au" }, [200, 100], pauses("running")],
    // Playing: each draw took 200 ms when every draw wrapped the whole caption.
    ["long captions without blanks", { imagelist: "r.png,g.png", captionlist: long + "|y" + long, scale: "fit", pause: 600 }, [300, 200],
      async (tab) => assert.equal(await get(tab, ".quilanim", "aria-label"), long.slice(0, 100))],
    ["a long caption of blanks", { imagelist: "wide.png", captionlist: "x" + " ".repeat(30000) + "\u00a0x".repeat(5000) }, [300, 200],
      async (tab) => assert.equal(await get(tab, ".quilanim", "aria-label"), "x" + " ".repeat(99))],
    ["a picture over 100 megapixels", { imagelist: "huge.png,g.png" }, [0, 0], async (t) => assert.deepEqual([await get(t, ".quilanim", "data-status"),
      await get(t, ".quilanim canvas"), await pixel(t, 5, 5)], [`Picture too large: ${server.url}huge.png`, [20, 20], GREEN])],
    ["a box taller than canvases may be", { imagelist: "r.png" }, [100, 100000], async (t) => assert.deepEqual(await get(t, ".quilanim canvas"), [16, 16384])],
    ["waits rounded up", { imagelist: "r.png,g.png", pause: 90, enddelay: 15 }, [200, 100], async (tab) => {
      // Every timer fires at or after its due time (the page's clock has 0.1 ms steps) and takes a step.
      const ticks = await tab.evaluate(() => new Promise((resolve) => {
        const p = window.quilanimPlayers.players[0], tick = p.tick, out = [];
        p.tick = function () { out.push([performance.now() - this.due, this.frame]); tick.call(this); out[out.length - 1].push(this.frame); };
        setTimeout(() => resolve(out), 2000);
      }));
      assert.ok(ticks.length >= 10 && ticks.every(([late, from, to]) => late > -0.15 && from != to), JSON.stringify(ticks));
    }],
    ["waits past what timers take", { imagelist: "r.png", pause: 2 ** 31 - 1, enddelay: 2 ** 31 - 1 }, [200, 100], async (t) => assert.deepEqual(await pixel(t, 5, 5), RED)],
    ["every picture missing", { imagelist: "missing.png", background: "tile.png" }, [200, 100],
      async (tab) => assert.deepEqual([await pixel(tab, 5, 5), await pixel(tab, 30, 5)], [[10, 10, 10], [240, 240, 240]])],
  ];
  for (const [name, params, [width, height], check] of rows) {
    fs.writeFileSync(path.join(folder, "hostile.html"), page([{ params: { pause: 100000, ...params }, width, height }], { body: "<p>Text.</p>\n" }));
    const tab = await openPage(browser, server.url + "hostile.html");
    await tab.waitForFunction(() => window.quilanimPlayers.players[0].list.every((f) => f.state > 0));
    await check(tab, await sleep(300));
    const busy = [await busyFor(tab, 1500), await busyFor(tab, 1500)]; // the quieter counts: a busy machine adds noise
    assert.ok(Math.min(...busy) < (params.pause ? 0.06 : 0.015), `${name}: main thread busy ${busy} s in 1.5 s`); // 4 % playing, 1 % idle
    assert.ok((await tab.metrics()).JSHeapUsedSize < 32e6, name + ": heap");
    assert.deepEqual(tab.errors.filter((e) => !e.includes("404")), [], name);
    await tab.close();
  }
});
