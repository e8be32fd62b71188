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
  // The pictures are fetched one after the other, in play order.
  assert.deepEqual(server.requests.slice(asked).filter((r) => r.endsWith(".png")), ["/r.png", "/g.png", "/b.png"]);
  await sleep(2400);
  const seen = await tab.evaluate(() => seen);
  assert.deepEqual(seen.map((s) => s[1]), ["255,0,0", "0,255,0", "0,0,255", "255,0,0", "0,255,0", "0,0,255"]);
  [150, 150, 550, 150, 150].forEach((want, i) => {
    const gap = seen[i + 1][0] - seen[i][0];
    assert.ok(gap >= want - 20 && gap <= want + 250, `gap ${i}: ${gap} ms, wanted ${want}`);
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
  await sleep(200);
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

test("off screen the show waits", async () => {
  const tab = await open("offscreen", [{ params: { imagelist: "r.png,g.png", pause: 50 } }],
    { body: '<div style="height:3000px">Text above the show.</div>\n' });
  assert.equal((await watch(tab, 5, 5, 400)).length, 1);
  await tab.$eval(".quilanim", (b) => b.scrollIntoView());
  assert.ok((await watch(tab, 5, 5, 400)).length >= 3);
  await done(tab);
});

test("width and height 0 take the largest picture or the tiled background", async () => {
  const tab = await open("fit", [{ params: { imagelist: "r.png,wide.png", background: "tile.png", pause: 100000 }, width: 0, height: 0 }]);
  assert.deepEqual(await tab.$eval(".quilanim canvas", (c) => [c.style.width, c.style.height]), ["50px", "40px"]);
  assert.deepEqual(await pixel(tab, 30, 30), [240, 240, 240]); // tile right half
  assert.deepEqual(await pixel(tab, 5, 30), [10, 10, 10]); // tile left half
  assert.deepEqual(await pixel(tab, 5, 5), RED); // the first picture
  await done(tab);
});

test("the soundtrack plays after a gesture on a served page, and stops with the show", async () => {
  const tab = await open("sound", [{ params: { imagelist: "r.png,g.png", soundtrack: "tune.au", pause: 100 } }],
    { body: "<p>Some text of the page.</p>\n" });
  await tab.waitForFunction(() => window.quilanimPlayers.players[0].pcm);
  const state = () => tab.evaluate(() => {
    const p = window.quilanimPlayers.players[0];
    return { audio: window.quilanimPlayers.audio && window.quilanimPlayers.audio.state, playing: !!p.source,
      rate: p.pcm.rate, length: p.pcm.channels[0].length };
  });
  assert.deepEqual(await state(), { audio: null, playing: false, rate: 8000, length: 4000 });
  await tab.click("p");
  await tab.waitForFunction(() => window.quilanimPlayers.audio.state == "running");
  assert.equal((await state()).playing, true);
  await tab.click(".quilanim");
  assert.equal((await state()).playing, false);
  await tab.click(".quilanim");
  assert.equal((await state()).playing, true);
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
