// The browser extension loaded into headless Chromium, in one browser
// session: pages that know nothing of the player (the demo as it was, the
// same page as an archive serves it, a frame, a later embed, a file), pages
// that bring their own copy, the opt-out and the per-site switch, and a .vxa
// address opened directly.
import assert from "node:assert/strict";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import { pathToFileURL } from "node:url";
import { after, before, test } from "node:test";
import { capturePictures, checkDemoPictures, demoSounds, original, serveExpectedPictures } from "./demo-pictures.mjs";
import { openPage, repository, sleep, startBrowser, startServer, until, webRoot } from "./harness.mjs";

const extension = path.join(repository, "build/extension/chromium");
const narrow = fs.readFileSync(path.join(repository, "examples/narrow.vxa"));
// An archive's copy: the page under /web/TIMESTAMP/ADDRESS, its embeds'
// sources rewritten to absolute archive addresses with the flag for embedded
// objects, and the archive's own script first, which (as an archive's does)
// routes the page's fetches through itself; here it only notes them.
const archived = "/web/19981102000000/http://example.com/";
const archivedObjects = "/web/19981102000000oe_/http://example.com/";
function archivePage(html) {
  return html
    .replace(/<HEAD>/, `<HEAD><script>window.archiveFetches = [];
      const pageFetch = window.fetch;
      window.fetch = function (input, ...rest) {
        archiveFetches.push(String(input instanceof Request ? input.url : input));
        return pageFetch.call(this, input, ...rest);
      };</script>`)
    .replace(/<EMBED SRC="([^"]+)"/g, (_, source) => `<EMBED SRC="${archivedObjects}${source}"`);
}

let server;
let browser;
let extensionId;
let folder;
before(async () => {
  folder = fs.mkdtempSync(path.join(os.tmpdir(), "vxa-extension-"));
  server = await startServer();
  serveExpectedPictures(server, folder);
  server.put("/original.html", original, { type: "text/html" });
  server.put(`${archived}index.html`, archivePage(original), { type: "text/html" });
  // What the archive holds of the site: its files under any flag.
  server.route("/web/", (pathname) => {
    const match = pathname.match(/^\/web\/\d+[a-z_]*\/http:\/\/example\.com\/(.+)$/);
    const file = match && path.join(webRoot, path.normalize(match[1]));
    return file && fs.existsSync(file) ? { body: fs.readFileSync(file) } : null;
  });
  browser = await startBrowser({ extension });
  const worker = await browser.waitForTarget((t) => t.type() === "service_worker" && t.url().endsWith("/background.js"));
  extensionId = new URL(worker.url()).host;
});

after(async () => {
  await browser?.close();
  await server?.close();
  fs.rmSync(folder, { recursive: true, force: true });
});

// Runs fn in a browser page with the chrome.* API it has: one of the
// extension's own, or chrome://extensions (the browser's settings of it).
async function runIn(url, fn, ...args) {
  const page = await browser.newPage();
  await page.goto(url);
  try {
    return await page.evaluate(fn, ...args);
  } finally {
    await page.close();
  }
}

test("the demo page as it was plays as vxa render draws it, with its sounds, and the button counts it", async () => {
  server.requests.length = 0;
  const { page, log } = await openPage(browser, `${server.base}/original.html`, { prepare: capturePictures });
  await checkDemoPictures(page, "/expected/");
  assert.equal(await page.$$eval("vxa-player", (p) => p.length), 3);
  assert.equal(await page.$$eval("embed", (e) => e.length), 0);
  await until(page, () => window.vxaSeen.sounds.length > 0);
  for (const sound of demoSounds) assert.ok(server.requests.includes("/" + sound), sound);
  // The core and fonts are the extension's; the site serves only its own files.
  assert.ok(!server.requests.some((r) => r.endsWith(".wasm") || r.startsWith("/fonts/")), server.requests.join(" "));
  const counted = await runIn(`chrome-extension://${extensionId}/options.html`, async (url) => {
    const [tab] = await chrome.tabs.query({ url });
    return [await chrome.runtime.sendMessage({ type: "movies-in", tabId: tab.id }),
            await chrome.action.getBadgeText({ tabId: tab.id })];
  }, `${server.base}/original.html`);
  assert.deepEqual(counted, [3, "3"]);
  assert.deepEqual(log.errors, []);
  await page.close();
});

test("the same page under an archive's address plays the same, its sounds fetched through the archive", async () => {
  server.requests.length = 0;
  const { page, log } = await openPage(browser, `${server.base}${archived}index.html`, { prepare: capturePictures });
  await checkDemoPictures(page, "/expected/");
  await until(page, () => window.vxaSeen.sounds.length > 0);
  const fetched = await page.evaluate(() => window.archiveFetches.map((u) => new URL(u, location.href).pathname));
  for (const sound of demoSounds) {
    assert.ok(fetched.includes(archivedObjects + sound), `${sound} through the page's fetch`);
    assert.ok(server.requests.includes(archivedObjects + sound), sound);
  }
  assert.ok(fetched.includes(archivedObjects + "examples/showcase.vxa"));
  assert.deepEqual(log.errors, []);
  await page.close();
});

test("embeds in a frame, added later by a script, and named in upper case play too", async () => {
  server.put("/pages/MOVIE.VXA", narrow, { type: "application/octet-stream" });
  server.put("/pages/inner.html", `<!DOCTYPE html><embed src="MOVIE.VXA" width="160" height="120">`, { type: "text/html" });
  server.put("/pages/outer.html", `<!DOCTYPE html><iframe src="inner.html" width="300" height="200"></iframe>`,
             { type: "text/html" });
  server.put("/pages/later.html", `<!DOCTYPE html><body><p>Nothing here yet.</p></body>`, { type: "text/html" });

  const { page: framed } = await openPage(browser, `${server.base}/pages/outer.html`);
  const inner = framed.frames().find((f) => f.url().endsWith("/inner.html"));
  await inner.waitForFunction(() => document.querySelector("vxa-player")?.currentFrame >= 3, { timeout: 15000 });
  await framed.close();

  const { page: later } = await openPage(browser, `${server.base}/pages/later.html`);
  await sleep(300);
  await later.evaluate(() => {
    document.body.insertAdjacentHTML("beforeend", `<object width="160" height="120"><param name="Movie" value="MOVIE.VXA"></object>`);
  });
  await until(later, () => document.querySelector("vxa-player")?.currentFrame >= 3);
  assert.equal(await later.$$eval("object", (o) => o.length), 0);
  await later.close();
});

test("a page that loads its own copy gets one player per embed: the newer copy plays it", async () => {
  const own = fs.readFileSync(path.join(webRoot, "vxa-player.js"), "utf8");
  const newer = own.replace(/PLAYER_VERSION = "[0-9.]+"/, 'PLAYER_VERSION = "99.0.0"');
  assert.notEqual(newer, own);
  server.put("/newer/vxa-player.js", newer);
  server.put("/newer/vxa-player.wasm", fs.readFileSync(path.join(webRoot, "vxa-player.wasm")));
  for (const [pathname, script] of [["/own/", "/vxa-player.js"], ["/newer/", "/newer/vxa-player.js"]]) {
    server.put(`${pathname}m.vxa`, narrow);
    server.put(`${pathname}page.html`, `<!DOCTYPE html><head><script src="${script}"></script></head>
      <embed src="m.vxa" type="video/vxa" width="160" height="120"><embed src="m.vxa" type="video/vxa" width="160" height="120">`,
    { type: "text/html" });
  }
  for (const [pathname, version, wasm] of [["/own/", "1.0.0", null], ["/newer/", "99.0.0", "/newer/vxa-player.wasm"]]) {
    server.requests.length = 0;
    const { page, log } = await openPage(browser, `${server.base}${pathname}page.html`);
    await until(page, () => [...document.querySelectorAll("vxa-player")].every((p) => p.currentFrame >= 3)
                            && document.querySelectorAll("vxa-player").length === 2);
    assert.equal(await page.evaluate(() => window.Vxa.version), version, pathname);
    // Each embed's movie fetched once: one player each, never two.
    assert.equal(server.requests.filter((r) => r === `${pathname}m.vxa`).length, 2, pathname);
    assert.equal(server.requests.filter((r) => r.endsWith(".wasm"))[0] ?? null, wasm, pathname);
    assert.deepEqual(log.errors, []);
    await page.close();
  }
});

test("an opted-out element or document is left alone", async () => {
  server.put("/optout/m.vxa", narrow);
  server.put("/optout/element.html", `<!DOCTYPE html><embed id="kept" src="m.vxa" data-vxa-optout width="160" height="120">
    <embed src="m.vxa" width="160" height="120">`, { type: "text/html" });
  server.put("/optout/document.html", `<!DOCTYPE html><html data-vxa-optout><embed src="m.vxa" width="160" height="120"></html>`,
             { type: "text/html" });
  const { page } = await openPage(browser, `${server.base}/optout/element.html`);
  await until(page, () => document.querySelector("vxa-player")?.currentFrame >= 1);
  assert.deepEqual(await page.$$eval("embed, vxa-player", (all) => all.map((e) => e.id || e.localName)), ["kept", "vxa-player"]);
  await page.goto(`${server.base}/optout/document.html`, { waitUntil: "load" });
  await sleep(500);
  assert.deepEqual(await page.$$eval("embed, vxa-player", (all) => all.map((e) => e.localName)), ["embed"]);
  await page.close();
});

test("a page on this computer plays its movie and sounds once file access is allowed, and reads nothing else", async () => {
  fs.writeFileSync(path.join(folder, "page.html"), `<!DOCTYPE html><embed src="showcase.vxa" width="480" height="320">`);
  fs.copyFileSync(path.join(repository, "examples/showcase.vxa"), path.join(folder, "showcase.vxa"));
  fs.mkdirSync(path.join(folder, "VXA_WAV"));
  for (const n of [1, 2, 3, 4]) {
    fs.copyFileSync(path.join(repository, `examples/sounds/${n}.WAV`), path.join(folder, `VXA_WAV/${n}.WAV`));
  }
  fs.writeFileSync(path.join(folder, "secret.txt"), "not for pages");
  await runIn("chrome://extensions",
              (id) => chrome.developerPrivate.updateExtensionConfiguration({ extensionId: id, fileAccess: true }), extensionId);
  const { page, log } = await openPage(browser, pathToFileURL(path.join(folder, "page.html")).href);
  await until(page, () => document.querySelector("vxa-player")?.currentFrame >= 6 && window.vxaSeen.sounds.length > 0);
  assert.equal(await page.$$eval("embed", (e) => e.length), 0);
  // A local page asking the extension for any other file gets nothing.
  const refused = await page.evaluate((url) => new Promise((resolve) => {
    window.addEventListener("message", (event) => {
      if (event.data?.vxaLocalFile?.id === 999) resolve(event.data.vxaLocalFile);
    });
    document.dispatchEvent(new CustomEvent("vxa-extension-read", { detail: JSON.stringify({ id: 999, url }) }));
  }), pathToFileURL(path.join(folder, "secret.txt")).href);
  assert.deepEqual(refused, { id: 999, error: "not a movie or a sound" });
  assert.deepEqual(log.errors, []);
  await page.close();
});

test("a .vxa address opened directly shows the player page, whatever type it is served as", async () => {
  server.put("/direct/typed.vxa", narrow);
  server.put("/direct/BINARY.VXA", narrow, { type: "application/octet-stream" });
  server.put("/direct/untyped.vxa", narrow, { type: null });
  for (const movie of ["/examples/showcase.vxa", "/direct/typed.vxa", "/direct/BINARY.VXA", "/direct/untyped.vxa?x=1"]) {
    server.requests.length = 0;
    const { page } = await openPage(browser, `${server.base}${movie}`, { prepare: capturePictures });
    assert.equal(page.url(), `chrome-extension://${extensionId}/player.html#${server.base}${movie}`);
    await until(page, () => window.pictures[0]?.[1] && document.querySelector("#facts dd"));
    const facts = await page.$$eval("#facts dd", (all) => all.map((d) => d.textContent));
    if (movie === "/examples/showcase.vxa") {
      assert.deepEqual(facts.slice(0, 1), ["480 x 320 pixels"]);
      assert.equal(await page.evaluate((png) => window.differingPixels(0, 1, png), `${server.base}/expected/showcase-1.png`), 0);
      await until(page, () => window.vxaSeen.sounds.length > 0);
      assert.ok(server.requests.includes("/examples/VXA_WAV/1.WAV"));
    } else {
      assert.deepEqual(facts.slice(0, 1), ["160 x 120 pixels"]);
    }
    await page.close();
  }
  // A file chosen on the page (as one dropped on it) plays in place.
  const { page } = await openPage(browser, `${server.base}/examples/narrow.vxa`);
  const input = await page.$("#file");
  await input.uploadFile(path.join(repository, "examples/wait-for-click.vxa"));
  await until(page, () => document.title.startsWith("wait-for-click.vxa") && document.querySelector("#facts dd"));
  assert.equal(await page.$eval("#facts dd", (d) => d.textContent), "320 x 200 pixels");
  await page.close();
});

// The toolbar popup of the tab in front, as the button opens it.
async function openPopup(tab) {
  await tab.bringToFront();
  const worker = await (await browser.waitForTarget((t) => t.type() === "service_worker")).worker();
  await worker.evaluate(() => chrome.action.openPopup());
  const popup = await (await browser.waitForTarget((t) => t.url().endsWith("/popup.html"))).asPage();
  await popup.waitForFunction(() => document.querySelector("#site-name").textContent !== "this site");
  return popup;
}

test("the toolbar button switches a site off, the options page edits the list, and off everywhere is off", async () => {
  const local = server.base.replace("127.0.0.1", "localhost");
  const { page } = await openPage(browser, `${local}/original.html`);
  await until(page, () => document.querySelectorAll("vxa-player").length === 3);
  let popup = await openPopup(page);
  await popup.waitForFunction(() => document.querySelector("#movies").textContent === "3 movies on this page");
  assert.equal(await popup.$eval("#site-name", (e) => e.textContent), "localhost");
  await popup.click("#site");
  await popup.waitForSelector("#note:not([hidden])");
  await popup.close();
  const leftAlone = async (url) => {
    await page.goto(url, { waitUntil: "load" });
    await sleep(800);
    return [await page.$$eval("vxa-player", (p) => p.length), await page.$$eval("embed", (e) => e.length)];
  };
  assert.deepEqual(await leftAlone(`${local}/original.html`), [0, 3]);
  // A page with its own copy, which stood by for the extension's, plays by it.
  server.requests.length = 0;
  await page.goto(`${local}/own/page.html`, { waitUntil: "load" });
  await until(page, () => [...document.querySelectorAll("vxa-player")].filter((p) => p.currentFrame >= 3).length === 2);
  assert.ok(server.requests.includes("/vxa-player.wasm"));

  const options = await browser.newPage();
  await options.goto(`chrome-extension://${extensionId}/options.html`);
  assert.equal(await options.$eval("#sites", (t) => t.value), "localhost");
  await options.$eval("#sites", (t) => { t.value = ""; });
  await options.type("#sites", "example.org\nhttp://LOCALHOST/old/page.html\nexample.org\n");
  await options.click("#save");
  await options.waitForSelector("#saved:not([hidden])");
  assert.equal(await options.$eval("#sites", (t) => t.value), "example.org\nlocalhost");
  assert.deepEqual(await leftAlone(`${local}/original.html`), [0, 3]);
  // Elsewhere it goes on playing.
  await page.goto(`${server.base}/original.html`, { waitUntil: "load" });
  await until(page, () => document.querySelectorAll("vxa-player").length === 3);

  popup = await openPopup(page);
  await popup.click("#everywhere");
  await popup.waitForSelector("#note:not([hidden])");
  await popup.close();
  assert.deepEqual(await leftAlone(`${server.base}/original.html`), [0, 3]);
  // Nor does a direct address go to the player page.
  assert.deepEqual(await options.evaluate(() => chrome.declarativeNetRequest.getDynamicRules()), []);
  await options.close();
  await page.close();
});
