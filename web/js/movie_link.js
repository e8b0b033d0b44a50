// Where each movie's core runs: a dedicated worker of its own, so that no
// movie's parsing or composing takes time from the page or from the other
// players, and one that fails or runs out of memory goes alone. Where a
// browser has no workers or no OffscreenCanvas, or the page does not let
// this script start one, the core runs on the page as a MovieRunner there.
//
// The element talks to either through a link: send(command) and the
// reports it is handed; link.state answers at once for the last report.

// A worker that has not answered for this long is taken as stuck in a
// step: it is stopped, and its movie with it.
const STEP_LIMIT_MS = 5000;

const workerScripts = new Map();  // by the script's address: Promise of the URL a worker starts from, or of null
let spareWorker = null;   // Promise of a started worker with its core, or of null

// The worker is this very script. A page may start a worker only from its
// own origin, so one beside the extension's copy or on another site is
// started from its fetched source (which a strict policy may refuse: then
// the core runs on the page).
function workerScriptUrl() {
  const url = new URL("vxa-player.js", scriptUrl);
  let workerScript = workerScripts.get(url.href);
  if (!workerScript) {
    workerScript = typeof Worker !== "function" || typeof OffscreenCanvas !== "function" ? Promise.resolve(null)
      : url.origin === location.origin ? Promise.resolve(url.href)
      : fetchResource(url.href)
        .then((response) => {
          if (!response.ok) throw new Error("HTTP " + response.status);
          return response.blob();
        })
        .then((source) => URL.createObjectURL(new Blob([source], { type: "text/javascript" })))
        .catch(() => null);
    workerScripts.set(url.href, workerScript);
  }
  return workerScript;
}

// A worker with its core instantiated, or null where none can be had.
function startWorker() {
  const script = new URL("vxa-player.js", scriptUrl).href;
  return Promise.all([workerScriptUrl(), compileCore()]).then(([url, module]) => {
    if (!url) return null;
    // Each worker is made in a task of its own: a page that starts many
    // players at once is not held up by making all of them in one.
    return new Promise((resolve) => setTimeout(resolve, 0)).then(() => new Promise((resolve) => {
      let worker;
      try {
        worker = new Worker(url, { name: "vxa-player" });
      } catch (error) {
        return resolve(null);
      }
      const refused = () => {
        worker.terminate();
        workerScripts.set(script, Promise.resolve(null));  // the page's policy: no worker here
        resolve(null);
      };
      worker.addEventListener("error", refused, { once: true });
      worker.addEventListener("message", (event) => {
        worker.removeEventListener("error", refused);
        if (event.data.ready) return resolve(worker);
        worker.terminate();
        resolve(null);
      }, { once: true });
      worker.postMessage({ op: "core", module });
    }));
  });
}

// Starts the core's module and one worker before any movie asks for them.
function prepareCores() {
  compileCore().catch(() => {});
  if (spareWorker) return;
  // Its failure is the movie's that takes it (a page may yet move the
  // player's files, and then it is not taken at all), not the page's.
  const worker = startWorker();
  worker.catch(() => {});
  spareWorker = { base: scriptUrl, worker };
}

// A link for a new movie; onReport(report) takes what its core tells.
function openMovie(withSounds, onReport) {
  // A spare made before the page moved the player's files is not used.
  if (spareWorker && spareWorker.base !== scriptUrl) {
    spareWorker.worker.then((started) => started && started.terminate(), () => {});
    spareWorker = null;
  }
  const worker = spareWorker ? spareWorker.worker : startWorker();
  spareWorker = null;
  return worker.then((started) => {
    // The next movie's worker starts while this one plays.
    if (started) setTimeout(prepareCores, 500);
    if (started) return new WorkerLink(started, withSounds, onReport);
    return compileCore().then(instantiateCore).then((core) => new LocalLink(core, withSounds, onReport));
  });
}

class MovieLink {
  constructor(onReport) {
    this.onReport = onReport;
    this.state = { frame: 0, paused: false, playing: false, cursor: 0, size: null, facts: null };
    this.closed = false;
  }

  receive(report) {
    if (this.closed) return;
    if (report.state) this.state = report.state;
    if (report.failure) {
      this.state = { ...this.state, frame: 0, playing: false, cursor: 0 };
      this.close();
    }
    this.onReport(report);
  }
}

// A large chunk (bytes handed to load(), a network that delivers much at
// once) goes into a core on the page this much at a time, a task each, so
// that taking it in does not hold up the page.
const INTAKE_SLICE_BYTES = 64 * 1024;

// The core on the page: calls go straight in, reports come straight back;
// while a large chunk is going in, the commands after it wait their turn.
class LocalLink extends MovieLink {
  constructor(core, withSounds, onReport) {
    super(onReport);
    this.runner = new MovieRunner(core, withSounds, (report) => this.receive(report));
    this.waiting = [];
    this.sliceLater = false;
  }

  send(command) {
    if (this.closed) return;
    if (command.op !== "chunk" || command.bytes.length <= INTAKE_SLICE_BYTES) {
      this.waiting.push(command);
    } else {
      for (let at = 0; at < command.bytes.length; at += INTAKE_SLICE_BYTES) {
        this.waiting.push({ op: "chunk", bytes: command.bytes.subarray(at, at + INTAKE_SLICE_BYTES), slice: true });
      }
    }
    this.handleWaiting();
  }

  handleWaiting() {
    while (!this.sliceLater && !this.closed && this.waiting.length) {
      const command = this.waiting.shift();
      this.runner.handle(command);
      if (command.slice && this.waiting.length) {
        this.sliceLater = true;
        setTimeout(() => {
          this.sliceLater = false;
          this.handleWaiting();
        }, 0);
      }
    }
  }

  close() {
    if (this.closed) return;
    this.closed = true;
    this.runner.destroy();
  }
}

const workerLinks = new Set();
let watching = 0;

// Once a second every worker is asked how it is; one that has left a
// message unanswered past the limit is stopped.
function watchWorkers() {
  if (watching) return;
  watching = setInterval(() => {
    if (!workerLinks.size) {
      clearInterval(watching);
      watching = 0;
      return;
    }
    const now = performance.now();
    for (const link of workerLinks) {
      if (!link.asked) link.send({ op: "ping" });
      else if (now - link.asked > STEP_LIMIT_MS) {
        link.receive({ failure: { cause: "budget", message: "a step of its playback took over " + STEP_LIMIT_MS / 1000 + " s" } });
      }
    }
  }, 1000);
}

class WorkerLink extends MovieLink {
  constructor(worker, withSounds, onReport) {
    super(onReport);
    this.worker = worker;
    this.asked = 0;  // when the oldest message it has not answered went
    worker.addEventListener("message", (event) => {
      this.asked = 0;
      this.receive(event.data);
    });
    worker.addEventListener("error", (event) => {
      event.preventDefault();
      this.receive({ failure: { cause: "crashed", message: "its playback failed (" + (event.message || "the worker stopped") + ")" } });
    });
    workerLinks.add(this);
    watchWorkers();
    this.send({ op: "open", withSounds });
  }

  send(command, transfer = []) {
    if (this.closed) return;
    if (!this.asked) this.asked = performance.now();
    this.worker.postMessage(command, transfer);
  }

  // The worker goes with its movie, and all the memory it held.
  close() {
    if (this.closed) return;
    this.closed = true;
    workerLinks.delete(this);
    this.worker.terminate();
  }
}
