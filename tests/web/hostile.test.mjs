// A page that a player of untrusted content must survive: the showcase beside
// streams that make a player work hard or that are broken. The page stays
// responsive, the showcase keeps its frames, and a page without workers'
// canvases plays on the page itself, with the same pixels.
import assert from "node:assert/strict";
import fs from "node:fs";
import path from "node:path";
import { test } from "node:test";
import { openPage, sleep, startBrowser, startServer, until, webRoot } from "./harness.mjs";
import { hostileStreams } from "../../bench/hostile_streams.mjs";


// Long tasks of the page and the frames each player showed, from the start.
const watch = `<script>
  window.longTasks = [];
  new PerformanceObserver((list) => {
    for (const entry of list.getEntries()) longTasks.push(Math.round(entry.duration));
  }).observe({ type: "longtask", buffered: true });
  window.shownAt = {};
  document.addEventListener("frame", (event) => {
    (shownAt[event.composedPath()[0].id] ??= []).push(performance.now());
  }, { capture: true });
</script>`;

test("beside hostile streams the showcase plays on, the page stays responsive, and the fallback draws the same", async (t) => {
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
    await sleep(ms);
    // The frames each player showed in the time from the showcase's first.
    const seen = await page.evaluate((span) => {
      const shownBy = {};
      const from = shownAt.showcase[0];
      for (const [id, times] of Object.entries(shownAt)) shownBy[id] = times.filter((t) => t - from < span).length;
      return { longTasks, shownBy, warnings: window.vxaSeen.warnings };
    }, ms);
    return { page, log, seen };
  };
  const alone = await playFor("alone", 4000);
  await alone.page.close();
  const beside = await playFor("hostile", 4000);
  const { seen, log } = beside;
  assert.ok(seen.shownBy.showcase >= 0.95 * alone.seen.shownBy.showcase,
            `the showcase showed ${seen.shownBy.showcase} frames there, ${alone.seen.shownBy.showcase} alone`);
  assert.deepEqual(seen.longTasks.filter((ms) => ms > 50), [], "no task of the page over 50 ms");
  assert.deepEqual(log.errors, []);
  // The largest picture plays; the too large and the damaged ones say so.
  assert.ok(seen.shownBy.picture >= 1, JSON.stringify(seen.shownBy));
  assert.ok(seen.shownBy.polygons >= 1 && seen.shownBy.texts >= 1, JSON.stringify(seen.shownBy));
  assert.ok(seen.warnings.every((w) => !/stopped/.test(w.message)), JSON.stringify(seen.warnings));
  await beside.page.close();

  // Without OffscreenCanvas the core runs on the page: each frame of narrow.vxa
  // as the worker drew it.
  const narrow = fs.readFileSync(path.join(webRoot, "examples/narrow.vxa"));
  server.put("/h/narrow.vxa", narrow);
  const capture = `<script>
    window.pictures = {};
    document.addEventListener("frame", (event) => {
      const canvas = event.composedPath()[0].shadowRoot.querySelector("canvas");
      pictures[event.detail.frame] ??= Array.from(canvas.getContext("2d").getImageData(0, 0, canvas.width, canvas.height).data);
    }, { capture: true });
  </script>`;
  server.put("/h/worker.html", `<!DOCTYPE html>${capture}<script src="/vxa-player.js"></script><embed src="narrow.vxa">`);
  server.put("/h/fallback.html", `<!DOCTYPE html><script>delete window.OffscreenCanvas;</script>${capture}<script src="/vxa-player.js"></script><embed src="narrow.vxa">`);
  const frames = [1, 3, 4, 12];
  const picturesOf = async (name) => {
    const from = server.requests.length;
    const { page, log } = await openPage(browser, `${server.base}/h/${name}.html`);
    const pictures = await until(page, (all) => all.every((n) => window.pictures[n]) && window.pictures, frames, 30000);
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
  for (const n of frames) {
    assert.ok(inWorker.pictures[n].some((v, i) => i % 4 !== 3 && v !== 0), `frame ${n} is drawn`);
    assert.ok(inWorker.pictures[n].length === onPage.pictures[n].length
              && inWorker.pictures[n].every((v, i) => v === onPage.pictures[n][i]), `frame ${n} equal on the page`);
  }
});
