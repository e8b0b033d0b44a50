// The web player's budgets, measured in headless Chromium on build/web:
//   size: vxa-player.js + vxa-player.wasm gzipped (the fonts are not counted);
//   latency: from the moment the chunk that starts playback is read from the
//     network (the second: the timer starts with it, as the plug-in's does)
//     to the start of the browser's rendering step that paints frame 1;
//   rate: showcase frames stepped, composed and drawn per second when the
//     clock is not the limit (a page clock that jumps ahead, and timer
//     callbacks run back to back).
import fs from "node:fs";
import path from "node:path";
import zlib from "node:zlib";
import { openPage, startBrowser, startServer, until, webRoot } from "../tests/web/harness.mjs";

const gzipped = (file) => zlib.gzipSync(fs.readFileSync(path.join(webRoot, file)), { level: 9 }).length;
const sizes = { js: gzipped("vxa-player.js"), wasm: gzipped("vxa-player.wasm") };
console.log(`web size: vxa-player.js ${(sizes.js / 1024).toFixed(1)} KB + vxa-player.wasm ${(sizes.wasm / 1024).toFixed(1)} KB gzipped = ${((sizes.js + sizes.wasm) / 1024).toFixed(1)} KB (budget 250 KB)`);

const server = await startServer();
const browser = await startBrowser();
const movie = fs.readFileSync(path.join(webRoot, "examples/showcase.vxa"));
try {
  // Latency: the stream comes in two parts, the second 300 ms after the
  // first, as the plug-in's timer starts with the second chunk.
  const latencies = [];
  for (let run = 0; run < 10; run++) {
    server.put("/bench/first.vxa", movie, { bytesPerPart: Math.ceil(movie.length / 2), pause: 150 });
    server.put("/bench/latency.html", `<!DOCTYPE html><script>
      window.chunkTimes = [];
      const read = ReadableStreamDefaultReader.prototype.read;
      ReadableStreamDefaultReader.prototype.read = function () {
        return read.call(this).then((part) => { if (!part.done) chunkTimes.push(performance.now()); return part; });
      };
      document.addEventListener("frame", (event) => {
        if (event.detail.frame !== 1) return;
        requestAnimationFrame(() => { window.painted = performance.now(); });
      }, { capture: true });
    </script><script src="/vxa-player.js"></script><embed src="first.vxa" width="480" height="320">`);
    const { page } = await openPage(browser, `${server.base}/bench/latency.html`);
    const { painted, chunkTimes } = await until(page, () => window.painted && { painted, chunkTimes });
    // The second chunk starts the timer, and frame 1 shows on its first message.
    latencies.push(painted - chunkTimes[1]);
    await page.close();
  }
  latencies.sort((a, b) => a - b);
  console.log(`web latency: frame 1 painted ${latencies[5].toFixed(1)} ms (median of 10; min ${latencies[0].toFixed(1)}, max ${latencies[9].toFixed(1)}) after the chunk that starts playback (budget 50 ms)`);

  // Rate.
  server.put("/bench/rate.html", `<!DOCTYPE html><script>
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
