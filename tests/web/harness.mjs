// What the browser tests share: a small web server on 127.0.0.1 that serves
// build/web and pages and files made by the tests, and can hand out a file
// slowly; and headless Debian Chromium, driven through puppeteer-core.
import assert from "node:assert/strict";
import fs from "node:fs";
import http from "node:http";
import os from "node:os";
import path from "node:path";
import { fileURLToPath } from "node:url";
import puppeteer from "puppeteer-core";

export const repository = path.resolve(path.dirname(fileURLToPath(import.meta.url)), "../..");
export const webRoot = path.join(repository, "build/web");
const chromium = "/usr/bin/chromium";

const types = {
  ".html": "text/html", ".js": "text/javascript", ".wasm": "application/wasm",
  ".vxa": "video/vxa", ".wav": "audio/wav", ".ttf": "font/ttf", ".png": "image/png", ".ico": "image/x-icon",
};

// Serves build/web at /, and whatever a test puts at its own paths. A path
// put with {bytesPerPart, pause} is sent in parts of that many bytes with a
// pause of that many ms before each, as a slow line would deliver it; with
// {splits, pause}, in parts that end at those byte offsets; {status,
// headers} give the answer's status and more headers.
export async function startServer() {
  const files = new Map();
  const routes = new Map();
  const requests = [];
  const server = http.createServer(async (request, response) => {
    const url = new URL(request.url, "http://127.0.0.1");
    requests.push(url.pathname);
    let entry = files.get(url.pathname);
    for (const [prefix, route] of routes) {
      if (!entry && url.pathname.startsWith(prefix)) entry = route(url.pathname);
    }
    if (!entry) {
      const file = path.join(webRoot, path.normalize(url.pathname));
      if (!file.startsWith(webRoot) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
        return response.writeHead(404).end();
      }
      entry = { body: fs.readFileSync(file) };
    }
    // type null: served with no Content-Type at all.
    const type = entry.type === null ? null
      : entry.type || types[path.extname(url.pathname).toLowerCase()] || "application/octet-stream";
    const body = Buffer.from(entry.body);
    const headers = { ...(type ? { "Content-Type": type } : {}), "Cache-Control": "no-store", ...entry.headers };
    if (!entry.bytesPerPart && !entry.splits) {
      return response.writeHead(entry.status || 200, { ...headers, "Content-Length": body.length }).end(body);
    }
    response.writeHead(entry.status || 200, headers);
    const ends = entry.splits ? [...entry.splits, body.length]
      : Array.from({ length: Math.ceil(body.length / entry.bytesPerPart) }, (_, i) => Math.min(body.length, (i + 1) * entry.bytesPerPart));
    for (let i = 0, at = 0; i < ends.length && !response.destroyed; at = ends[i++]) {
      await new Promise((resolve) => setTimeout(resolve, entry.pause));
      response.write(body.subarray(at, ends[i]));
    }
    response.end();
  });
  await new Promise((resolve) => server.listen(0, "127.0.0.1", resolve));
  const base = `http://127.0.0.1:${server.address().port}`;
  return {
    base,
    requests,
    put(pathname, body, options = {}) {
      files.set(pathname, { body, ...options });
      return base + pathname;
    },
    // Paths under prefix are served by route(pathname): {body, type} or null.
    route(prefix, route) {
      routes.set(prefix, route);
    },
    close: () => new Promise((resolve) => { server.closeAllConnections(); server.close(resolve); }),
  };
}

// Chromium cannot reach the network here: every background connection it
// would make is switched off, or its start-up waits on refused connections.
// extension: the folder of an unpacked extension to load.
export async function startBrowser({ soundNeedsGesture = false, extension = null } = {}) {
  if (!fs.existsSync(chromium)) throw new Error(`${chromium} is missing: run scripts/setup`);
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), "vxa-chromium-"));
  const args = [
    "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
    "--disable-background-networking", "--disable-component-update", "--disable-sync",
    "--disable-background-timer-throttling", "--disable-renderer-backgrounding",
    "--mute-audio",
  ];
  // Sound before any gesture: allowed, or (as browsers do for pages) not.
  args.push(`--autoplay-policy=${soundNeedsGesture ? "document-user-activation-required" : "no-user-gesture-required"}`);
  if (extension) args.push(`--disable-extensions-except=${extension}`, `--load-extension=${extension}`);
  const browser = await puppeteer.launch({
    executablePath: chromium, headless: true, userDataDir: profile, args, protocolTimeout: 30000,
    ...(extension ? { ignoreDefaultArgs: ["--disable-extensions"] } : {}),
  });
  const close = browser.close.bind(browser);
  browser.close = async () => {
    await close();
    fs.rmSync(profile, { recursive: true, force: true });
  };
  return browser;
}

// What most test files start with and end with: the server, Chromium and,
// given a name prefix, a scratch folder.
export async function startSession(folderPrefix = null) {
  const server = await startServer();
  const browser = await startBrowser();
  const folder = folderPrefix ? fs.mkdtempSync(path.join(os.tmpdir(), folderPrefix)) : null;
  return { server, browser, folder };
}

export async function endSession({ server, browser, folder } = {}) {
  await browser?.close();
  await server?.close();
  if (folder) fs.rmSync(folder, { recursive: true, force: true });
}

// Firefox ESR, headless through WebDriver BiDi, with an extension (a folder
// or a zip) installed for the session. Its pages are at moz-extension://uuid/. Sound
// is not heard.
const firefox = "/usr/bin/firefox-esr";
export async function startFirefox({ extension, extensionId, uuid }) {
  if (!fs.existsSync(firefox)) throw new Error(`${firefox} is missing: run scripts/setup`);
  const browser = await puppeteer.launch({
    browser: "firefox", executablePath: firefox, headless: true, protocolTimeout: 30000,
    extraPrefsFirefox: {
      "extensions.webextensions.uuids": JSON.stringify({ [extensionId]: uuid }),
      "media.volume_scale": "0.0",
    },
  });
  assert.equal(await browser.installExtension(extension), extensionId);
  return browser;
}

// A page that records what the test needs to see: console messages and
// uncaught errors, every frame event of every player with its time, every
// sound that Web Audio was told to start or stop, and when each part of a fetched
// stream reached the page.
// prepare: a function run in each new document too, before the page's own
// scripts.
export async function openPage(browser, url, { scale = 1, width = 1000, height = 800, prepare = null } = {}) {
  const page = await browser.newPage();
  await page.setViewport({ width, height, deviceScaleFactor: scale });
  const log = { console: [], errors: [] };
  page.on("console", (message) => log.console.push({ type: message.type(), text: message.text() }));
  page.on("pageerror", (error) => log.errors.push(String(error)));
  await page.evaluateOnNewDocument(recordWhatIsSeen);
  if (prepare) await page.evaluateOnNewDocument(prepare);
  await page.goto(url, { waitUntil: "load" });
  return { page, log };
}

// Run in a document before its scripts; once a document, however often it
// is given (a replay engine's injected copy and the test's own). A frame's
// first document (about:blank) hands its window on to the page it loads,
// so the marks are on the document and the wrapped functions.
export function recordWhatIsSeen() {
  if (document.vxaWatched) return;
  document.vxaWatched = true;
  window.vxaSeen = { frames: [], sounds: [], stops: [], ends: [], warnings: [], reads: [] };
  const wrap = (type, name, wrapper) => {
    const original = type.prototype[name];
    if (original.watched) return;
    type.prototype[name] = Object.assign(function (...args) { return wrapper.call(this, original, args); }, { watched: true });
  };
  wrap(ReadableStreamDefaultReader, "read", function (read, args) {
    return read.apply(this, args).then((part) => {
      if (!part.done) window.vxaSeen.reads.push(performance.now());
      return part;
    });
  });
  for (const [name, list] of [["start", "sounds"], ["stop", "stops"]]) {
    wrap(AudioBufferSourceNode, name, function (original, args) {
      window.vxaSeen[list].push({ at: performance.now(), seconds: this.buffer.duration,
                                  frame: document.querySelector("vxa-player")?.currentFrame });
      return original.apply(this, args);
    });
  }
  for (const kind of ["frame", "end", "warning"]) {
    document.addEventListener(kind, (event) => {
      const player = event.composedPath()[0];
      if (player.localName !== "vxa-player") return;
      const players = [...document.querySelectorAll("vxa-player")];
      const entry = { at: performance.now(), player: players.indexOf(player), ...event.detail };
      (kind === "frame" ? window.vxaSeen.frames : kind === "end" ? window.vxaSeen.ends
                        : window.vxaSeen.warnings).push(entry);
    }, { capture: true });
  }
}

// Reads an expression in the page without a user gesture: puppeteer's own
// evaluate calls count as one, and a page with a gesture may make sound.
export async function peek(page, expression) {
  const session = await page.createCDPSession();
  try {
    const { result } = await session.send("Runtime.evaluate", { expression, returnByValue: true });
    return result.value;
  } finally {
    await session.detach();
  }
}

// Waits until fn (run in the page) returns something truthy, and returns it.
export async function until(page, fn, arg, timeout = 15000) {
  const handle = await page.waitForFunction(fn, { timeout, polling: 20 }, arg);
  return handle.jsonValue();
}

export function sleep(ms) {
  return new Promise((resolve) => setTimeout(resolve, ms));
}

// The RGBA pixels of a player's canvas, as the page's script reads them.
export function canvasPixels(page, playerIndex = 0) {
  return page.evaluate((index) => {
    const canvas = document.querySelectorAll("vxa-player")[index].shadowRoot.querySelector("canvas");
    const data = canvas.getContext("2d").getImageData(0, 0, canvas.width, canvas.height);
    return { width: data.width, height: data.height, rgba: Array.from(data.data) };
  }, playerIndex);
}

// Run in every document (openPage's prepare): each player's canvas as each
// frame is first shown, window.shown[movie name][frame].
export function recordShownFrames() {
  if (document.shownWatched) return;
  document.shownWatched = true;
  window.shown = {};
  document.addEventListener("frame", (event) => {
    const player = event.composedPath()[0];
    const name = new URL(player.getAttribute("src"), document.baseURI).pathname.split("/").pop().replace(/\.vxa$/i, "");
    const canvas = player.shadowRoot.querySelector("canvas");
    (window.shown[name] ??= {})[event.detail.frame] ??=
      canvas.getContext("2d").getImageData(0, 0, canvas.width, canvas.height).data;
  }, { capture: true });
}

// How a recorded frame differs from a PNG (a URL the page can fetch): the
// sizes agree, how many pixels differ and the first of them. A canvas of
// more device pixels than the movie's has a block of them per movie pixel,
// and its block's first pixel is compared. frameSelector: the <iframe>
// whose document recorded it, else the page itself.
export function frameDifferences(page, pngUrl, name, n, frameSelector = null) {
  return page.evaluate(async (url, movie, frame, selector) => {
    const shown = (selector ? document.querySelector(selector).contentWindow : window).shown[movie][frame];
    const image = await createImageBitmap(await (await fetch(url)).blob(), { colorSpaceConversion: "none" });
    const context = new OffscreenCanvas(image.width, image.height).getContext("2d");
    context.drawImage(image, 0, 0);
    const expected = context.getImageData(0, 0, image.width, image.height).data;
    const scale = Math.round(Math.sqrt(shown.length / expected.length)) || 1;
    const differing = [];
    for (let i = 0; i < expected.length; i += 4) {
      const [x, y] = [(i / 4) % image.width, Math.floor(i / 4 / image.width)];
      const at = 4 * (y * scale * image.width * scale + x * scale);
      if ([0, 1, 2].some((c) => expected[i + c] !== shown[at + c])) differing.push([x, y]);
    }
    return { size: shown.length === expected.length * scale * scale, count: differing.length, first: differing.slice(0, 5) };
  }, pngUrl, name, n, frameSelector);
}
