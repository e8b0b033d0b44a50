// The bridge to the C++ core: one WebAssembly instance for the page, shared
// by every player on it, and one core movie per loaded animation.

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

let corePromise = null;

// The core is loaded once, the first time a player needs it.
function loadCore() {
  if (!corePromise) {
    corePromise = createVxaCore({
      locateFile: (name) => new URL(name, scriptUrl).href,
    });
  }
  return corePromise;
}

// Fonts are shared by every movie: each file is fetched once, and handed to
// the core when it arrives. The core holds back text that needs a font until
// the font is there, as it holds back a frame whose data has not arrived.
const fontRequests = new Map();

function provideFont(core, fileName, onArrived) {
  let request = fontRequests.get(fileName);
  if (!request) {
    request = fetchResource(new URL("fonts/" + fileName, scriptUrl).href)
      .then((response) => {
        if (!response.ok) throw new Error("HTTP " + response.status);
        return response.arrayBuffer();
      })
      .then((bytes) => {
        withCoreString(core, fileName, (name) => {
          const data = core._malloc(bytes.byteLength);
          core.HEAPU8.set(new Uint8Array(bytes), data);
          core._vxa_add_font(name, data, bytes.byteLength);  // takes the bytes
        });
        return true;
      })
      .catch((error) => {
        // Without the file the core draws that text with its fallback.
        withCoreString(core, fileName, (name) => core._vxa_font_missing(name));
        console.warn("vxa-player: font " + fileName + " could not be loaded (" + error.message + ")");
        return false;
      });
    fontRequests.set(fileName, request);
  }
  request.then(() => onArrived());
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
    this.handle = core._vxa_create(withSounds ? 1 : 0);
  }

  destroy() {
    if (this.handle) this.core._vxa_destroy(this.handle);
    this.handle = 0;
  }

  takeChunk(bytes) {
    const core = this.core;
    const pointer = core._vxa_chunk_buffer(this.handle, bytes.length);
    core.HEAPU8.set(bytes, pointer);
    return core._vxa_take_chunk(this.handle, bytes.length, tickCount()) !== 0;
  }

  // The stream ended normally.
  endOfStream() {
    return this.core._vxa_end_of_stream(this.handle, tickCount()) !== 0;
  }

  // A message of the page's timer.
  tick() {
    return this.core._vxa_tick(this.handle, tickCount()) !== 0;
  }

  // A left click into the picture.
  click() {
    return this.core._vxa_click(this.handle, tickCount()) !== 0;
  }

  // The script API: pause as a click does while playing; play on from a
  // pause or from ESC; stop as ESC does.
  pause() {
    return this.core._vxa_pause(this.handle, tickCount()) !== 0;
  }

  play() {
    return this.core._vxa_play(this.handle, tickCount()) !== 0;
  }

  stop() {
    this.core._vxa_stop(this.handle);
  }

  isPaused() {
    return this.core._vxa_is_paused(this.handle) !== 0;
  }

  // The sound's length in ms, or null when it has no file.
  soundSettled(number, milliseconds) {
    return this.core._vxa_sound_settled(this.handle, number, milliseconds === null ? -1 : milliseconds) !== 0;
  }

  // Fonts arrived: text held back for them can now be taken in.
  retryHeldBack() {
    return this.core._vxa_retry_held_back(this.handle) !== 0;
  }

  // Text that has come in, to be drawn once while the page is idle.
  hasColdText() {
    return this.core._vxa_has_cold_text(this.handle) !== 0;
  }

  warmUpText() {
    return this.core._vxa_warm_up_text(this.handle) !== 0;
  }

  // The movie's size once its header is in, else null.
  size() {
    const width = this.core._vxa_width(this.handle);
    const height = this.core._vxa_height(this.handle);
    return width > 0 && height > 0 ? { width, height } : null;
  }

  // The picture in the movie's window: RGBA bytes, width * height * 4.
  picture() {
    const size = this.size();
    if (!size) return null;
    const pointer = this.core._vxa_picture(this.handle);
    const bytes = new Uint8ClampedArray(this.core.HEAPU8.buffer, pointer, size.width * size.height * 4);
    return new ImageData(bytes, size.width, size.height);
  }

  // The cursor resource to show over the picture, 0 to leave the page's own.
  cursor() {
    return this.core._vxa_cursor(this.handle);
  }

  currentFrame() {
    return this.core._vxa_current_frame(this.handle);
  }

  // What the header says about the movie, once it is in, else null.
  facts() {
    const fact = (kind) => this.core._vxa_header_fact(this.handle, kind);
    if (fact(0) < 0) return null;
    return {
      layout: fact(0) === 1 ? "narrow" : "wide",
      width: this.core._vxa_width(this.handle),
      height: this.core._vxa_height(this.handle),
      frameRate: fact(1),
      frames: fact(2),
      loops: fact(3) === 1,
      waitsForClick: fact(4) === 1,
    };
  }

  // Everything reported since the last call, in order.
  takeEvents() {
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
  }
}
