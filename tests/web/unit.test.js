// The web player's logic, without a browser: parameters, movement, timing, text layout
// and the ".au" decoder.
"use strict";
const test = require("node:test");
const assert = require("node:assert/strict");
const q = require("../../resources/web/quilanim.js");
const { auFile } = require("./support.js");

// Settings from a plain object of parameters, names matched without case as browsers do.
function settings(params) {
  const lower = Object.fromEntries(Object.entries(params).map(([k, v]) => [k.toLowerCase(), v]));
  return q.readSettings((n) => lower[n.toLowerCase()] ?? null,
    (ref) => (ref == null || !ref.trim() ? null : "http://h/p/" + ref.trim()));
}

test("parameters fall back as the applet's do", () => {
  const rows = [
    // [parameters, expected subset of the settings]
    [{}, { problem: "No image list. Essential!", messages: ["No image list. Essential!"] }],
    [{ imagelist: " , " }, { problem: "No image list. Essential!" }],
    [{ IMAGELIST: "a.gif" }, { pause: 100, endDelay: 0, repeat: -1, bounce: true, move: [0, 0],
      bg: [192, 192, 192], captions: null, font: null, messages: [] }],
    [{ imagelist: "a,b", pause: " 250 ", enddelay: "-3", repeat: "0" }, { pause: 250, endDelay: 0, repeat: 1 }],
    [{ imagelist: "a", pause: "1e3", repeat: "2147483648" }, { pause: 100, repeat: -1 }],
    [{ imagelist: "a", bounce: " TRUE " }, { bounce: true }],
    [{ imagelist: "a", bounce: "no" }, { bounce: false }],
    [{ imagelist: "a", move: "-3, 4" }, { move: [-3, 4], messages: [] }],
    [{ imagelist: "a", move: "3", bg: "#12" }, { move: [0, 0], bg: [170, 170, 170],
      messages: ["Invalid movement param", "Background messed up, using default"] }],
    [{ imagelist: "a", bg: "#Ff8000" }, { bg: [255, 128, 0] }],
    [{ imagelist: "a", bg: " 10, 20 ,30 " }, { bg: [10, 20, 30] }],
    [{ imagelist: "a", bg: "1,2,256" }, { bg: [170, 170, 170] }],
    [{ imagelist: "a", bg: "1,2,,3" }, { bg: [170, 170, 170] }],
    [{ imagelist: "a", background: " ", soundtrack: "t.au" }, { background: null, soundtrack: "http://h/p/t.au" }],
  ];
  for (const [params, expected] of rows) {
    const s = settings(params);
    for (const [key, value] of Object.entries(expected))
      assert.deepEqual(s[key], value, JSON.stringify(params) + " " + key);
  }
});

test("captions stay with their pictures when entries are left out", () => {
  const s = settings({ imagelist: "a.gif,,c.gif,d.gif", captionlist: "A|B|C", fontname: "Courier",
    fontstyle: "3", fontsize: "20" });
  assert.deepEqual(s.urls, ["http://h/p/a.gif", "http://h/p/c.gif", "http://h/p/d.gif"]);
  assert.deepEqual(s.captions, ["A", "C", ""]);
  assert.equal(s.font.css, "italic bold 20px monospace");
  // Without a caption list the font is not read; a bad size or style is the default.
  assert.equal(settings({ imagelist: "a", fontname: "Courier" }).font, null);
  assert.equal(settings({ imagelist: "a", captionlist: "", fontsize: "0", fontstyle: "7" }).font.css,
    "12px sans-serif");
  assert.equal(q.cssFont('My "Font";}', 1, 9), 'bold 9px "My Font", sans-serif');
});

test("movement steps exactly as the applet's", () => {
  // Differential check against a plain simulation of a picture moving one pixel at a time.
  function slow(pos, vel, length, size, bounce) {
    const lo = Math.min(0, length - size), hi = Math.max(0, length - size);
    let v = Math.sign(vel);
    for (let i = 0; i < Math.abs(vel); i++) {
      if (bounce) {
        if (lo == hi) return [lo, vel];
        if (pos + v > hi || pos + v < lo) v = -v;
        pos += v;
      } else {
        pos += v;
        if (pos >= length) pos = -size;
        if (pos < -size) pos = length - 1;
      }
    }
    return [pos, bounce ? v * Math.abs(vel) : vel];
  }
  for (const bounce of [true, false]) {
    for (const [length, size] of [[100, 20], [20, 100], [50, 50], [7, 3]]) {
      for (const vel of [1, 3, 10, -4, 37, -120]) {
        let a = [bounce ? 0 : 5, vel], b = a.slice();
        for (let i = 0; i < 60; i++) {
          a = q.step(a[0], a[1], length, size, bounce);
          b = slow(b[0], b[1], length, size, bounce);
          // At an end the two may differ in the sign they carry; positions never differ.
          assert.equal(a[0], b[0], `bounce=${bounce} length=${length} size=${size} vel=${vel} step ${i}`);
          assert.equal(Math.abs(a[1]), Math.abs(vel));
        }
      }
    }
  }
  assert.deepEqual(q.step(4, 0, 100, 20, true), [4, 0]);
});

test("caption room, wrapping and timing", () => {
  assert.deepEqual(q.captionRoom(0, 0, 50, 150, 300, 200), [50, 0, 250, 200]); // right is larger
  assert.deepEqual(q.captionRoom(0, 0, 100, 100, 200, 200), [0, 100, 200, 100]); // equal: below
  assert.deepEqual(q.captionRoom(-30, 190, 50, 50, 100, 200), [20, 190, 80, 10]); // below has no room
  const width = (t) => t.length * 10;
  assert.deepEqual(q.wrapText("  two  words\tand\nmore ", width, 95), ["two words", "and more"]);
  assert.deepEqual(q.wrapText("abcdefghijkl", width, 40), ["abcd", "efgh", "ijkl"]);
  assert.deepEqual(q.wrapText("x \u{1F600}\u{1F600}", (t) => Array.from(t).length * 10, 5), ["x", "\u{1F600}", "\u{1F600}"]);
  assert.deepEqual(q.wrapText("   ", width, 40), []);
  // Breaks at ASCII blanks only; no more lines than asked for, however long the text.
  assert.deepEqual(q.wrapText("ab\u00a0cd\u2003ef\fgh", width, 60), ["ab\u00a0cd\u2003", "ef gh"]);
  let measured = 0, counting = (t) => (measured += t.length, width(t));
  assert.deepEqual(q.wrapText("a " + "x".repeat(30000) + " b", counting, 95, 3), ["a", "xxxxxxxxx", "xxxxxxxxx"]);
  assert.ok(measured < 31000, `${measured} characters measured`);
  // Halving cuts where a line is full: every line but the last holds floor(w / 10) characters, at least one.
  for (let len = 1; len < 40; len += 3) for (const w of [5, 10, 35, 80, 1000]) {
    const per = Math.max(1, Math.floor(w / 10)), lines = q.wrapText("q".repeat(len), width, w);
    assert.deepEqual(lines.map((l) => l.length), Array.from({ length: Math.ceil(len / per) }, (_, i) => Math.min(per, len - i * per)), `${len} in ${w}`);
  }
  const s = { pause: 0, endDelay: 700 };
  assert.equal(q.frameWait(s, false), 10);
  assert.equal(q.frameWait(s, true), 710);
});

test(".au files decode in every encoding, cut short or resampled", () => {
  const samples = [0, 1000, -1000, 32000, -32000];
  const rows = [
    // [encoding, tolerance of the 16-bit value]
    [1, 1000], // µ-law
    [27, 1000], // A-law
    [2, 256], // 8-bit linear
    [3, 0], // 16-bit linear
  ];
  for (const [encoding, tolerance] of rows) {
    const pcm = q.decodeAu(auFile({ encoding, rate: 8000, channels: 2, samples: samples.flatMap((v) => [v, -v]) }));
    assert.equal(pcm.rate, 8000);
    assert.equal(pcm.channels.length, 2);
    samples.forEach((v, i) => {
      assert.ok(Math.abs(pcm.channels[0][i] * 32768 - v) <= tolerance, `encoding ${encoding}: ${v}`);
      assert.ok(Math.abs(pcm.channels[1][i] * 32768 + v) <= tolerance, `encoding ${encoding}: -${v}`);
    });
  }
  // A data size past the end, or unknown, reads what is there.
  const cut = auFile({ encoding: 3, rate: 8000, channels: 1, samples: [1, 2, 3], size: 1000 });
  assert.equal(q.decodeAu(cut).channels[0].length, 3);
  const unknown = auFile({ encoding: 3, rate: 8000, channels: 1, samples: [1, 2, 3], size: 0xffffffff });
  assert.equal(q.decodeAu(unknown).channels[0].length, 3);
  // 4000 Hz becomes 8000 Hz with twice the samples; 192 kHz becomes 96 kHz.
  const slow = q.decodeAu(auFile({ encoding: 3, rate: 4000, channels: 1, samples: [0, 1000, 2000, 3000] }));
  assert.equal(slow.rate, 8000);
  assert.deepEqual(Array.from(slow.channels[0], (x) => Math.round(x * 32768)), [0, 500, 1000, 1500, 2000, 2500, 3000, 3000]);
  assert.equal(q.decodeAu(auFile({ encoding: 1, rate: 192000, channels: 1, samples: new Array(10).fill(0) })).rate, 96000);
  // 1000 Hz is the lowest rate taken; ten minutes at 48 kHz is all that is kept, cut before decoding.
  const long = q.decodeAu(auFile({ encoding: 2, rate: 1000, channels: 2, samples: new Array(2 * 1900000).fill(0) }));
  assert.deepEqual([long.rate, long.channels[0].length], [8000, 14400000]);
});

test("damaged .au files are refused with an error, never a crash", () => {
  const good = auFile({ encoding: 1, rate: 8000, channels: 1, samples: [0, 0] });
  const patch = (offset, value) => {
    const copy = good.slice(0);
    new DataView(copy).setUint32(offset, value);
    return copy;
  };
  // Also a rate below 1000 Hz, and a file without a sample.
  for (const bad of [new ArrayBuffer(0), new ArrayBuffer(23), patch(0, 0x52494646), patch(4, 8), patch(4, 1 << 30),
    patch(12, 5), patch(16, 0), patch(16, 999), patch(20, 0), patch(20, 1000), patch(8, 0), good.slice(0, 24)]) {
    assert.throws(() => q.decodeAu(bad), Error);
  }
});

test("the shipped script stays within 32 KB, 11 KB gzipped, comments included", () => {
  const bytes = require("node:fs").readFileSync(require.resolve("../../resources/web/quilanim.js"));
  assert.ok(bytes.length <= 32 * 1024, `${bytes.length} bytes`);
  assert.ok(require("node:zlib").gzipSync(bytes, { level: 9 }).length <= 11 * 1024);
});

test("fitted geometry follows the shared table", () => {
  const table = JSON.parse(require("node:fs").readFileSync(require.resolve("../data/fit-geometry.json")));
  // The font size and scale as the player reads them from the element's parameters.
  const read = (r) => settings({ imagelist: "a", scale: r.scale ? "Fit" : "none",
    ...(r.captions && { captionlist: "c" }), ...(r.fontSize != null && { fontsize: String(r.fontSize) }) });
  for (const r of table.layout) assert.deepEqual(q.layout(r.box, r.sizes, read(r).fit, read(r).font && read(r).font.size, r.move),
    { band: r.band, area: r.area, drawn: r.drawn, range: r.range }, r.name);
  for (const r of table.defaultBox) assert.deepEqual(q.defaultBox(r.sizes, read(r).fit, read(r).font && read(r).font.size), r.box, r.name);
  assert.deepEqual([" FIT ", "fit2"].map((scale) => settings({ imagelist: "a", scale }).fit), [true, false]);
});
