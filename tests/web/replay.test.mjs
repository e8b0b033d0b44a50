// The player where web archives show it: the demo page captured into a WARC
// and replayed through wabac.js's service worker, the player injected as
// an archive injects it; the same page under a strict security policy; and
// at a Wayback-style address, rewritten as such an archive rewrites it.
import assert from "node:assert/strict";
import fs from "node:fs";
import path from "node:path";
import { after, before, test } from "node:test";
import { frameDifferences, openPage, recordShownFrames, recordWhatIsSeen, repository, startSession, endSession, until, webRoot } from "./harness.mjs";
import { captureTime, capturedFiles, capturedSite, demoWarc } from "./archive.mjs";
import { nativeFrame } from "./movies.mjs";

const wabacWorker = path.join(repository, "tests/web/node_modules/@webrecorder/wabac/dist/sw.js");
const packageFolder = path.join(repository, "build/npm/package");  // the npm package's files
const checkedFrames = [1, 6, 20];
const players = (frame) => frame.evaluate(() => [...document.querySelectorAll("vxa-player")].map((p) => ({
  frame: p.currentFrame, error: p.shadowRoot.querySelector(".vxa-error:not([hidden])")?.dataset.cause || null,
  text: p.shadowRoot.querySelector(".vxa-error")?.textContent || "",
})));

let server;
let browser;
let folder;
before(async () => {
  ({ server, browser, folder } = await startSession("vxa-replay-"));
  for (const n of checkedFrames) {
    server.put(`/render/showcase-${n}.png`, nativeFrame(path.join(repository, "examples/showcase.vxa"), n, folder));
  }
  // Files of the package folder under prefix: all of them, or only the script.
  const served = (prefix, only) => server.route(prefix, (pathname) => {
    const file = path.join(packageFolder, path.normalize(pathname.slice(prefix.length)));
    if (only && pathname.slice(prefix.length) !== only) return null;
    return file.startsWith(packageFolder) && fs.existsSync(file) ? { body: fs.readFileSync(file) } : null;
  });
  served("/player/");
  served("/_static/js/", "vxa-player.js");
  served("/_static/vxa/");
});
after(() => endSession({ server, browser, folder }));

test("a WARC of the demo page replays through wabac.js: pixel-equal, sounds from the archive, a lost movie said so", async () => {
  server.put("/demo.warc", await demoWarc(), { type: "application/warc" });
  server.put("/sw.js", fs.readFileSync(wabacWorker));
  // What the test watches goes in as the engine injects the player, just
  // before it: a frame's document can begin before the browser's debugger
  // has set up the test's own copy there.
  server.put("/watch/seen.js", `(${recordWhatIsSeen})();(${recordShownFrames})();`, { type: "text/javascript" });
  const scripts = [`${server.base}/watch/seen.js`, `${server.base}/player/vxa-player.js`];
  const worker = `/sw.js?injectScripts=${encodeURIComponent(scripts.join(","))}` +
    `&allowProxyPaths=${encodeURIComponent(`${server.base}/player/,${server.base}/watch/`)}`;
  // As ReplayWeb.page does: the worker, the collection loaded from the WARC,
  // the captured pages in frames.
  server.put("/replay.html", `<!DOCTYPE html><body><script>
    window.replayed = (async () => {
      const registration = await navigator.serviceWorker.register(${JSON.stringify(worker)}, { scope: "/" });
      await navigator.serviceWorker.ready;
      const added = new Promise((resolve, reject) => navigator.serviceWorker.addEventListener("message", (event) => {
        if (event.data.msg_type === "collAdded") resolve();
        if (event.data.msg_type === "collProgress" && event.data.error) reject(new Error(event.data.error));
      }));
      registration.active.postMessage({ msg_type: "addColl", name: "demo", file: { sourceUrl: "/demo.warc" } });
      await added;
      for (const [id, page] of [["demo", "index.html"], ["lost", "lost.html"]]) {
        const frame = Object.assign(document.createElement("iframe"), { id, width: 1000, height: 700 });
        frame.src = "/w/demo/${captureTime}mp_/${capturedSite}" + page;
        document.body.append(frame);
      }
      return "replaying";
    })().catch((error) => String(error));
  </script></body>`);
  const { page, log } = await openPage(browser, `${server.base}/replay.html`, { prepare: recordShownFrames });
  assert.equal(await page.evaluate(() => window.replayed), "replaying");
  await until(page, () => document.querySelector("#demo").contentWindow.Vxa && document.querySelector("#lost").contentWindow.Vxa);
  const [demo, lost] = ["demo", "lost"].map((id) => page.frames().find((f) => f.url().includes(id === "demo" ? "index.html" : "lost.html")));
  assert.ok(demo.url().startsWith(`${server.base}/w/demo/`), demo.url());

  // The engine made frames of the <embed>s; each is a player again, the
  // page after them kept. (The engine tells the page of 2 device pixels
  // to the CSS pixel.)
  await until(demo, (n) => window.shown?.showcase?.[n], Math.max(...checkedFrames), 30000);
  assert.deepEqual((await players(demo)).map((p) => p.error), [null, null, null]);
  assert.ok(await demo.evaluate(() => document.body.textContent.includes("You are visitor number")));
  for (const n of checkedFrames) {
    assert.deepEqual(await frameDifferences(page, `/render/showcase-${n}.png`, "showcase", n, "#demo"),
                     { size: true, count: 0, first: [] }, `frame ${n}`);
  }
  // Sounds came from the collection, through the replay's addresses.
  await until(demo, () => window.vxaSeen.sounds.length > 0);
  const sounds = await demo.evaluate(() => performance.getEntriesByType("resource").map((e) => e.name).filter((n) => /\.WAV$/.test(n)));
  assert.ok(sounds.length > 0 && sounds.every((url) => url.startsWith(`${server.base}/w/demo/`)), sounds.join(" "));
  assert.ok(!server.requests.some((r) => /WAV|\.vxa$/.test(r)), "nothing of the movie came from outside the archive");

  // The movie the crawl never reached.
  const [screen] = await until(lost, () => {
    const p = document.querySelector("vxa-player");
    const shown = p && p.shadowRoot.querySelector(".vxa-error:not([hidden])");
    return shown && [shown.textContent];
  });
  assert.match(screen, /^HTTP 404: the file was not found where the page says it is .*never captured.*lost\.vxa$/);
  assert.deepEqual(log.errors, []);
  await page.close();
});

test("under a strict security policy the page plays", async () => {
  const demoPage = fs.readFileSync(path.join(webRoot, "index.html"));
  server.put("/csp.html", demoPage, { headers: { "Content-Security-Policy": "script-src 'self' 'wasm-unsafe-eval'" } });
  const { page, log } = await openPage(browser, `${server.base}/csp.html`);
  await until(page, () => [...document.querySelectorAll("vxa-player")].every((p) => p.currentFrame >= 3));
  await until(page, () => window.vxaSeen.sounds.length > 0);
  assert.deepEqual((await players(page)).map((p) => p.error), [null, null, null]);
  assert.deepEqual(log.console.filter((m) => /Content Security Policy/.test(m.text)), []);
  assert.deepEqual(log.errors, []);
  await page.close();
});

test("at a Wayback-style address, rewritten, with settings after the script: plays with its sounds", async () => {
  const stamp = captureTime;
  const earlier = server.requests.length;
  const files = new Map(capturedFiles().map((f) => [capturedSite + f.path, f]));
  // This archive holds the sounds where they were captured: on a server of their own.
  for (const n of [1, 2, 3, 4]) files.set(`http://media.example.com/VXA_WAV/${n}.WAV`, files.get(`${capturedSite}examples/VXA_WAV/${n}.WAV`));
  for (const n of [1, 2, 3, 4]) files.delete(`${capturedSite}examples/VXA_WAV/${n}.WAV`);
  const archived = (modifier, url) => `/web/${stamp}${modifier}/${url}`;
  const rewriteTo = `${server.base}${archived("oe_", "http://media.example.com/VXA_WAV/")}`;
  server.route("/web/", (pathname) => {
    const match = /^\/web\/(\d{14})([a-z]{2}_)?\/(.*)$/.exec(pathname);
    const file = match && files.get(match[3]);
    if (!file) return { body: "not in this archive", status: 404, type: "text/plain" };
    if (file.type !== "text/html") return file;
    // The archive's rewriting: every address into the archive, and its head
    // insert, which sets the player's settings after loading it.
    const html = file.body.toString("latin1")
      .replace(/SRC="([^"]+)"/g, (_, src) => `SRC="${archived("oe_", new URL(src, match[3]).href)}"`)
      .replace("<HEAD>", `<HEAD><script src="/_static/js/vxa-player.js"></script><script src="/_static/settings.js"></script>`);
    return { body: html, type: "text/html" };
  });
  server.put("/_static/settings.js", `Vxa.config = { publicPath: "/_static/vxa/", logLevel: "warn",
    urlRewrite: { ${JSON.stringify(`${server.base}${archived("oe_", `${capturedSite}examples/VXA_WAV/`)}`)}: ${JSON.stringify(rewriteTo)} } };`);
  const { page, log } = await openPage(browser, `${server.base}${archived("", `${capturedSite}index.html`)}`);
  await until(page, () => [...document.querySelectorAll("vxa-player")].every((p) => p.currentFrame >= 3));
  await until(page, () => window.vxaSeen.sounds.length > 0);
  assert.deepEqual((await players(page)).map((p) => p.error), [null, null, null]);
  assert.ok(server.requests.includes(archived("oe_", "http://media.example.com/VXA_WAV/1.WAV")));
  assert.ok(server.requests.includes("/_static/vxa/vxa-player.wasm"), "the core from publicPath");
  assert.ok(server.requests.some((r) => r.startsWith("/_static/vxa/fonts/")), "the fonts from publicPath");
  assert.ok(!server.requests.slice(earlier).some((r) => /^\/(vxa-player\.wasm|fonts\/)/.test(r)));
  assert.deepEqual(log.console.filter((m) => m.type === "info" || m.type === "warning"), [], "logLevel warn");
  assert.deepEqual(log.errors, []);
  await page.close();
});
