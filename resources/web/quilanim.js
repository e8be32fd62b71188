/* quilanim.js 1.2: plays Java Reelcraft slideshow applets in browsers without Java
   Copyright (c) 2026 Tarnwick. MIT License: https://opensource.org/license/mit */
// Each <applet code="quilanim"> gets a player beside it that draws what the applet draws
// from its <param>s. The element stays, hidden, for Java where it runs.
"use strict";
(() => {
  const NO_IMAGE_LIST = "No image list. Essential!";
  const INSET = 4; // blank space around caption text, as the applet's label leaves
  const MIN_STEP = 10; // shortest wait between steps, so PAUSE 0 does not spin

  // -- parameters

  // Java's String.trim(): strips control characters and blanks at both ends, in linear time
  // (a regular expression for the end is not).
  function jtrim(s) {
    s = String(s);
    let a = 0, b = s.length;
    while (a < b && s.charCodeAt(a) < 33) a++;
    while (b > a && s.charCodeAt(b - 1) < 33) b--;
    return s.slice(a, b);
  }

  // Integer.parseInt of the trimmed text, or null.
  function parseInteger(text) {
    const t = text == null ? "" : jtrim(text);
    return /^[+-]?\d+$/.test(t) && Math.abs(t) < 2 ** 31 + (t[0] == "-") ? +t : null;
  }

  // "dx,dy" as two integers; null when the text is not of that form.
  function parseMove(text) {
    const p = String(text).split(",").map(parseInteger);
    return p.length == 2 && p[0] != null && p[1] != null ? p : null;
  }

  // "#RRGGBB" or "r,g,b" (each 0 to 255) as [r, g, b]; null when the text is neither.
  function parseColour(text) {
    const v = jtrim(text);
    if (v[0] == "#") {
      if (!/^#[0-9a-f]{6}$/i.test(v)) return null;
      const n = parseInt(v.slice(1), 16);
      return [n >> 16, (n >> 8) & 255, n & 255];
    }
    const p = v.split(",").map(jtrim);
    return p.length == 3 && p.every((c) => /^\d{1,3}$/.test(c) && c <= 255) ? p.map(Number) : null;
  }

  // Java's logical font names as generic families; other names fall back to sans-serif.
  const FAMILIES = { helvetica: "sans-serif", sansserif: "sans-serif", dialog: "sans-serif",
    timesroman: "serif", serif: "serif", courier: "monospace", dialoginput: "monospace",
    monospaced: "monospace" };
  function cssFont(name, style, size) {
    const n = jtrim(name).replace(/["\\;{}]/g, "");
    return (style & 2 ? "italic " : "") + (style & 1 ? "bold " : "") + size + "px " +
      (FAMILIES[n.toLowerCase()] || '"' + n + '", sans-serif');
  }

  // One element's settings. get(name): a parameter's value or null (any case);
  // resolve(reference): a URL or null. messages: the applet's status texts, in order.
  function readSettings(get, resolve) {
    const s = { urls: [], captions: null, font: null, pause: 100, endDelay: 0, repeat: -1,
      bounce: true, move: [0, 0], bg: [192, 192, 192], background: null, soundtrack: null,
      messages: [], problem: null };
    const list = get("IMAGELIST"), captionList = get("CAPTIONLIST");
    const all = captionList == null ? null : captionList.split("|"), kept = [];
    (list == null ? [] : list.split(",")).forEach((entry, i) => {
      const url = resolve(entry);
      if (!url) return;
      s.urls.push(url);
      kept.push(all && i < all.length ? all[i] : "");
    });
    if (!s.urls.length) {
      s.problem = NO_IMAGE_LIST;
      s.messages.push(NO_IMAGE_LIST);
      return s;
    }
    if (all) { // without captions the font is not read
      s.captions = kept;
      const name = get("FontName"), style = parseInteger(get("FontStyle"));
      let size = parseInteger(get("FontSize"));
      size = size > 0 ? size : 12;
      s.font = { css: cssFont(name == null || !jtrim(name) ? "Helvetica" : name,
        style >= 1 && style <= 3 ? style : 0, size), size };
    }
    const pause = parseInteger(get("PAUSE")), delay = parseInteger(get("ENDDELAY"));
    const times = parseInteger(get("REPEAT"));
    s.pause = pause == null ? 100 : Math.max(0, pause);
    s.endDelay = delay == null ? 0 : Math.max(0, delay);
    s.repeat = times == null ? -1 : Math.max(1, times); // below one still plays once
    const edge = get("BOUNCE");
    s.bounce = edge == null || /^(yes|true)$/i.test(jtrim(edge));
    const move = get("MOVE"), bg = get("BG");
    if (move != null) {
      const steps = parseMove(move);
      if (steps) s.move = steps; else s.messages.push("Invalid movement param");
    }
    if (bg != null) {
      const rgb = parseColour(bg);
      if (!rgb) s.messages.push("Background messed up, using default");
      s.bg = rgb || [170, 170, 170];
    }
    s.fit = /^fit$/i.test(jtrim(get("SCALE") || ""));
    s.background = resolve(get("BACKGROUND"));
    s.soundtrack = resolve(get("SOUNDTRACK"));
    return s;
  }

  // -- movement and timing

  const mod = (a, n) => ((a % n) + n) % n;

  // One step of a picture of size along an area of length, as the applet steps: bouncing
  // reflects off both ends, wrapping comes back at the other. [position, velocity].
  function step(position, velocity, length, size, bounce) {
    if (!velocity) return [position, velocity];
    if (!bounce) {
      const around = length + size;
      return around <= 0 ? [position + velocity, velocity]
        : [mod(position + velocity + size, around) - size, velocity];
    }
    const lo = Math.min(0, length - size), range = Math.abs(length - size);
    if (!range) return [lo, velocity];
    const speed = Math.abs(velocity), period = 2 * range;
    // Unfolding the reflections, the picture always moves forward.
    const offset = Math.min(Math.max(position - lo, 0), range);
    const folded = mod((velocity > 0 ? offset : period - offset) + speed, period);
    return folded <= range ? [lo + folded, speed] : [lo + period - folded, -speed];
  }

  // A caption's room [x, y, w, h]: below the picture or right of it, whichever is larger.
  function captionRoom(left, top, pw, ph, width, height) {
    const room = (x, y) => [x, y, Math.max(0, width - x), Math.max(0, height - y)];
    const below = room(Math.max(0, left), Math.max(0, top + ph));
    const right = room(Math.max(0, left + pw), Math.max(0, top));
    return right[2] * right[3] > below[2] * below[3] ? right : below;
  }

  // -- fitted pictures (the program's own integer rule)

  // [w, h] scaled down to fit within the area [aw, ah], proportions kept, never up.
  function fitSize([w, h], [aw, ah]) {
    if (!aw || !ah) return [0, 0];
    if (w <= aw && h <= ah) return [w, h];
    return w * ah >= h * aw ? [aw, Math.max(1, Math.round(h * aw / w))] : [Math.max(1, Math.round(w * ah / h)), ah];
  }

  // The caption band below fitted pictures for font size font (null: no captions).
  const bandOf = (fit, font) => (fit && font != null ? 2 * Math.ceil(1.25 * font) + 8 : 0);

  // Where pictures go in a box: the area above the band, each drawn [x, y, w, h] at the
  // start (fitted ones centred on a still axis, at an edge on a moving one), and the range
  // a move runs on (the largest drawn size).
  function layout(box, sizes, fit, font, move) {
    const band = bandOf(fit, font), area = [box[0], Math.max(0, box[1] - band)];
    const scaled = sizes.map((z) => (fit ? fitSize(z, area) : z)), xy = [0, 1];
    const range = xy.map((a) => scaled.reduce((m, z) => Math.max(m, z[a]), 0));
    const drawn = scaled.map((z) => xy.map((a) => (move[a] < 0 ? area[a] - range[a] : move[a] || !fit ? 0
      : Math.floor((area[a] - z[a]) / 2))).concat(z));
    return { band, area, drawn, range };
  }

  // The box chosen for a show: the largest size per axis, fitted within 960 x 720 and the band.
  function defaultBox(sizes, fit, font) {
    const m = [0, 1].map((a) => sizes.reduce((v, z) => Math.max(v, z[a]), 0));
    if (!fit) return m;
    const z = fitSize(m, [960, 720]);
    return [z[0], z[1] + bandOf(fit, font)];
  }

  // At most max lines no wider than width, broken at ASCII blanks (Java's \s); a word wider
  // than a line is cut between characters, at least one a line.
  function wrapText(text, measure, width, max = 1 / 0) {
    const lines = [], fits = (a) => measure(a.join("")) <= width;
    let line = "";
    for (const word of jtrim(text || "").split(/[ \t\n\v\f\r]+/)) {
      if (!word || lines.length >= max) continue;
      const candidate = line ? line + " " + word : word;
      if (measure(candidate) <= width) { line = candidate; continue; }
      if (line) lines.push(line);
      let chars = Array.from(word);
      while (lines.length < max) {
        // The longest prefix that fits, by doubling and halving: few and short measures.
        let lo = 1, hi = 2;
        while (hi <= chars.length && fits(chars.slice(0, hi))) [lo, hi] = [hi, hi * 2];
        for (hi = Math.min(hi, chars.length + 1); hi - lo > 1; ) {
          const mid = (lo + hi) >> 1;
          if (fits(chars.slice(0, mid))) lo = mid; else hi = mid;
        }
        if (lo >= chars.length) break;
        lines.push(chars.slice(0, lo).join(""));
        chars = chars.slice(lo);
      }
      line = chars.join("");
    }
    if (line && lines.length < max) lines.push(line);
    return lines;
  }

  // Black text on light backgrounds, white on dark ones.
  const textColour = (rgb) => ((rgb[0] * 299 + rgb[1] * 587 + rgb[2] * 114) / 1000 < 128 ? "#fff" : "#000");

  // How long a frame stays: PAUSE (at least MIN_STEP), plus ENDDELAY after the last one.
  const frameWait = (s, isLast) => Math.max(s.pause, MIN_STEP) + (isLast ? s.endDelay : 0);

  // -- sound

  // G.711 µ-law and A-law bytes to 16-bit samples.
  function ulaw(b) {
    b = ~b & 255;
    const t = (((b & 15) << 3) + 132) << ((b >> 4) & 7);
    return b & 128 ? 132 - t : t - 132;
  }
  function alaw(b) {
    b ^= 85;
    const seg = (b >> 4) & 7, t = (b & 15) << 4;
    const v = seg ? (t + 264) << (seg - 1) : t + 8;
    return b & 128 ? v : -v;
  }

  // A Sun audio file (µ-law, A-law, 8/16-bit linear) as { rate, channels: [Float32Array] },
  // resampled into 8000..96000 Hz, ten minutes at 48 kHz at most. Throws on anything else.
  function decodeAu(buffer) {
    const v = new DataView(buffer), head = (i) => v.getUint32(i * 4);
    if (v.byteLength < 24 || head(0) != 0x2e736e64) throw new Error("not a Sun audio file");
    const start = head(1), enc = head(3), rate = head(4), count = head(5);
    const width = { 1: 1, 2: 1, 3: 2, 27: 1 }[enc];
    if (!width || !count || count > 32 || rate < 1000 || start < 24 || start > v.byteLength)
      throw new Error("unsupported Sun audio file");
    // The data size may be unknown (all ones) or past the end.
    const size = Math.min(head(2), v.byteLength - start), to = Math.min(96000, Math.max(8000, rate));
    const frames = Math.min(Math.floor(size / width / count), Math.floor(28.8e6 / count / to * rate));
    if (!frames) throw new Error("no sound");
    const out = Array.from({ length: count }, () => new Float32Array(frames));
    for (let i = 0; i < frames; i++) {
      for (let c = 0; c < count; c++) {
        const at = start + (i * count + c) * width;
        out[c][i] = (enc == 1 ? ulaw(v.getUint8(at)) : enc == 27 ? alaw(v.getUint8(at))
          : enc == 2 ? v.getInt8(at) * 256 : v.getInt16(at)) / 32768;
      }
    }
    return { rate: to, channels: to == rate ? out : out.map((d) => resample(d, rate, to)) };
  }

  function resample(data, from, to) {
    const out = new Float32Array(Math.max(1, Math.round(data.length * to / from)));
    const at = (j) => data[Math.min(j, data.length - 1)] || 0;
    for (let i = 0; i < out.length; i++) {
      const x = i * from / to, j = Math.floor(x);
      out[i] = at(j) + (at(j + 1) - at(j)) * (x - j);
    }
    return out;
  }

  if (typeof module === "object") module.exports = { parseInteger, parseMove, parseColour, cssFont,
    readSettings, step, captionRoom, fitSize, layout, defaultBox, wrapText, frameWait, decodeAu };
  if (typeof document !== "object") return;

  // -- players

  // Shared by every copy of this script the page runs.
  const shared = window.quilanimPlayers || (window.quilanimPlayers = { players: [], audio: null });
  const now = () => performance.now();
  const fromDisk = location.protocol == "file:";
  const make = (tag, parent) => parent.appendChild(document.createElement(tag));
  const natural = (f) => (f && f.img ? [f.img.naturalWidth, f.img.naturalHeight] : [0, 0]);
  const cut = (t, n) => Array.from(t.slice(0, 2 * n)).slice(0, n).join(""); // first n characters

  function startAll() {
    for (const el of document.getElementsByTagName("applet")) {
      if (!/^quilanim(\.class)?$/i.test(jtrim(el.getAttribute("code") || "")) || el.hasAttribute("data-quilanim"))
        continue;
      el.setAttribute("data-quilanim", "");
      try { shared.players.push(new Player(el)); } catch (e) { console.warn("quilanim: " + e.message); }
    }
  }

  // The hidden live region and the pause button (shown on focus and hover); the player is
  // never wider than its container.
  function addStyle() {
    if (document.getElementById("quilanim-style")) return;
    const st = make("style", document.head || document.documentElement);
    st.id = "quilanim-style";
    st.textContent = ".quilanim{position:relative;display:inline-block;vertical-align:bottom;overflow:hidden;contain:content;max-width:100%}" +
      ".quilanim canvas{display:block;width:100%}.quilanim img{position:absolute}.quilanim button{position:absolute;left:4px;bottom:4px;" +
      "width:32px;height:32px;border:1px solid #fff;background:#000c;color:#fff;font:16px sans-serif;opacity:0}.quilanim:hover button,.quilanim:focus button{opacity:1}" +
      ".quilanim-live{contain:strict;position:absolute;width:1px;height:1px;overflow:hidden;clip:rect(0 0 0 0);white-space:nowrap}";
  }

  class Player {
    constructor(el) {
      const params = {};
      for (const p of el.getElementsByTagName("param")) {
        const key = (p.getAttribute("name") || "").toLowerCase();
        if (!(key in params)) params[key] = p.getAttribute("value") || "";
      }
      const s = (this.s = readSettings((n) => params[n.toLowerCase()] ?? null, (ref) => {
        if (ref == null || !jtrim(ref)) return null;
        try { return new URL(jtrim(ref), document.baseURI).href; }
        catch (e) { return void console.warn("quilanim: cannot use " + ref); }
      }));
      // Reduced motion: the picture stays put and the show waits for the user.
      this.paused = matchMedia("(prefers-reduced-motion: reduce)").matches;
      if (this.paused) s.move = [0, 0];
      this.onScreen = this.near = !window.IntersectionObserver;
      this.frames = s.urls.map((url, i) => ({ url, i, caption: s.captions ? s.captions[i] : "" }));
      // Pictures load in play order, the background right after the first.
      this.list = this.frames.slice();
      if (s.background) this.list.splice(1, 0, (this.back = { url: s.background }));
      [this.w, this.h] = ["width", "height"].map((a) => Math.max(0, parseInteger(el.getAttribute(a)) || 0));
      // A moving show's range needs every picture, as does a box of width or height 0.
      this.waitAll = !this.w || !this.h || !!(s.move[0] || s.move[1]);

      addStyle();
      const box = (this.box = document.createElement("span"));
      box.className = "quilanim";
      box.tabIndex = 0;
      box.setAttribute("role", "region");
      box.setAttribute("aria-roledescription", "slideshow");
      box.setAttribute("aria-label", cut((s.captions && jtrim(s.captions[0])) || "Slideshow", 100));
      const c = (this.canvas = make("canvas", box));
      this.ctx = c.getContext("2d");
      c.width = c.height = 0;
      c.setAttribute("aria-hidden", "true");
      this.button = make("button", box);
      this.button.type = "button";
      this.button.tabIndex = -1; // the region itself takes the keys
      this.live = make("span", box);
      this.live.className = "quilanim-live";
      el.parentNode.insertBefore(box, el);
      el.style.display = "none";
      for (const m of s.messages) this.status(m);
      if (window.ResizeObserver) new ResizeObserver(() => this.resize()).observe(c);
      this.size(this.w, this.h);
      if (s.problem) {
        this.finished = true;
        return this.update();
      }

      box.addEventListener("click", () => this.toggle());
      box.addEventListener("keydown", (e) => {
        if (e.ctrlKey || e.metaKey || e.altKey || !/^( |Enter|k|K)$/.test(e.key)) return;
        e.preventDefault();
        this.toggle();
      });
      // On screen the show runs; within a viewport of it, pictures load.
      if (!this.near) for (const [key, margin] of [["onScreen", "0px"], ["near", "100%"]]) {
        new IntersectionObserver((seen) => {
          this[key] = seen[seen.length - 1].isIntersecting;
          this.pump();
          this.update();
        }, { rootMargin: margin }).observe(box);
      }
      this.pump();
      this.fetchSound();
      this.update();
    }

    status(text) {
      console.warn("quilanim: " + text);
      this.box.setAttribute("data-status", text);
    }

    // The box in box units [w, h]: the player's width is w CSS pixels at most.
    size(w, h) {
      this.dim = [w, h];
      this.box.style.width = w + "px";
      this.canvas.style.aspectRatio = w && h ? w + "/" + h : "auto";
      this.measure();
      this.resize();
    }

    // The backing store: the drawn size in device pixels, within what engines allow.
    resize() {
      const [w, h] = this.dim, c = this.canvas, r = window.devicePixelRatio || 1;
      const k = w && h ? Math.min(c.clientWidth * r / w, 16384 / w, 16384 / h, Math.sqrt(2 ** 26 / w / h)) : 0;
      const bw = Math.round(w * k), bh = Math.round(h * k);
      if (bw == c.width && bh == c.height) return;
      c.width = bw;
      c.height = bh;
      this.pump();
      this.draw();
    }

    // Where each loaded picture goes.
    measure() {
      const s = this.s;
      this.geo = layout(this.dim, this.frames.map(natural), s.fit, s.font && s.font.size, s.move);
    }

    // Requests what may load now: nothing far off screen or before the page's load event;
    // the first picture alone until shown, then three at a time, three frames ahead (all
    // for some shows).
    pump() {
      if (!this.near || !shared.loaded || this.s.problem) return;
      const n = this.frames.length, k = this.canvas.width / this.dim[0];
      const near = (f) => mod(f.i - (this.frame || 0), n) <= 3;
      // Frames about to show get bitmaps of their drawn size made off the main thread (a
      // canvas drawing a picture decodes and scales it there); others give theirs back.
      for (const f of this.frames) {
        const d = this.geo.drawn[f.i], W = Math.round(d[2] * k), H = Math.round(d[3] * k);
        const key = f.img && f.blob && window.createImageBitmap && near(f) && W + "," + H;
        if (f.key == key) continue;
        f.key = key;
        if (f.bm) f.bm.close();
        f.bm = key ? null : 0; // null: on its way
        if (key) createImageBitmap(f.blob, { resizeWidth: W, resizeHeight: H, resizeQuality: "high" })
          .catch(() => 0).then((b) => {
            if (f.key != key) return b && b.close();
            f.bm = b;
            this.loaded(f);
          });
      }
      let busy = this.list.filter((f) => f.state === 0).length;
      for (const f of this.list) {
        if (busy >= (this.list[0].state ? (this.first && !this.waitAll ? 0 : 3) : 1)) return;
        if (f.state == null && (this.waitAll || f == this.back || near(f))) {
          this.request(f);
          busy++;
        }
      }
    }

    // The first picture is also an <img> until the canvas draws it.
    request(f) {
      const img = new Image();
      f.state = 0;
      if (f.i === 0) {
        this.first = this.box.insertBefore(img, this.button);
        img.hidden = true;
        img.alt = jtrim(f.caption);
      }
      img.onload = img.onerror = () => {
        const z = img.naturalWidth * img.naturalHeight;
        if (z > 0 && z <= 1e8) f.img = img;
        else {
          // Over 100 megapixels a picture costs more memory than a page may take.
          z ? this.status("Picture too large: " + f.url) : console.warn("quilanim: cannot load " + f.url);
          if (img == this.first) this.first = void img.remove();
        }
        f.state = f.img ? 1 : 2;
        this.loaded(f);
      };
      // Fetched once, as a blob for the bitmaps too, from the page's own origin.
      (!fromDisk && new URL(f.url).origin == location.origin ? fetch(f.url).then((r) => r.blob()) : Promise.reject())
        .then((b) => (img.src = URL.createObjectURL((f.blob = b))), () => (img.src = f.url));
    }

    loaded(f) {
      if (f == this.back && f.img) this.pattern = this.ctx.createPattern(f.img, "repeat");
      const all = this.list.every((g) => g.state > 0);
      if (all && (!this.w || !this.h)) { // a width or height of 0 becomes the default box's
        const s = this.s, sizes = this.frames.map(natural).concat(s.fit ? [] : [natural(this.back)]);
        const d = defaultBox(sizes, s.fit, s.font && s.font.size);
        this.size(this.w || d[0], this.h || d[1]);
      }
      this.measure();
      this.ready(all);
      this.draw();
      if (this.waiting) { this.due = now(); this.tick(); } // a late picture shows now, then waits in full
      this.pump();
    }

    // The first playable frame starts the show.
    ready(all) {
      const first = this.frames.findIndex((f) => f.img);
      if (this.started || first < 0 || (this.waitAll && !all)) return;
      this.started = true;
      this.plays = 0;
      this.v = this.s.move.slice();
      [this.x, this.y] = this.geo.drawn[first]; // a moving axis starts at its edge
      this.enter(first);
      this.left = frameWait(this.s, this.isLast()); // counted once the show runs
      const im = this.first;
      if (im) { // placed as the canvas draws it
        const [x, y, w, h] = this.place(first), [W, H] = this.dim, pc = (v, t) => (100 * v) / t + "%";
        Object.assign(im.style, { left: pc(x, W), top: pc(y, H), width: pc(w, W), height: pc(h, H) });
        im.hidden = false;
      }
      this.update();
    }

    // The next playable frame after the current one; -1 while it is on its way.
    nextFrame() {
      const n = this.frames.length;
      for (let i = 1; i <= n; i++) {
        const f = this.frames[(this.frame + i) % n];
        if (f.state != 2) return f.state == 1 && f.bm !== null ? (this.frame + i) % n : -1;
      }
      return this.frame;
    }

    isLast() {
      return this.frames.every((f, i) => i <= this.frame || f.state == 2);
    }

    // Makes frame i current; each time the last frame comes up one play is counted.
    enter(i) {
      this.frame = i;
      this.counted = this.isLast();
      if (this.counted) this.countPlay();
      this.pump();
    }

    countPlay() {
      if (++this.plays >= this.s.repeat && this.s.repeat > 0) this.finished = true;
    }

    // Takes every step due since the last, so the show keeps time however late the timer.
    tick() {
      const t = now(), g = this.geo;
      let moved = false;
      this.timer = 0;
      this.waiting = false;
      if (!this.running()) return;
      while (t >= this.due && !this.finished) {
        const n = this.nextFrame();
        if (n < 0) { // wait for the picture, then show it at once
          this.waiting = true;
          this.due = t;
          break;
        }
        // A frame turns out to be the last only now (the pictures after it failed).
        if (n <= this.frame && !this.counted && (this.countPlay(), this.finished)) break;
        [[this.x, this.v[0]], [this.y, this.v[1]]] = [this.x, this.y].map((p, a) =>
          step(p, this.v[a], g.area[a], g.range[a], this.s.bounce));
        this.enter(n);
        moved = true;
        this.due += frameWait(this.s, this.isLast());
        if (t - this.due > 1000) this.due = t; // after a long stall, go on from now
      }
      if (moved) this.draw();
      this.update();
    }

    running() {
      return this.started && !this.paused && !this.finished && this.onScreen && !document.hidden;
    }

    // Timer, sound, button and live region follow the state.
    update() {
      const run = this.running(), still = !!(this.paused || this.finished);
      if (run && !this.timer && !this.waiting) {
        if (this.left != null) this.due = now() + this.left;
        this.left = null;
        // Whole milliseconds, never early; longer waits than timers take come in parts.
        this.timer = setTimeout(() => this.tick(), Math.min(2 ** 31 - 1, Math.ceil(Math.max(0, this.due - now()))));
      } else if (!run && this.timer) {
        clearTimeout(this.timer);
        this.timer = 0;
        this.left = Math.max(0, this.due - now());
      }
      this.sound(run);
      if (this.still === still) return; // touch the page only when something shows
      this.still = still;
      this.button.textContent = still ? "\u25b6" : "\u275a\u275a";
      this.button.setAttribute("aria-label", still ? "Play slideshow" : "Pause slideshow");
      this.live.setAttribute("aria-live", still ? "polite" : "off");
    }

    // A click, Space, Enter or K pauses and resumes a running show.
    toggle() {
      if (!this.started || this.finished) return;
      this.paused = !this.paused;
      this.update();
    }

    // Frame i's rectangle in box units: a moving axis at the show's position.
    place(i) {
      const d = this.geo.drawn[i], m = this.s.move;
      return [m[0] ? this.x : d[0], m[1] ? this.y : d[1], d[2], d[3]];
    }

    // Draws in box units, scaled to the backing store.
    draw() {
      const s = this.s, [w, h] = this.dim, cv = this.canvas, c = this.ctx;
      if (!cv.width || !cv.height) return;
      c.setTransform(cv.width / w, 0, 0, cv.height / h, 0, 0);
      c.imageSmoothingQuality = "high";
      c.fillStyle = "rgb(" + s.bg + ")";
      c.fillRect(0, 0, w, h);
      if (s.problem) return this.label(s.problem, cssFont("Helvetica", 0, 12), 12, [0, 0, w, h]);
      if (this.pattern) {
        c.fillStyle = this.pattern;
        c.fillRect(0, 0, w, h);
      }
      const f = this.started && this.frames[this.frame];
      if (!f) return;
      const [x, y, pw, ph] = this.place(this.frame), g = this.geo;
      const im = f.bm || (f.bm !== null && f.img), o = this.first;
      if (pw && ph && im) {
        c.drawImage(im, x, y, pw, ph);
        // The first picture's <img> goes under the canvas once surely painted (page-speed
        // tools take that paint for the page's largest), then away; then more may load.
        if (o && !this.shown) {
          this.shown = 1;
          o.decode().catch(() => 0).then(() => requestAnimationFrame(() => requestAnimationFrame(() => {
            o.style.zIndex = -1;
            setTimeout(() => o.remove(), 2000);
            this.first = null;
            this.pump();
          })));
        }
      }
      const caption = jtrim(f.caption);
      // (Laying out a caption of many thousand characters takes longer than a frame.)
      const said = cut(caption, 1000) || "Picture " + (this.frame + 1) + " of " + this.frames.length;
      if (this.live.textContent != said) this.live.textContent = said;
      if (caption && s.font) this.label(f.caption, s.font.css, s.font.size,
        g.band ? [0, g.area[1], w, g.band] : captionRoom(x, y, pw, ph, w, h), g.band && Math.ceil(1.25 * s.font.size));
    }

    // Text wrapped into the room and clipped to it, as the applet's label draws it; in the
    // band under fitted pictures, two lines of lineHeight.
    label(text, font, size, [x, y, w, h], lineHeight) {
      const c = this.ctx;
      if (w <= 0 || h <= 0) return;
      c.save();
      c.font = font;
      c.fillStyle = textColour(this.s.bg);
      c.beginPath();
      c.rect(x, y, w, h);
      c.clip();
      const m = c.measureText("Mg"), ascent = m.fontBoundingBoxAscent || size;
      const high = lineHeight || ascent + (m.fontBoundingBoxDescent || size / 4);
      // Wrapped once per caption and room, as far as the room holds lines.
      const key = [w, h, font, text].join("\n");
      if (this.wrap !== key)
        this.lines = wrapText(text, (t) => c.measureText(t).width, w - 2 * INSET, Math.ceil((h - INSET) / high));
      this.wrap = key;
      this.lines.forEach((line, i) => c.fillText(line, x + INSET, y + INSET + i * high + ascent));
      c.restore();
    }

    // Silent on a page opened from disk (browsers refuse its fetches); cut off at 64 MiB.
    fetchSound() {
      const url = this.s.soundtrack;
      if (!url || !window.AudioContext || fromDisk || /^file:/i.test(url)) return;
      this.sounds = true;
      fetch(url).then(async (r) => {
        if (!r.ok) throw new Error("HTTP " + r.status);
        const parts = [], reader = r.body.getReader();
        for (let n = 0, d; !(d = await reader.read()).done; parts.push(d.value))
          if ((n += d.value.length) > 2 ** 26) { reader.cancel(); break; }
        const pcm = decodeAu(await new Blob(parts).arrayBuffer()), ch = pcm.channels;
        this.pcm = new AudioBuffer({ numberOfChannels: ch.length, length: ch[0].length, sampleRate: pcm.rate });
        ch.forEach((d, i) => this.pcm.copyToChannel(d, i));
        this.update();
      }).catch((e) => {
        this.sounds = false;
        console.warn("quilanim: cannot play " + url + ": " + e.message);
      });
    }

    // Loops the soundtrack while on (once unlocked), from the start, as the applet's clip.
    sound(on) {
      const ctx = shared.audio, src = this.source;
      if (on && !src && this.pcm && ctx) {
        const b = (this.source = ctx.createBufferSource());
        b.buffer = this.pcm;
        b.loop = true;
        b.connect(ctx.destination);
        b.start();
      } else if (!on && src) {
        src.stop();
        this.source = null;
      }
    }
  }

  // Sound may start only after a click, key or touch; only a show with a soundtrack makes
  // an audio context.
  function unlock() {
    const a = shared.audio;
    if (a ? a.state == "running" : !shared.players.some((p) => p.sounds)) return;
    (shared.audio = a || new AudioContext()).resume().then(() => shared.players.forEach((p) => p.update()));
  }

  if (!shared.listening) {
    shared.listening = true;
    for (const type of ["pointerdown", "pointerup", "keydown", "touchend"])
      document.addEventListener(type, unlock, true);
    const each = (f) => () => shared.players.forEach(f);
    document.addEventListener("visibilitychange", each((p) => p.update()));
    shared.loaded = document.readyState == "complete";
    addEventListener("load", () => each((p) => p.pump())(shared.loaded = true));
    // The backing store follows the pixel density too.
    const density = () => matchMedia(`(resolution: ${devicePixelRatio}dppx)`)
      .addEventListener("change", () => each((p) => p.resize())(density()), { once: true });
    density();
  }
  startAll();
  if (document.readyState == "loading") document.addEventListener("DOMContentLoaded", startAll);
})();
