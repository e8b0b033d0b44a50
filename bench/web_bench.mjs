// The web player's budgets, measured in headless Chromium on build/web:
//   size: vxa-player.js + vxa-player.wasm gzipped (the fonts are not counted);
//   longest task: the longest main-thread task (PerformanceObserver
//     "longtask") while the showcase plays beside hostile and broken
//     streams, and the share of its frames it shows there against alone;
//   fonts: the bytes of the font parts a first visit to the showcase
//     fetches, as they go over the wire;
//   latency: to the start of the browser's rendering step that paints
//     frame 1, from the data's arrival (see below);
//   rate: showcase frames stepped, composed and drawn per second when the
//     clock is not the limit (a page clock that jumps ahead, and timer
//     callbacks run back to back), with the core on the page.
import fs from "node:fs";
import path from "node:path";
import zlib from "node:zlib";
import { openPage, startBrowser, startServer, until, webRoot } from "../tests/web/harness.mjs";
import { hostileStreams } from "./hostile_streams.mjs";

const gzipped = (file) => zlib.gzipSync(fs.readFileSync(path.join(webRoot, file)), { level: 9 }).length;
const sizes = { js: gzipped("vxa-player.js"), wasm: gzipped("vxa-player.wasm") };
console.log(`web size: vxa-player.js ${(sizes.js / 1024).toFixed(1)} KB + vxa-player.wasm ${(sizes.wasm / 1024).toFixed(1)} KB gzipped = ${((sizes.js + sizes.wasm) / 1024).toFixed(1)} KB (budget 200 KB)`);

const server = await startServer();
const browser = await startBrowser();
const movie = fs.readFileSync(path.join(webRoot, "examples/showcase.vxa"));
try {
  // Latency, ten runs on fresh pages:
  //   plain: a movie without text or sound (narrow.vxa) arriving whole in
  //     one chunk: the end of the stream starts the timer, nothing is fetched;
  //   cold: from the whole file arriving in one chunk to frame 1 painted,
  //     with the fonts and sounds it needs fetched after it and the end of
  //     the stream starting the timer;
  //   at hand: then the same movie into a second player on that page, in two
  //     chunks 300 ms apart: from the chunk that starts the timer to frame 1
  //     painted, with fonts and sounds already fetched: the player's own
  //     latency, the first timer message (20 ms) included.
  for (const n of [1, 2, 3, 4]) {
    server.put(`/bench/VXA_WAV/${n}.WAV`, fs.readFileSync(path.join(webRoot, `examples/VXA_WAV/${n}.WAV`)));
  }
  server.put("/bench/cold.vxa", movie);
  server.put("/bench/plain.vxa", fs.readFileSync(path.join(webRoot, "examples/narrow.vxa")));
  const latencyPage = (name, file) => server.put(`/bench/${name}.html`, `<!DOCTYPE html><script>
    window.reads = [];
    const read = ReadableStreamDefaultReader.prototype.read;
    ReadableStreamDefaultReader.prototype.read = function () {
      return read.call(this).then((part) => { if (!part.done) reads.push(performance.now()); return part; });
    };
    window.painted = [];
    document.addEventListener("frame", (event) => {
      if (event.detail.frame === 1) requestAnimationFrame(() => painted.push({ at: performance.now(), reads: [...reads] }));
    }, { capture: true });
  </script><script src="/vxa-player.js"></script><embed src="${file}">`);
  latencyPage("latency", "cold.vxa");
  latencyPage("plain", "plain.vxa");
  const cold = [];
  const plain = [];
  const atHand = [];
  for (let run = 0; run < 10; run++) {
    server.put("/bench/second.vxa", movie, { bytesPerPart: movie.length - 1, pause: 300 });
    const { page } = await openPage(browser, `${server.base}/bench/latency.html`);
    const first = await until(page, () => window.painted[0]);
    cold.push(first.at - first.reads[0]);
    const second = await until(page, () => {
      if (!window.painted.length) return null;
      if (!document.querySelector("#second")) {
        window.reads.length = 0;
        document.body.insertAdjacentHTML("beforeend", `<vxa-player id="second" src="second.vxa"></vxa-player>`);
      }
      return window.painted[1];
    });
    atHand.push(second.at - second.reads[1]);
    await page.close();
    const { page: plainPage } = await openPage(browser, `${server.base}/bench/plain.html`);
    const alone = await until(plainPage, () => window.painted[0]);
    plain.push(alone.at - alone.reads[0]);
    await plainPage.close();
  }
  const figure = (values) => {
    values.sort((a, b) => a - b);
    return `${values[5].toFixed(1)} ms (median of 10; ${values[0].toFixed(1)} to ${values[9].toFixed(1)})`;
  };
  console.log(`web latency: frame 1 painted ${figure(atHand)} after the chunk that starts the timer, fonts and sounds at hand (budget 50 ms)`);
  console.log(`web latency cold: frame 1 painted ${figure(cold)} after the whole file arrived, fonts and sounds fetched after it`);
  console.log(`web latency plain: frame 1 of narrow.vxa (no text, no sound) painted ${figure(plain)} after the whole file arrived on a fresh page`);

  // Fonts: every file the showcase's texts ask for, once the whole movie is
  // in and its first frames have shown.
  server.put("/bench/fonts.html", `<!DOCTYPE html><script src="/vxa-player.js"></script><embed src="cold.vxa">`);
  const before = server.requests.length;
  const { page: fontsPage } = await openPage(browser, `${server.base}/bench/fonts.html`);
  await until(fontsPage, () => document.querySelector("vxa-player")?.currentFrame >= 6);
  await new Promise((resolve) => setTimeout(resolve, 1000));
  await fontsPage.close();
  // The parts are compressed as they are stored, so what the server sends
  // is their size whichever way it serves them.
  const fonts = server.requests.slice(before).filter((name) => name.startsWith("/fonts/"));
  const faces = new Set(fonts.map((name) => name.split(".")[0]));
  const served = fonts.reduce((sum, name) => sum + fs.statSync(path.join(webRoot, name)).size, 0);
  console.log(`web fonts showcase: ${(served / 1024).toFixed(0)} KB over the wire, the font bytes of ${fonts.length} requests for ${faces.size} faces (budget 150 KB)`);

  // Longest task: the showcase for 4 s alone, then beside the hostile streams.
  const hostile = hostileStreams(movie);
  for (const [name, bytes] of hostile) server.put(`/bench/hostile-${name}.vxa`, bytes);
  const hostilePage = (name, embeds) => server.put(`/bench/${name}.html`, `<!DOCTYPE html><script>
    window.longest = 0;
    new PerformanceObserver((list) => {
      for (const entry of list.getEntries()) window.longest = Math.max(window.longest, entry.duration);
    }).observe({ type: "longtask", buffered: true });
    // The player's own script runs within them: on a machine short of cores
    // a task is long also while the page waits for one.
    window.playerLongest = 0;
    new PerformanceObserver((list) => {
      for (const frame of list.getEntries()) {
        for (const script of frame.scripts) {
          if (script.sourceURL.endsWith("/vxa-player.js")) window.playerLongest = Math.max(window.playerLongest, script.duration);
        }
      }
    }).observe({ type: "long-animation-frame", buffered: true });
    window.shown = 0;
    document.addEventListener("frame", (event) => {
      if (event.composedPath()[0].id === "showcase") window.shown++;
    }, { capture: true });
  </script><script src="/vxa-player.js"></script><embed id="showcase" src="cold.vxa">${embeds}`);
  hostilePage("alone", "");
  hostilePage("hostile", hostile.map(([name]) => `<embed src="hostile-${name}.vxa" width="120" height="90">`).join(""));
  const playFor = async (name) => {
    const { page: played } = await openPage(browser, `${server.base}/bench/${name}.html`);
    await new Promise((resolve) => setTimeout(resolve, 4000));
    const result = await played.evaluate(() => ({ longest: window.longest, player: window.playerLongest, shown: window.shown }));
    await played.close();
    return result;
  };
  const alone = await playFor("alone");
  const beside = await playFor("hostile");
  console.log(`web longest task: ${beside.longest.toFixed(0)} ms on the hostile page (${alone.longest.toFixed(0)} ms alone; budget 50 ms), the player's script in it at most ${beside.player.toFixed(0)} ms; the showcase shows ${((100 * beside.shown) / alone.shown).toFixed(0)} % of its frames there`);

  // Rate: on the page's own path (no OffscreenCanvas, so no worker), where
  // the page's clock and timers reach the core.
  server.put("/bench/rate.html", `<!DOCTYPE html><script>
    delete window.OffscreenCanvas;
    let clock = 1;
    performance.now = () => (clock += 1000);
    const channel = new MessageChannel();
    const timers = new Map();
    let next = 1;
    window.setInterval = (fn) => { const id = next++; timers.set(id, fn); channel.port2.postMessage(id); return id; };
    window.clearInterval = (id) => timers.delete(id);
    channel.port1.onmessage = (event) => {
      const fn = timers.get(event.data);
      if (fn) { fn(); channel.port2.postMessage(event.data); }
    };
    window.shown = 0;
    document.addEventListener("frame", () => { window.shown++; }, { capture: true });
  </script><script src="/vxa-player.js"></script><vxa-player width="480" height="320"></vxa-player>`);
  const { page } = await openPage(browser, `${server.base}/bench/rate.html`);
  const rate = await page.evaluate(async (bytes) => {
    const player = document.querySelector("vxa-player");
    await player.load(new Uint8Array(bytes));
    await new Promise((resolve) => setTimeout(resolve, 500));  // fonts and warm-up
    const start = Date.now();
    const from = window.shown;
    await new Promise((resolve) => setTimeout(resolve, 3000));
    return ((window.shown - from) * 1000) / (Date.now() - start);
  }, [...movie]);
  console.log(`web rate: showcase ${rate.toFixed(0)} frames a second composed and drawn (budget 50)`);
} finally {
  await browser.close();
  await server.close();
}
