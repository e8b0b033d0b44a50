// One movie where its core runs: in its own worker, or on the page where a
// browser has no workers or no OffscreenCanvas. It takes the element's
// commands, drives the core's playback timer, warms up text while idle, and
// reports back what the core told and the picture of each frame shown.
//
// A command: {op, ...}: chunk {bytes}, end, click, play, pause, stop,
// sound {number, length}, font {name, bytes}, view {width, height}, ping.
// A report: {state, events, picture?, failure?}; state holds what the
// element answers for at once (frame, paused, playing, cursor, size, facts).

// The picture is handed over cropped to what the player's box shows of it:
// the movie's top left corner, at most view.width x view.height pixels.
function pictureSurface(width, height) {
  return typeof OffscreenCanvas === "function" ? new OffscreenCanvas(width, height)
    : Object.assign(document.createElement("canvas"), { width, height });
}

class MovieRunner {
  // report(message, transfer): how a report goes out. warmUpCode: runs the
  // core's text and drawing code once, where a long call may (code_warm_up.h).
  constructor(core, withSounds, report, warmUpCode = null) {
    this.movie = new CoreMovie(core, withSounds);
    this.report = report;
    this.warmUpCode = warmUpCode;
    this.timer = 0;
    this.warming = false;
    this.view = null;  // {width, height} in movie pixels, until told: the whole picture
    this.surface = null;
    this.told = "";  // the state last reported, as JSON
    this.failed = false;
    this.streamEnded = false;
    this.idle = typeof requestIdleCallback === "function" ? requestIdleCallback : (f) => setTimeout(f, 1);
  }

  handle(command) {
    if (this.failed) return;
    const movie = this.movie;
    switch (command.op) {
      case "chunk": return this.follow(movie.takeChunk(command.bytes), true);
      case "end":
        this.streamEnded = true;
        return this.follow(movie.endOfStream(), true);
      case "click": return this.follow(movie.click(), true);
      case "play": return this.follow(movie.play(), true);
      case "pause": return this.follow(movie.pause(), true);
      case "stop":
        movie.stop();
        return this.follow(false, true);
      case "sound": return this.follow(movie.soundSettled(command.number, command.length), true);
      case "font":
        movie.addFont(command.name, command.bytes);
        return this.follow(movie.retryHeldBack(), true);
      case "view": {
        const grew = !this.view || command.width > this.view.width || command.height > this.view.height;
        this.view = { width: command.width, height: command.height };
        // A larger box shows more of a picture already shown.
        return this.send([], grew && movie.currentFrame() > 0, true);
      }
      case "ping": return this.send([], false, true);
      case "destroy": return this.destroy();
    }
  }

  destroy() {
    clearInterval(this.timer);
    this.timer = 0;
    this.movie.destroy();
    this.failed = true;
  }

  // After every call into the core: the timer runs while the core's playback
  // timer does, and what the core reported goes out. answer: a command is
  // waiting for its report even when nothing changed.
  follow(timerRuns, answer = false) {
    if (timerRuns && !this.timer) {
      this.timer = setInterval(() => this.follow(this.movie.tick()), this.movie.timerPeriod());
    } else if (!timerRuns && this.timer) {
      clearInterval(this.timer);
      this.timer = 0;
    }
    const events = this.movie.takeEvents();
    if (this.movie.failure) {
      clearInterval(this.timer);
      this.timer = 0;
      this.failed = true;
      this.movie.destroy();
      return this.report({ events, failure: this.movie.failure });
    }
    if (!this.warming && this.movie.hasColdText()) this.warmUp();
    this.send(events, events.some((event) => event.kind === CoreEvent.FrameShown), answer);
    // While the fonts it asked for are fetched, once.
    if (this.warmUpCode && events.some((event) => event.kind === CoreEvent.FontNeeded)) {
      const warmUpCode = this.warmUpCode;
      this.warmUpCode = null;
      setTimeout(() => {
        if (this.failed) return;
        try {
          warmUpCode();
        } catch (error) {
          // The movie's own next call into the core tells what is wrong.
        }
      }, 0);
    }
  }

  send(events, withPicture, answer) {
    const movie = this.movie;
    const state = {
      frame: movie.currentFrame(),
      paused: movie.isPaused(),
      playing: this.timer !== 0,
      cursor: movie.cursor(),
      size: movie.size(),
      facts: movie.facts(),
      streamEnded: this.streamEnded,  // the whole movie is in
    };
    const stateText = JSON.stringify(state);
    if (!answer && !events.length && !withPicture && stateText === this.told) return;
    this.told = stateText;
    const picture = withPicture ? this.snapshot() : null;
    const message = { state, events };
    if (picture) message.picture = picture;
    this.report(message, picture && typeof ImageBitmap === "function" && picture instanceof ImageBitmap ? [picture] : []);
  }

  // The picture as it stands, cropped to the view: an ImageBitmap to hand
  // over where the browser makes one, else the surface itself.
  snapshot() {
    const picture = this.movie.picture();
    if (!picture) return null;
    const width = Math.max(1, Math.min(picture.width, this.view ? this.view.width : picture.width));
    const height = Math.max(1, Math.min(picture.height, this.view ? this.view.height : picture.height));
    if (!this.surface || this.surface.width !== width || this.surface.height !== height) {
      this.surface = pictureSurface(width, height);
    }
    this.surface.getContext("2d").putImageData(picture, 0, 0, 0, 0, width, height);
    return this.surface.transferToImageBitmap ? this.surface.transferToImageBitmap() : this.surface;
  }

  // Glyphs are made in idle time, a little at a time.
  warmUp() {
    this.warming = true;
    this.idle(() => {
      this.warming = false;
      if (this.failed) return;
      const more = this.movie.warmUpText();
      if (this.movie.failure) return this.follow(this.timer !== 0);
      if (more) this.warmUp();
    });
  }
}
