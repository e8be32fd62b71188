// What the web player's tests share: test files made on the spot (PNG pictures, Sun audio),
// a static HTTP server on 127.0.0.1 and headless Chromium.
"use strict";
const fs = require("node:fs");
const http = require("node:http");
const os = require("node:os");
const path = require("node:path");
const zlib = require("node:zlib");

// A Sun ".au" file. samples are 16-bit values, interleaved by channel; size overrides the
// header's data size.
function auFile({ encoding, rate, channels, samples, size }) {
  const width = encoding == 3 ? 2 : 1;
  const v = new DataView(new ArrayBuffer(24 + samples.length * width));
  [0x2e736e64, 24, size ?? samples.length * width, encoding, rate, channels].forEach((x, i) => v.setUint32(i * 4, x));
  samples.forEach((s, i) => {
    if (encoding == 3) v.setInt16(24 + i * 2, s);
    else if (encoding == 2) v.setInt8(24 + i, Math.round(s / 256));
    else v.setUint8(24 + i, encoding == 1 ? toUlaw(s) : toAlaw(s));
  });
  return v.buffer;
}

// G.711 encoders, the usual segment search.
function toUlaw(s) {
  const sign = s < 0 ? 0x80 : 0;
  let m = Math.min(Math.abs(s), 32635) + 132, seg = 0;
  while (seg < 7 && m >= 256 << seg) seg++;
  return ~(sign | (seg << 4) | ((m >> (seg + 3)) & 15)) & 255;
}
function toAlaw(s) {
  const sign = s >= 0 ? 0x80 : 0;
  let m = Math.min(Math.abs(s), 32767) >> 3, seg = 0;
  while (seg < 7 && m >= 32 << seg) seg++;
  const low = seg ? (m >> seg) & 15 : (m >> 1) & 15;
  return (sign | (seg << 4) | low) ^ 0x55;
}

// A PNG of width x height; colourAt(x, y) gives [r, g, b] (a solid colour when an array).
// claimed: another size for its header, the data then too short for it.
function png(width, height, colourAt, claimed = [width, height]) {
  const at = Array.isArray(colourAt) ? () => colourAt : colourAt;
  const raw = Buffer.alloc((width * 3 + 1) * height);
  for (let y = 0; y < height; y++)
    for (let x = 0; x < width; x++) Buffer.from(at(x, y)).copy(raw, y * (width * 3 + 1) + 1 + x * 3);
  const chunk = (type, data) => {
    const body = Buffer.concat([Buffer.from(type), data]);
    const head = Buffer.alloc(4);
    head.writeUInt32BE(data.length);
    const crc = Buffer.alloc(4);
    crc.writeUInt32BE(zlib.crc32 ? zlib.crc32(body) : crc32(body));
    return Buffer.concat([head, body, crc]);
  };
  const header = Buffer.alloc(13);
  header.writeUInt32BE(claimed[0], 0);
  header.writeUInt32BE(claimed[1], 4);
  header.set([8, 2, 0, 0, 0], 8);
  return Buffer.concat([Buffer.from([137, 80, 78, 71, 13, 10, 26, 10]), chunk("IHDR", header),
    chunk("IDAT", zlib.deflateSync(raw)), chunk("IEND", Buffer.alloc(0))]);
}

// A GIF89a file of width x height in one colour (r, g, b). The LZW data restarts with a clear
// code every 250 pixels, so every code stays 9 bits wide.
function gif(width, height, [r, g, b]) {
  const out = [..."GIF89a"].map((c) => c.charCodeAt(0));
  const le16 = (v) => out.push(v & 255, v >> 8);
  le16(width); le16(height); out.push(0xf7, 0, 0);
  for (let i = 0; i < 256; i++) out.push(...(i == 0 ? [r, g, b] : [0, 0, 0]));
  out.push(0x2c); le16(0); le16(0); le16(width); le16(height); out.push(0, 8);
  const data = [];
  let bits = 0, count = 0;
  const put = (code) => {
    bits |= code << count;
    for (count += 9; count >= 8; count -= 8) { data.push(bits & 255); bits >>= 8; }
  };
  put(256);
  for (let i = 0; i < width * height; i++) {
    if (i && i % 250 == 0) put(256);
    put(0);
  }
  put(257);
  if (count) data.push(bits & 255);
  for (let i = 0; i < data.length; i += 255) out.push(Math.min(255, data.length - i), ...data.slice(i, i + 255));
  out.push(0, 0x3b);
  return Buffer.from(out);
}

function crc32(bytes) {
  let c = ~0;
  for (const b of bytes) {
    c ^= b;
    for (let k = 0; k < 8; k++) c = (c >>> 1) ^ (0xedb88320 & -(c & 1));
  }
  return ~c >>> 0;
}

// A page with one element per entry of elements ({ params, width, height }), each followed by
// the script line unless noScript; with doctype false the page is in quirks mode.
function page(elements, { doctype = true, body = "" } = {}) {
  const attr = (v) => String(v).replace(/&/g, "&amp;").replace(/"/g, "&quot;").replace(/</g, "&lt;");
  const parts = elements.map(({ params, width = 200, height = 100, noScript, code = "quilanim" }) =>
    `<applet code="${code}" width=${width} height=${height}>\r\n` +
    Object.entries(params).map(([n, v]) => `<param name="${n}" value="${attr(v)}">\r\n`).join("") +
    "</applet>" + (noScript ? "" : '\r\n<script src="quilanim.js"></script>'));
  return (doctype ? "<!DOCTYPE html>\n" : "") +
    `<html lang="en"><head><meta charset="utf-8"><title>Slideshow test</title></head><body>\n${body}${parts.join("\n")}\n</body></html>\n`;
}

// A fresh folder with the player script in it.
function site() {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), "quilanim-web-"));
  fs.copyFileSync(path.join(__dirname, "../../resources/web/quilanim.js"), path.join(folder, "quilanim.js"));
  return folder;
}

// Serves folder on 127.0.0.1 at a free port; "/favicon.ico" answers 204 so no page logs a
// missing icon; files named "slow..." answer after 150 ms. requests lists every path asked for.
// Files named "endless..." and "stalled..." claim a length of 1 TiB: after their own bytes the
// first sends 0xff bytes until the client leaves (256 MiB at most), the second nothing more.
// flooded[path]: the bytes an endless answer has written, and whether its connection closed.
async function serve(folder) {
  const types = { ".html": "text/html", ".js": "text/javascript", ".png": "image/png", ".au": "audio/basic" };
  const requests = [], flooded = {};
  const flood = (res, log, chunk = Buffer.alloc(1 << 20, 0xff)) => {
    res.on("close", () => (log.closed = true));
    const more = () => {
      while (!res.destroyed && log.bytes < 2 ** 28) {
        log.bytes += chunk.length;
        if (!res.write(chunk)) return void res.once("drain", more);
      }
      res.destroy(); // short of its length: the client sees a broken download
    };
    more();
  };
  const server = http.createServer((req, res) => {
    const name = decodeURIComponent(new URL(req.url, "http://x").pathname);
    requests.push(name);
    if (name == "/favicon.ico") return res.writeHead(204).end();
    const file = path.join(folder, path.normalize(name));
    if (!file.startsWith(folder) || !fs.existsSync(file) || fs.statSync(file).isDirectory()) return res.writeHead(404).end();
    const answer = () => {
      const lie = /^\/(endless|stalled)/.test(name);
      res.writeHead(200, { "Content-Type": types[path.extname(file)] || "application/octet-stream", ...(lie && { "Content-Length": 2 ** 40 }) });
      if (!lie) return res.end(fs.readFileSync(file));
      res.write(fs.readFileSync(file));
      if (name.startsWith("/endless")) flood(res, (flooded[name] = { bytes: 0, closed: false }));
    };
    if (name.includes("slow")) setTimeout(answer, 150); else answer();
  });
  await new Promise((resolve) => server.listen(0, "127.0.0.1", resolve));
  return { url: `http://127.0.0.1:${server.address().port}/`, requests, flooded, close: () => server.close() };
}

// Headless Debian Chromium with a fresh profile, as root needs it.
async function launch() {
  const puppeteer = require("puppeteer-core");
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), "quilanim-chromium-"));
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || "/usr/bin/chromium",
    headless: true,
    args: ["--no-sandbox", "--disable-gpu", "--disable-background-networking", "--disable-component-update",
      "--disable-sync", "--no-first-run", "--disable-quic", `--user-data-dir=${profile}`],
  });
  browser.once("disconnected", () => {
    try { fs.rmSync(profile, { recursive: true, force: true, maxRetries: 5 }); } catch {} // Chromium may still be writing
  });
  return browser;
}

// A new page that collects console errors and page errors (there must be none) and the
// player's warnings.
async function openPage(browser, url, setup) {
  const tab = await browser.newPage();
  tab.errors = [];
  tab.warnings = [];
  tab.on("console", (m) => {
    if (m.type() == "error") tab.errors.push(m.text());
    if (m.type() == "warn" || m.type() == "warning") tab.warnings.push(m.text());
  });
  tab.on("pageerror", (e) => tab.errors.push(String(e)));
  if (setup) await setup(tab);
  await tab.goto(url, { waitUntil: "load" });
  return tab;
}

module.exports = { auFile, png, gif, page, site, serve, launch, openPage };
