/* quilanim.js 1.0: plays Java Reelcraft slideshow applets in browsers without Java
   Copyright (c) 2026 Tarnwick. MIT License: https://opensource.org/license/mit */
// Each <applet code="quilanim"> gets a player beside it that reads the applet's <param>s
// and draws what the applet draws. The element stays (hidden), so Java still runs it
// where it can. Loading the script several times is harmless.
"use strict";
(() => {
  const NO_IMAGE_LIST = "No image list. Essential!";
  const INSET = 4; // blank space around caption text, as the applet's label leaves
  const MIN_STEP = 10; // shortest wait between steps, so PAUSE 0 does not spin

  // -- parameters, read as the applet reads them

  // Java's String.trim(): strips control characters and blanks at both ends.
  const jtrim = (s) => String(s).replace(/^[\x00-\x20]+|[\x00-\x20]+$/g, "");

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

  // Java's logical font names become generic families; other names fall back to sans-serif.
  const FAMILIES = { helvetica: "sans-serif", sansserif: "sans-serif", dialog: "sans-serif",
    timesroman: "serif", serif: "serif", courier: "monospace", dialoginput: "monospace",
    monospaced: "monospace" };
  function cssFont(name, style, size) {
    const n = jtrim(name).replace(/["\\;{}]/g, "");
    return (style & 2 ? "italic " : "") + (style & 1 ? "bold " : "") + size + "px " +
      (FAMILIES[n.toLowerCase()] || '"' + n + '", sans-serif');
  }

  // The settings of one element. get(name): a parameter's value or null (any case);
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
    s.background = resolve(get("BACKGROUND"));
    s.soundtrack = resolve(get("SOUNDTRACK"));
    return s;
  }

  // -- movement, layout and timing

  const mod = (a, n) => ((a % n) + n) % n;

  // One step of a picture of size along an area of length, as the applet steps: bouncing
  // reflects off both ends, wrapping comes back in at the other. [position, velocity].
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

  // Lines no wider than width by measure(text); a word wider than a line is cut between
  // characters, at least one a line.
  function wrapText(text, measure, width) {
    const lines = [];
    let line = "";
    jtrim(text || "").split(/\s+/).filter(Boolean).forEach((word) => {
      const candidate = line ? line + " " + word : word;
      if (measure(candidate) <= width) return void (line = candidate);
      if (line) lines.push(line);
      let chars = Array.from(word);
      while (chars.length > 1 && measure(chars.join("")) > width) {
        let fits = 1;
        while (measure(chars.slice(0, fits + 1).join("")) <= width) fits++;
        lines.push(chars.slice(0, fits).join(""));
        chars = chars.slice(fits);
      }
      line = chars.join("");
    });
    if (line) lines.push(line);
    return lines;
  }

  // Black text on light backgrounds, white on dark ones.
  const textColour = (rgb) => ((rgb[0] * 299 + rgb[1] * 587 + rgb[2] * 114) / 1000 < 128 ? "#fff" : "#000");

  // How long a frame stays: PAUSE (at least MIN_STEP), plus ENDDELAY after the last one.
  const frameWait = (s, isLast) => Math.max(s.pause, MIN_STEP) + (isLast ? s.endDelay : 0);

  // -- Sun ".au" sound

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

  // A Sun audio file (µ-law, A-law, 8/16-bit linear) as { rate, channels: [Float32Array] };
  // rates outside 8000..96000 Hz are resampled to the nearer end. Throws on anything else.
  function decodeAu(buffer) {
    const v = new DataView(buffer), head = (i) => v.getUint32(i * 4);
    if (v.byteLength < 24 || head(0) != 0x2e736e64) throw new Error("not a Sun audio file");
    const start = head(1), enc = head(3), rate = head(4), count = head(5);
    const width = { 1: 1, 2: 1, 3: 2, 27: 1 }[enc];
    if (!width || !count || count > 32 || !rate || start < 24 || start > v.byteLength)
      throw new Error("unsupported Sun audio file");
    // The data size may be unknown (all ones) or past the end.
    const size = Math.min(head(2), v.byteLength - start), frames = Math.floor(size / width / count);
    const out = Array.from({ length: count }, () => new Float32Array(frames));
    for (let i = 0; i < frames; i++) {
      for (let c = 0; c < count; c++) {
        const at = start + (i * count + c) * width;
        out[c][i] = (enc == 1 ? ulaw(v.getUint8(at)) : enc == 27 ? alaw(v.getUint8(at))
          : enc == 2 ? v.getInt8(at) * 256 : v.getInt16(at)) / 32768;
      }
    }
    const to = Math.min(96000, Math.max(8000, rate));
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
    readSettings, step, captionRoom, wrapText, frameWait, decodeAu };
  if (typeof document !== "object") return;

  // -- players in the page

  // Shared by every copy of this script the page runs.
  const shared = window.quilanimPlayers || (window.quilanimPlayers = { players: [], audio: null });
  const now = () => performance.now();
  const make = (tag, parent) => parent.appendChild(document.createElement(tag));

  function startAll() {
    for (const el of document.getElementsByTagName("applet")) {
      if (!/^quilanim(\.class)?$/i.test(jtrim(el.getAttribute("code") || "")) || el.hasAttribute("data-quilanim"))
        continue;
      el.setAttribute("data-quilanim", "");
      try { shared.players.push(new Player(el)); } catch (e) { console.warn("quilanim: " + e.message); }
    }
  }

  // The hidden live region, and the pause button shown on focus and hover.
  function addStyle() {
    if (document.getElementById("quilanim-style")) return;
    const st = make("style", document.head || document.documentElement);
    st.id = "quilanim-style";
    st.textContent = ".quilanim{position:relative;display:inline-block;vertical-align:bottom;overflow:hidden;contain:content}" +
      ".quilanim canvas{display:block}.quilanim button{position:absolute;left:4px;bottom:4px;" +
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
      this.onScreen = true;
      this.frames = s.urls.map((url, i) => ({ url, caption: s.captions ? s.captions[i] : "" }));
      this.w = Math.max(0, parseInteger(el.getAttribute("width")) || 0);
      this.h = Math.max(0, parseInteger(el.getAttribute("height")) || 0);

      addStyle();
      const box = (this.box = document.createElement("span"));
      box.className = "quilanim";
      box.tabIndex = 0;
      box.setAttribute("role", "region");
      box.setAttribute("aria-roledescription", "slideshow");
      box.setAttribute("aria-label", (s.captions && jtrim(s.captions[0])) || "Slideshow");
      this.canvas = make("canvas", box);
      this.canvas.setAttribute("aria-hidden", "true");
      this.button = make("button", box);
      this.button.type = "button";
      this.button.tabIndex = -1; // the region itself takes the keys
      this.live = make("span", box);
      this.live.className = "quilanim-live";
      el.parentNode.insertBefore(box, el);
      el.style.display = "none";
      for (const m of s.messages) {
        console.warn("quilanim: " + m);
        box.setAttribute("data-status", m);
      }
      this.size(this.w, this.h);
      this.draw();
      if (s.problem) return;

      box.addEventListener("click", () => this.toggle());
      box.addEventListener("keydown", (e) => {
        if (e.ctrlKey || e.metaKey || e.altKey || !/^( |Enter|k|K)$/.test(e.key)) return;
        e.preventDefault();
        this.toggle();
      });
      if (window.IntersectionObserver) {
        new IntersectionObserver((seen) => {
          this.onScreen = seen[seen.length - 1].isIntersecting;
          this.update();
        }).observe(box);
      }
      this.load();
      this.fetchSound();
      this.update();
    }

    size(w, h) {
      const r = window.devicePixelRatio || 1, c = this.canvas;
      c.width = Math.round(w * r);
      c.height = Math.round(h * r);
      c.style.width = w + "px";
      c.style.height = h + "px";
      this.area = [w, h];
    }

    // Loads the pictures in play order, the background right after the first. The first
    // picture starts the show, unless the area is sized from the pictures: then it waits.
    load() {
      const fit = !this.w || !this.h, list = this.frames.slice();
      if (this.s.background) list.splice(1, 0, (this.back = { url: this.s.background }));
      const next = (i) => {
        if (i >= list.length) return fit && this.fit();
        const f = list[i], img = new Image();
        img.onload = img.onerror = () => {
          if (img.naturalWidth > 0) f.img = img;
          else console.warn("quilanim: cannot load " + f.url);
          f.state = f.img ? 1 : 2;
          if (f != this.back && f.img && !fit) this.ready();
          else if (this.started) this.draw();
          if (this.waiting) this.tick();
          next(i + 1);
        };
        img.src = f.url;
      };
      next(0);
    }

    // The largest picture so far.
    sprite() {
      return this.frames.reduce((m, f) => f.img ? [Math.max(m[0], f.img.naturalWidth),
        Math.max(m[1], f.img.naturalHeight)] : m, [0, 0]);
    }

    // A width or height of 0 becomes the largest picture's or the background's.
    fit() {
      const sp = this.sprite(), b = (this.back && this.back.img) || { naturalWidth: 0, naturalHeight: 0 };
      this.size(this.w || Math.max(sp[0], b.naturalWidth), this.h || Math.max(sp[1], b.naturalHeight));
      this.ready();
      this.draw();
    }

    // A picture arrived; the first one starts the show at its first playable frame.
    ready() {
      this.sp = this.sprite();
      const first = this.frames.findIndex((f) => f.img);
      if (this.started || first < 0) return;
      this.started = true;
      this.plays = 0;
      this.v = this.s.move.slice();
      // A picture moving left or up starts at the far edge.
      this.x = this.v[0] < 0 ? this.area[0] - this.sp[0] : 0;
      this.y = this.v[1] < 0 ? this.area[1] - this.sp[1] : 0;
      this.enter(first);
      this.left = frameWait(this.s, this.isLast()); // counted once the show runs
      this.draw();
      this.update();
    }

    // The next playable frame after the current one; -1 while it is still loading.
    nextFrame() {
      const n = this.frames.length;
      for (let i = 1; i <= n; i++) {
        const f = this.frames[(this.frame + i) % n];
        if (f.state != 2) return f.state ? (this.frame + i) % n : -1;
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
    }

    countPlay() {
      if (++this.plays >= this.s.repeat && this.s.repeat > 0) this.finished = true;
    }

    // Takes every step due since the last, so the show keeps time however late the timer.
    tick() {
      const t = now();
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
        const x = step(this.x, this.v[0], this.area[0], this.sp[0], this.s.bounce);
        const y = step(this.y, this.v[1], this.area[1], this.sp[1], this.s.bounce);
        [this.x, this.v[0], this.y, this.v[1]] = [x[0], x[1], y[0], y[1]];
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
        this.timer = setTimeout(() => this.tick(), Math.max(0, this.due - now()));
      } else if (!run && this.timer) {
        clearTimeout(this.timer);
        this.timer = 0;
        this.left = Math.max(0, this.due - now());
      }
      this.sound(this.started && !still && !document.hidden);
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

    draw() {
      const s = this.s, [w, h] = this.area, c = this.canvas.getContext("2d");
      const r = window.devicePixelRatio || 1;
      if (!w || !h) return;
      c.setTransform(r, 0, 0, r, 0, 0);
      c.fillStyle = "rgb(" + s.bg + ")";
      c.fillRect(0, 0, w, h);
      if (s.problem) return this.label(s.problem, cssFont("Helvetica", 0, 12), 12, [0, 0, w, h]);
      const back = this.back && this.back.img;
      if (back) {
        c.fillStyle = c.createPattern(back, "repeat");
        c.fillRect(0, 0, w, h);
      }
      const f = this.started && this.frames[this.frame];
      if (!f) return;
      c.drawImage(f.img, this.x, this.y);
      const caption = jtrim(f.caption);
      const said = caption || "Picture " + (this.frame + 1) + " of " + this.frames.length;
      if (this.live.textContent != said) this.live.textContent = said;
      if (caption && s.font) this.label(f.caption, s.font.css, s.font.size,
        captionRoom(this.x, this.y, f.img.naturalWidth, f.img.naturalHeight, w, h));
    }

    // Text wrapped into the room and clipped to it, as the applet's label draws it.
    label(text, font, size, [x, y, w, h]) {
      const c = this.canvas.getContext("2d");
      if (w <= 0 || h <= 0) return;
      c.save();
      c.font = font;
      c.fillStyle = textColour(this.s.bg);
      c.beginPath();
      c.rect(x, y, w, h);
      c.clip();
      const m = c.measureText("Mg"), ascent = m.fontBoundingBoxAscent || size;
      const high = ascent + (m.fontBoundingBoxDescent || size / 4);
      let top = y + INSET;
      for (const line of wrapText(text, (t) => c.measureText(t).width, w - 2 * INSET)) {
        if (top >= y + h) break;
        c.fillText(line, x + INSET, top + ascent);
        top += high;
      }
      c.restore();
    }

    // Browsers refuse fetches from file: pages; a page opened from disk plays silently.
    fetchSound() {
      const url = this.s.soundtrack;
      if (!url || location.protocol == "file:" || /^file:/i.test(url)) return;
      fetch(url)
        .then((r) => (r.ok ? r.arrayBuffer() : Promise.reject(new Error("HTTP " + r.status))))
        .then((bytes) => { this.pcm = decodeAu(bytes); this.update(); })
        .catch((e) => console.warn("quilanim: cannot play " + url + ": " + e.message));
    }

    // Loops the soundtrack while on (once unlocked), from the start as the applet's clip.
    sound(on) {
      const ctx = shared.audio, pcm = this.pcm;
      if (on && !this.source && pcm && ctx) {
        const b = ctx.createBuffer(pcm.channels.length, pcm.channels[0].length, pcm.rate);
        pcm.channels.forEach((d, i) => b.getChannelData(i).set(d));
        this.source = ctx.createBufferSource();
        this.source.buffer = b;
        this.source.loop = true;
        this.source.connect(ctx.destination);
        this.source.start();
      } else if (!on && this.source) {
        this.source.stop();
        this.source = null;
      }
    }
  }

  // Sound may start only after a click, key or touch on the page.
  function unlock() {
    if (shared.audio && shared.audio.state == "running") return;
    if (!shared.audio && window.AudioContext) shared.audio = new AudioContext();
    if (shared.audio) shared.audio.resume().then(() => shared.players.forEach((p) => p.update()));
  }

  if (!shared.listening) {
    shared.listening = true;
    for (const type of ["pointerdown", "pointerup", "keydown", "touchend"])
      document.addEventListener(type, unlock, true);
    document.addEventListener("visibilitychange", () => shared.players.forEach((p) => p.update()));
  }
  startAll();
  if (document.readyState == "loading") document.addEventListener("DOMContentLoaded", startAll);
})();
