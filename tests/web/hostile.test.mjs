// A page that a player of untrusted content must survive: the showcase beside
// streams that make a player work hard or that are broken. The showcase
// plays on, and a page without workers' canvases plays on the page itself,
// with the same pixels. How many frames it keeps there and how long the
// player's tasks take are figures of the machine: `make bench` prints them
// (web longest task); here they are only told.
import assert from "node:assert/strict";
import fs from "node:fs";
import path from "node:path";
import { test } from "node:test";
import { openPage, sleep, startBrowser, startServer, until, webRoot } from "./harness.mjs";
import { hostileStreams } from "../../bench/hostile_streams.mjs";


// Long tasks of the page, the player's script runs within long frames, and
// the frames each player showed, from the start. A long task is the
// player's when its script ran long in it: on a machine short of cores the
// page's other work (and the browser's) can be kept waiting too.
const watch = `<script>
  window.longTasks = [];
  new PerformanceObserver((list) => {
    for (const entry of list.getEntries()) longTasks.push(Math.round(entry.duration));
  }).observe({ type: "longtask", buffered: true });
  window.playerScripts = [];
  new PerformanceObserver((list) => {
    for (const frame of list.getEntries()) {
      for (const script of frame.scripts) {
        if (script.sourceURL.endsWith("/vxa-player.js")) playerScripts.push(Math.round(script.duration) + " ms in " + script.invoker + " at " + Math.round(script.startTime));
      }
    }
  }).observe({ type: "long-animation-frame", buffered: true });
  window.shownAt = {};
  document.addEventListener("frame", (event) => {
    (shownAt[event.composedPath()[0].id] ??= []).push(performance.now());
  }, { capture: true });
</script>`;

test("beside hostile streams the showcase plays on, a failing core stops alone, and the fallback draws the same", async (t) => {
  const server = await startServer();
  const browser = await startBrowser();
  t.after(() => Promise.all([browser.close(), server.close()]));
  const showcase = fs.readFileSync(path.join(webRoot, "examples/showcase.vxa"));
  server.put("/h/showcase.vxa", showcase);
  const hostile = hostileStreams(showcase);
  for (const [name, bytes] of hostile) server.put(`/h/${name}.vxa`, bytes);
  const embeds = hostile.map(([name]) => `<embed id="${name}" src="${name}.vxa" width="120" height="90">`).join("");
  server.put("/h/alone.html", `<!DOCTYPE html>${watch}<script src="/vxa-player.js"></script><embed id="showcase" src="showcase.vxa">`);
  server.put("/h/hostile.html", `<!DOCTYPE html>${watch}<script src="/vxa-player.js"></script><embed id="showcase" src="showcase.vxa">${embeds}`);

  const playFor = async (name, ms) => {
    const { page, log } = await openPage(browser, `${server.base}/h/${name}.html`);
    await until(page, () => window.shownAt.showcase);
    await sleep(ms + 1000);
    // The frames each player showed in the time from a second after the
    // showcase's first, when every player has started.
    const seen = await page.evaluate((span) => {
      const shownBy = {};
      const from = shownAt.showcase[0] + 1000;
      for (const [id, times] of Object.entries(shownAt)) shownBy[id] = times.filter((t) => t >= from && t - from < span).length;
      const everShown = Object.fromEntries(Object.entries(shownAt).map(([id, times]) => [id, times.length]));
      return { longTasks, playerScripts, shownBy, everShown, warnings: window.vxaSeen.warnings };
    }, ms);
    return { page, log, seen };
  };
  const alone = await playFor("alone", 6000);
  await alone.page.close();
  const beside = await playFor("hostile", 6000);
  const { seen, log } = beside;
  t.diagnostic(`the showcase showed ${seen.shownBy.showcase} frames beside them, ${alone.seen.shownBy.showcase} alone; `
               + `player scripts over 50 ms: ${seen.playerScripts.filter((s) => parseInt(s) > 50).length}; `
               + `long tasks of the page: ${seen.longTasks}`);
  assert.ok(seen.shownBy.showcase > 0, "the showcase plays on beside them");
  assert.deepEqual(log.errors, []);
  // The largest picture plays; the too large and the damaged ones say so.
  assert.ok(["picture", "polygons", "texts"].every((id) => seen.everShown[id] >= 1), JSON.stringify(seen.everShown));
  // Streams that are not movies get their screen; no core fails.
  assert.ok(seen.warnings.every((w) => !/stopped: (its playback failed|it needs more)/.test(w.message)),
            JSON.stringify(seen.warnings));
  await beside.page.close();

  // Without OffscreenCanvas the core runs on the page: each frame of narrow.vxa
  // as the worker drew it, and the first of the polygons too, its 127 KB
  // handed to load() at once (taken in on the page in slices).
  const narrow = fs.readFileSync(path.join(webRoot, "examples/narrow.vxa"));
  server.put("/h/narrow.vxa", narrow);
  const capture = `<script>
    window.pictures = {};
    document.addEventListener("frame", (event) => {
      const player = event.composedPath()[0];
      const canvas = player.shadowRoot.querySelector("canvas");
      (pictures[player.id || "narrow"] ??= {})[event.detail.frame] ??=
        Array.from(canvas.getContext("2d").getImageData(0, 0, canvas.width, canvas.height).data);
    }, { capture: true });
  </script>`;
  const players = `<script src="/vxa-player.js"></script><embed src="narrow.vxa">
    <vxa-player id="polygons" width="120" height="90"></vxa-player><script>
    fetch("polygons.vxa").then((r) => r.arrayBuffer()).then((bytes) => document.querySelector("#polygons").load(bytes));
  </script>`;
  server.put("/h/worker.html", `<!DOCTYPE html>${capture}${players}`);
  server.put("/h/fallback.html", `<!DOCTYPE html><script>delete window.OffscreenCanvas;</script>${capture}${players}`);
  const frames = [1, 3, 4, 12];
  const picturesOf = async (name) => {
    const from = server.requests.length;
    const { page, log } = await openPage(browser, `${server.base}/h/${name}.html`);
    const pictures = await until(page, (all) => all.every((n) => window.pictures.narrow?.[n]) && window.pictures.polygons?.[1]
                                 && window.pictures, frames, 30000);
    assert.deepEqual(log.errors, []);
    await page.close();
    // The page's script, and the same script again for each worker.
    const scripts = server.requests.slice(from).filter((name) => name === "/vxa-player.js").length;
    return { pictures, scripts };
  };
  const inWorker = await picturesOf("worker");
  const onPage = await picturesOf("fallback");
  assert.ok(inWorker.scripts >= 2, "the normal path starts workers");
  assert.equal(onPage.scripts, 1, "the fallback starts none");
  for (const [movie, n] of [...frames.map((n) => ["narrow", n]), ["polygons", 1]]) {
    const [a, b] = [inWorker.pictures[movie][n], onPage.pictures[movie][n]];
    assert.ok(a.some((v, i) => i % 4 !== 3 && v !== 0), `${movie} frame ${n} is drawn`);
    assert.ok(a.length === b.length && a.every((v, i) => v === b[i]), `${movie} frame ${n} equal on the page`);
  }

  // A movie whose worker can get no more memory (its growth refused, as at
  // the cap) stops with a grey box and a warning; the other plays on.
  server.put("/h/memory.html", `<!DOCTYPE html><script src="/vxa-player.js"></script><embed src="narrow.vxa">`);
  const { page, log: memoryLog } = await openPage(browser, `${server.base}/h/memory.html`);
  await until(page, () => document.querySelector("vxa-player").currentFrame >= 3);
  for (let i = 0; page.workers().length < 2 && i < 100; i++) await sleep(50);  // the next movie's worker, ready
  for (const worker of page.workers()) {
    await worker.evaluate(() => {
      WebAssembly.Memory.prototype.grow = () => { throw new RangeError("Maximum memory size exceeded"); };
    });
  }
  await page.evaluate(() => document.body.insertAdjacentHTML("beforeend", `<vxa-player src="picture.vxa" width="64" height="64"></vxa-player>`));
  const warning = await until(page, () => window.vxaSeen.warnings.find((w) => w.player === 1));
  assert.match(warning.message, /picture\.vxa stopped: its playback failed/);
  const before = await page.evaluate(() => window.vxaSeen.frames.filter((f) => f.player === 0).length);
  await until(page, (n) => window.vxaSeen.frames.filter((f) => f.player === 0).length > n + 3, before);
  const box = await page.evaluate(() => {
    const canvas = document.querySelectorAll("vxa-player")[1].shadowRoot.querySelector("canvas");
    return [...canvas.getContext("2d").getImageData(0, 0, 1, 1).data.slice(0, 3)];
  });
  assert.deepEqual(box, [0xc0, 0xc0, 0xc0], "its box is grey under the message");
  assert.equal(await page.evaluate(() => document.querySelectorAll("vxa-player")[1].shadowRoot
    .querySelector(".vxa-error:not([hidden])").dataset.cause), "crashed");
  assert.deepEqual(await page.evaluate(() => [...document.querySelectorAll("vxa-player")].map((p) => p.playing)), [true, false]);
  assert.deepEqual(memoryLog.errors, []);
  await page.close();
});
