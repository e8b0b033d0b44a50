// <vxa-player src="movie.vxa" sounds="folder/" width="480" height="320">:
// one animation in the page, played as the plug-in played it in its window.
//
// Script use: element.load(urlOrBytes), play(), pause(), stop(); the element
// fires "frame" (detail.frame), "end" and "warning" (detail.message).

const template = document.createElement("template");
template.innerHTML = `<style>
:host { display: inline-block; position: relative; overflow: hidden; vertical-align: bottom; }
:host([hidden]) { display: none; }
canvas { display: block; width: 100%; height: 100%; image-rendering: pixelated; }
button {
  position: absolute; top: 3px; right: 3px; width: 22px; height: 22px; padding: 2px;
  border: 0; border-radius: 3px; background: rgba(0, 0, 0, 0.45); color: #fff;
  opacity: 0.75; cursor: pointer; line-height: 0;
}
button:hover, button:focus-visible { opacity: 1; }
button[hidden] { display: none; }
</style><canvas role="img"></canvas><button type="button" hidden
 title="Sound is off until you click or press a key on this page"
 aria-label="Turn on sound"><svg viewBox="0 0 16 16" width="18" height="18" aria-hidden="true"
 fill="currentColor"><path d="M2 6h3l4-3v10l-4-3H2z"/><path d="M11 5.5l4 5m0-5l-4 5"
 stroke="currentColor" stroke-width="1.5"/></svg></button>`;

const players = new Set();  // connected players, for ESC

// ESC stops every movie that is playing, as the plug-in stopped the movie
// whose timer was running when the key was typed anywhere in the browser.
document.addEventListener("keydown", (event) => {
  if (event.key !== "Escape") return;
  for (const player of players) if (player.playing) player.stop();
}, { capture: true });

// The canvas shows the movie at one CSS pixel per movie pixel, from the top
// left corner, as the plug-in drew it into its window; its backing store has
// the device's pixels, and each movie pixel becomes a block of them without
// blending, so the picture stays as sharp as it was on a high-DPI screen.
class VxaPlayerElement extends HTMLElement {
  static get observedAttributes() {
    return ["src", "width", "height", "label"];
  }

  constructor() {
    super();
    const root = this.attachShadow({ mode: "open" });
    root.appendChild(template.content.cloneNode(true));
    this._canvas = root.querySelector("canvas");
    this._context = null;  // made at the first drawing
    this._soundBadge = root.querySelector("button");
    this._picture = null;  // the last picture shown, as much of it as the box shows
    this._movie = null;    // the link to the movie's core (movie_link.js)
    this._session = null;  // the load in progress; a new load abandons the old
    this._view = null;     // the movie pixels the box shows
    this._failure = null;  // {cause, message}: why the movie stopped, once it has
    this._cursorShown = -1;
    this._cue = new CueOutput(() => this._soundMuted());
    this._autoSize = null;

    this._canvas.addEventListener("pointerdown", (event) => {
      if (event.button === 0) this._click();
    });
    this._soundBadge.addEventListener("pointerdown", (event) => event.stopPropagation());
    this._soundBadge.addEventListener("click", () => resumeAudio());
    this._resizeObserver = new ResizeObserver((entries) => this._resized(entries[entries.length - 1]));
    prepareCores();
    addControls(this);
  }

  connectedCallback() {
    players.add(this);
    if (!this.hasAttribute("tabindex")) this.tabIndex = 0;  // space and the right arrow when focused
    this._applySize();
    this._applyLabel();
    try {
      this._resizeObserver.observe(this._canvas, { box: "device-pixel-content-box" });
    } catch (error) {
      this._resizeObserver.observe(this._canvas);  // browsers without device pixel boxes
    }
    const src = this.getAttribute("src");
    if (src && !this._session) this.load(src);
  }

  disconnectedCallback() {
    players.delete(this);
    this._resizeObserver.disconnect();
    // Moving the element within the page keeps the movie going.
    queueMicrotask(() => {
      if (!this.isConnected) this._unload();
    });
  }

  attributeChangedCallback(name, oldValue, value) {
    if (name === "src" && this.isConnected && value && value !== oldValue) this.load(value);
    if (name === "width" || name === "height") this._applySize();
    if (name === "label") this._applyLabel();
  }

  // Starts a new movie from a URL (read progressively) or from bytes (an
  // ArrayBuffer or a typed array, taken as one chunk), or from {url} or
  // {data} of those.
  load(source) {
    if (source && typeof source === "object" && !(source instanceof ArrayBuffer) && !ArrayBuffer.isView(source)) {
      source = source.data !== undefined ? source.data : source.url;
    }
    this._unload();
    const session = { abort: new AbortController(), url: null };
    this._session = session;
    const bytes = source instanceof ArrayBuffer ? new Uint8Array(source)
      : ArrayBuffer.isView(source) ? new Uint8Array(source.buffer, source.byteOffset, source.byteLength)
      : null;
    if (!bytes) session.url = new URL(String(source), document.baseURI).href;
    this._applyLabel();
    session.sounds = soundFolder(this.getAttribute("sounds"), session.url);
    startPlayer(this, session, source);
    return openMovie(session.sounds !== null, (report) => {
      if (this._session === session) this._report(report);
    }).then((link) => {
      if (this._session !== session) return link.close();
      this._movie = link;
      // The first picture is cut to the box too, even before it is observed.
      if (!this._view) this._view = this._shownPart(this._canvas.clientWidth, this._canvas.clientHeight);
      link.send({ op: "view", ...this._view });
      if (bytes) {
        this._chunk(session, bytes.slice());  // the caller keeps its bytes
        this._endOfStream(session);
        return;
      }
      return this._stream(session);
    }, (error) => {
      if (this._session === session) this._fail(error.failure || "wasm", error.detail || error.message);
    });
  }

  // Goes on after a pause or ESC.
  play() {
    if (this._movie) this._movie.send({ op: "play" });
  }

  // Pauses as a click does while the movie plays.
  pause() {
    if (this._movie) this._movie.send({ op: "pause" });
  }

  // Stops the timer as ESC does; play() or a click goes on from there.
  stop() {
    if (this._movie) this._movie.send({ op: "stop" });
  }

  // One frame on from a pause; the movie is paused again there.
  step() {
    stepFrame(this);
  }

  // The movie again from its start.
  restart() {
    restartMovie(this);
  }

  get volume() {
    return this._cue.volume;
  }

  set volume(value) {
    this._cue.setVolume(value, this._cue.muted);
  }

  get muted() {
    return this._cue.muted;
  }

  set muted(value) {
    this._cue.setVolume(this._cue.volume, Boolean(value));
  }

  // What the core last reported: the frame shown, the pause, whether the
  // playback timer runs.
  get currentFrame() {
    return this._movie ? this._movie.state.frame : 0;
  }

  // What the movie's header says (layout, width, height, frameRate, frames,
  // loops, waitsForClick), or null until it is in.
  get facts() {
    return this._movie ? this._movie.state.facts : null;
  }

  get paused() {
    return this._movie ? this._movie.state.paused : false;
  }

  // True while the playback timer runs.
  get playing() {
    return this._movie ? this._movie.state.playing : false;
  }

  async _stream(session) {
    let response;
    try {
      response = await fetchExplained(session.url, { signal: session.abort.signal });
    } catch (error) {
      if (this._session !== session) return;
      if (error.failure) this._fail(error.failure, error.detail);
      else this._warn(session.url + " could not be loaded (" + error.message + ")");
      return;
    }
    // A page in place of the movie: an archive's or a server's stand-in.
    if (/^text\/html/i.test(response.headers.get("Content-Type") || "")) return this._fail("notMovie", "");
    const reader = response.body.getReader();
    for (;;) {
      let part;
      try {
        part = await reader.read();
      } catch (error) {
        // A broken-off stream undoes nothing: what came in plays, and the
        // timer is left as it was.
        if (this._session === session && !this._failure) this._warn(session.url + " broke off (" + error.message + ")");
        return;
      }
      if (this._session !== session) return;
      if (part.done) break;
      this._chunk(session, part.value);
    }
    this._endOfStream(session);
  }

  // The bytes go over to the core, not copied.
  _chunk(session, bytes) {
    if (this._failure) return;
    const whole = bytes.byteOffset === 0 && bytes.byteLength === bytes.buffer.byteLength;
    const own = whole ? bytes : bytes.slice();
    this._movie.send({ op: "chunk", bytes: own }, [own.buffer]);
  }

  _endOfStream(session) {
    if (this._failure) return;
    this._movie.send({ op: "end" });
  }

  // Once per movie: a header that can't be played stops it here; one that
  // can is told to the page.
  _headerIn(session, state) {
    session.facts = state.facts;
    const failure = headerFailure(session.facts, state.size);
    if (failure) return this._fail(...failure);
    this.dispatchEvent(new CustomEvent("loadedmetadata", { detail: { ...session.facts } }));
  }

  _unload() {
    this._cue.stop();
    if (this._session) this._session.abort.abort();
    this._session = null;
    if (this._movie) this._movie.close();
    this._movie = null;
    this._failure = null;
    hideErrorScreen(this);
    this._setPicture(null);
    this._soundBadge.hidden = true;
    playersWaitingForSound.delete(this);
    this._present();
    this._showCursor();
  }

  // The movie can't play (on): this player stops with its error screen and a
  // warning; the other players of the page have cores of their own.
  // cause: a key of FAILURE_REASONS, detail what its reason names.
  _fail(cause, detail) {
    if (this._failure) return;
    const reason = failureReason(cause, detail);
    this._failure = this._describe() + " stopped: " + reason;
    if (this._movie) this._movie.close();
    this._cue.stop();
    this._setPicture(null);
    this._present();
    showErrorScreen(this, cause, reason, this._describe());
    this._warn(this._failure);
  }

  _click() {
    if (this._movie) this._movie.send({ op: "click" });
  }

  // What the core reported after a command or a tick, carried out in order.
  _report(report) {
    // A header that can't be played, or a core that failed, stops the movie
    // before anything of the report is carried out.
    const session = this._session;
    if (report.state && report.state.facts && !session.facts) this._headerIn(session, report.state);
    if (report.state && report.state.streamEnded && !report.state.facts) this._fail("notMovie", "");
    if (report.failure) this._fail(report.failure.cause, report.failure.message);
    if (this._failure) {
      if (report.picture && typeof report.picture.close === "function") report.picture.close();
      return;
    }
    // The picture is on the canvas before its frame event goes out.
    if (report.picture) {
      this._setPicture(report.picture);
      this._present();
    }
    if (report.state && report.state.size && !session.sized) {
      session.sized = true;
      this._movieSized(report.state.size);
    }
    this._handleEvents(report.events || []);
  }

  _handleEvents(events) {
    const movie = this._movie;
    const folder = this._session && this._session.sounds;
    for (const event of events) {
      switch (event.kind) {
        case CoreEvent.FrameShown:
          this.dispatchEvent(new CustomEvent("frame", { detail: { frame: event.value } }));
          afterFrameShown(this, this._session);
          break;
        case CoreEvent.SoundStart:
        case CoreEvent.SoundAgain:
          this._cue.play(soundUrl(folder, event.value));
          break;
        case CoreEvent.SoundStop:
          this._cue.stop();
          break;
        case CoreEvent.SoundNeeded:
          soundFile(soundUrl(folder, event.value)).then((buffer) => {
            if (this._movie !== movie || !movie) return;
            movie.send({ op: "sound", number: event.value, length: buffer ? Math.round(buffer.duration * 1000) : null });
          });
          break;
        case CoreEvent.FontNeeded:
          fontFile(event.text).then((bytes) => {
            if (this._movie !== movie || !movie) return;
            const own = bytes && bytes.slice();  // the page's copy stays for the next movie
            movie.send({ op: "font", name: event.text, bytes: own }, own ? [own.buffer] : []);
          });
          break;
        case CoreEvent.Damaged:
          // Once per movie, as the plug-in told it once in a box.
          logLine("warn", this._describe() + " is damaged; what can't be read is left out: " + event.text);
          break;
        case CoreEvent.Warning:
          this.dispatchEvent(new CustomEvent("warning", { detail: { message: event.text } }));
          break;
        case CoreEvent.Ended:
          this.dispatchEvent(new CustomEvent("end"));
          break;
      }
    }
    this._showCursor();
  }

  _warn(message) {
    logLine("warn", message);
    this.dispatchEvent(new CustomEvent("warning", { detail: { message } }));
  }

  _describe() {
    return this._session && this._session.url ? this._session.url : "the animation";
  }

  // An ImageBitmap from a worker is let go as soon as the next replaces it.
  _setPicture(picture) {
    if (this._picture && this._picture !== picture && typeof this._picture.close === "function") this._picture.close();
    this._picture = picture;
  }

  // Draws the last picture into the canvas at the device's pixels.
  _present() {
    const canvas = this._canvas;
    if (!this._context && !this._picture && !this._failure) return;  // a canvas never drawn on is clear
    const context = this._context || (this._context = canvas.getContext("2d"));
    context.clearRect(0, 0, canvas.width, canvas.height);
    if (this._failure) return this._presentFailure(this._failure.message);
    if (!this._picture) return;
    const scale = this._deviceScale || 1;
    context.imageSmoothingEnabled = false;
    context.drawImage(this._picture, 0, 0, Math.round(this._picture.width * scale),
                      Math.round(this._picture.height * scale));
  }

  // A failed movie's box is grey under its error screen.
  _presentFailure() {
    this._context.fillStyle = "#c0c0c0";
    this._context.fillRect(0, 0, this._canvas.width, this._canvas.height);
  }

  // Watching the device pixel box brings a call on every zoom too. Its size
  // is taken from the device pixel ratio, which also holds where a page is
  // shown scaled (as in a browser's device emulation).
  _resized(entry) {
    const width = Math.round(entry.contentRect.width * devicePixelRatio);
    const height = Math.round(entry.contentRect.height * devicePixelRatio);
    this._deviceScale = devicePixelRatio;
    if (this._canvas.width !== width || this._canvas.height !== height) {
      this._canvas.width = width;
      this._canvas.height = height;
    }
    const view = this._shownPart(Math.ceil(width / devicePixelRatio), Math.ceil(height / devicePixelRatio));
    if (!this._view || view.width !== this._view.width || view.height !== this._view.height) {
      this._view = view;
      if (this._movie) this._movie.send({ op: "view", ...view });
    }
    this._present();
  }

  // The movie pixels a box of this size shows. A player the movie sizes
  // shows its whole picture: its box is still the default one until the
  // header is in, and a first frame cut to that would be shown cut.
  _shownPart(width, height) {
    const sizedByPage = this.hasAttribute("width") && this.hasAttribute("height");
    return sizedByPage ? { width, height } : { width: Infinity, height: Infinity };
  }

  // Width and height: the attributes (a number is CSS pixels, anything else
  // a CSS length such as 50%), else the movie's own size once it is known.
  _applySize() {
    for (const side of ["width", "height"]) {
      const value = this.getAttribute(side);
      const auto = this._autoSize ? this._autoSize[side] + "px" : "";
      this.style[side] = value ? (/^\d+(\.\d+)?$/.test(value.trim()) ? value.trim() + "px" : value) : auto;
    }
  }

  _movieSized(size) {
    this._autoSize = size;
    this._applySize();
  }

  _applyLabel() {
    const url = this._session && this._session.url;
    const name = url ? decodeURIComponent(new URL(url).pathname.split("/").pop()) : "";
    const label = this.getAttribute("label") || (name ? "Animation " + name : "Animation");
    this._canvas.setAttribute("aria-label", label);
  }

  _showCursor() {
    const cursor = this._movie ? this._movie.state.cursor : 0;
    if (cursor === this._cursorShown) return;
    this._cursorShown = cursor;
    this._canvas.style.cursor = cursor ? CURSORS[cursor] : "";
  }

  _soundMuted() {
    this._soundBadge.hidden = playerSetting(this, "unmuteOverlay") === "hidden";
    playersWaitingForSound.add(this);
  }

  _soundAllowed() {
    this._soundBadge.hidden = true;
  }
}

