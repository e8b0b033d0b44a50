// The bridge to the C++ core: one WebAssembly module for the page, and an
// instance of it with one core movie for each loaded animation.

// What the core reports after a call, one event at a time (web/wasm/exports.cpp).
const CoreEvent = {
  FrameShown: 1,   // value: the frame now in the picture
  SoundStart: 2,   // value: the sound number; any earlier cue is gone
  SoundAgain: 3,   // value: the sound number; the cue had ended, play it again
  SoundStop: 4,    // the cue is stopped and gone
  Warning: 5,      // text: what was left out of the movie and why
  SoundNeeded: 6,  // value: a sound number whose length the movie needs
  FontNeeded: 7,   // text: the file name of a font that text in the movie uses
  Ended: 8,        // the last frame of a movie that does not loop is showing
  Damaged: 9,      // text: the first block left out of this movie
};

// Millisecond tick counts as the core takes them: 32-bit and never 0, which
// it reads as "no frame shown yet".
function tickCount() {
  return (Math.floor(performance.now()) + 1) >>> 0;
}

// The most memory one movie's core may take: room for the largest picture
// (4096 x 4096, held twice) with its groups and fonts. The same figure is
// the build's MAXIMUM_MEMORY (web/CMakeLists.txt), which enforces it.
const CORE_MEMORY_CAP = 512 * 1024 * 1024;

// By the .wasm's address: a page's publicPath, read when a player starts,
// may move it after the script has begun compiling the one beside it.
const compiledCores = new Map();

// The module is fetched (through the page's fetch) and compiled once for the
// page, as early as the page shows it will play: in parallel with the movie.
function compileCore() {
  const url = new URL("vxa-player.wasm", scriptUrl).href;
  let compiled = compiledCores.get(url);
  if (!compiled) {
    compiled = fetchExplained(url)
      .catch((error) => {
        throw error.failure === "csp" ? error : new LoadFailure("wasm", error.detail || error.message);
      })
      .then(compileCoreModule);
    compiledCores.set(url, compiled);
  }
  return compiled;
}

// Every movie has a WebAssembly instance of its own, so that one whose core
// fails (runs out of its memory, traps) takes no other player down with it.
function instantiateCore(module) {
  return createVxaCore({
    instantiateWasm: (imports, receive) => {
      WebAssembly.instantiate(module, imports).then((instance) => receive(instance, module));
      return {};
    },
    printErr: (text) => logLine("warn", text),
  });
}

// Font files are fetched once for the page; each movie's core gets its own
// copy when a file arrives. The core holds back text that needs a font until
// the font is there, as it holds back a frame whose data has not arrived.
const fontRequests = new Map();

function fontFile(fileName) {
  let request = fontRequests.get(fileName);
  if (!request) {
    request = fetchInTurn(new URL("fonts/" + fileName, scriptUrl).href)
      .then((bytes) => new Uint8Array(bytes))
      .catch((error) => {
        // Without the file the core draws that text with its fallback.
        logLine("warn", "font " + fileName + " could not be loaded (" + error.message + ")");
        return null;
      });
    fontRequests.set(fileName, request);
  }
  return request;
}

function withCoreString(core, text, use) {
  const size = core.lengthBytesUTF8(text) + 1;
  const pointer = core._malloc(size);
  core.stringToUTF8(text, pointer, size);
  try {
    return use(pointer);
  } finally {
    core._free(pointer);
  }
}

// One animation in the core: its stream, playback state and picture. Every
// call that can start or stop the playback timer says whether it now runs.
class CoreMovie {
  // withSounds: the movie has a folder of sounds to ask for.
  constructor(core, withSounds) {
    this.core = core;
    this.failure = null;  // {cause, message}: why the core failed, once it has
    this.handle = this._guard(() => core._vxa_create(withSounds ? 1 : 0), 0);
  }

  // A core that fails is done: its instance is not called again, and every
  // call answers as for a stopped movie without a picture.
  _guard(call, otherwise) {
    if (this.failure) return otherwise;
    try {
      return call();
    } catch (error) {
      const memory = this.core.HEAPU8 ? this.core.HEAPU8.length : 0;
      this.failure = memory > CORE_MEMORY_CAP * 0.9
        ? { cause: "memory", message: "it needs more than the " + CORE_MEMORY_CAP / (1024 * 1024) + " MB of memory a movie may use" }
        : { cause: "crashed", message: "its playback failed (" + (error && error.message ? error.message : String(error)) + ")" };
      return otherwise;
    }
  }

  destroy() {
    if (this.handle) this._guard(() => this.core._vxa_destroy(this.handle));
    this.handle = 0;
  }

  // A font file's bytes, or null when it could not be had.
  addFont(fileName, bytes) {
    this._guard(() => withCoreString(this.core, fileName, (name) => {
      if (!bytes) return this.core._vxa_font_missing(name);
      const data = this.core._malloc(bytes.byteLength);
      this.core.HEAPU8.set(bytes, data);
      this.core._vxa_add_font(name, data, bytes.byteLength);  // takes the bytes
    }));
  }

  timerPeriod() {
    return this._guard(() => this.core._vxa_timer_period(), 20);
  }

  takeChunk(bytes) {
    return this._guard(() => {
      const core = this.core;
      const pointer = core._vxa_chunk_buffer(this.handle, bytes.length);
      core.HEAPU8.set(bytes, pointer);
      return core._vxa_take_chunk(this.handle, bytes.length, tickCount()) !== 0;
    }, false);
  }

  // The stream ended normally.
  endOfStream() {
    return this._guard(() => {
      return this.core._vxa_end_of_stream(this.handle, tickCount()) !== 0;
    }, false);
  }

  // A message of the page's timer.
  tick() {
    return this._guard(() => {
      return this.core._vxa_tick(this.handle, tickCount()) !== 0;
    }, false);
  }

  // A left click into the picture.
  click() {
    return this._guard(() => {
      return this.core._vxa_click(this.handle, tickCount()) !== 0;
    }, false);
  }

  // The script API: pause as a click does while playing; play on from a
  // pause or from ESC; stop as ESC does.
  pause() {
    return this._guard(() => {
      return this.core._vxa_pause(this.handle, tickCount()) !== 0;
    }, false);
  }

  play() {
    return this._guard(() => {
      return this.core._vxa_play(this.handle, tickCount()) !== 0;
    }, false);
  }

  stop() {
    this._guard(() => {
      this.core._vxa_stop(this.handle);
    });
  }

  isPaused() {
    return this._guard(() => {
      return this.core._vxa_is_paused(this.handle) !== 0;
    }, false);
  }

  // The sound's length in ms, or null when it has no file.
  soundSettled(number, milliseconds) {
    return this._guard(() => {
      return this.core._vxa_sound_settled(this.handle, number, milliseconds === null ? -1 : milliseconds) !== 0;
    }, false);
  }

  // Fonts arrived: text held back for them can now be taken in.
  retryHeldBack() {
    return this._guard(() => {
      return this.core._vxa_retry_held_back(this.handle) !== 0;
    }, false);
  }

  // Text that has come in, to be drawn once while the page is idle.
  hasColdText() {
    return this._guard(() => {
      return this.core._vxa_has_cold_text(this.handle) !== 0;
    }, false);
  }

  warmUpText() {
    return this._guard(() => {
      return this.core._vxa_warm_up_text(this.handle) !== 0;
    }, false);
  }

  // The movie's size once its header is in, else null.
  size() {
    return this._guard(() => {
      const width = this.core._vxa_width(this.handle);
      const height = this.core._vxa_height(this.handle);
      return width > 0 && height > 0 ? { width, height } : null;
    }, null);
  }

  // The picture in the movie's window: RGBA bytes, width * height * 4.
  picture() {
    return this._guard(() => {
      const size = this.size();
      if (!size) return null;
      const pointer = this.core._vxa_picture(this.handle);
      const bytes = new Uint8ClampedArray(this.core.HEAPU8.buffer, pointer, size.width * size.height * 4);
      return new ImageData(bytes, size.width, size.height);
    }, null);
  }

  // The cursor resource to show over the picture, 0 to leave the page's own.
  cursor() {
    return this._guard(() => {
      return this.core._vxa_cursor(this.handle);
    }, 0);
  }

  currentFrame() {
    return this._guard(() => {
      return this.core._vxa_current_frame(this.handle);
    }, 0);
  }

  // What the header says about the movie, once it is in, else null.
  facts() {
    return this._guard(() => {
      const fact = (kind) => this.core._vxa_header_fact(this.handle, kind);
      if (fact(0) < 0) return null;
      return {
        layout: fact(0) === 1 ? "narrow" : "wide",
        width: fact(6),
        height: fact(7),
        frameRate: fact(1),
        frames: fact(2),
        groups: fact(5),
        loops: fact(3) === 1,
        waitsForClick: fact(4) === 1,
      };
    }, null);
  }

  // Everything reported since the last call, in order.
  takeEvents() {
    return this._guard(() => {
      const core = this.core;
      const events = [];
      for (let kind; (kind = core._vxa_next_event(this.handle)) !== 0; ) {
        const textPointer = core._vxa_event_text(this.handle);
        events.push({
          kind,
          value: core._vxa_event_value(this.handle),
          text: textPointer ? core.UTF8ToString(textPointer) : "",
        });
      }
      return events;
    }, []);
  }
}
