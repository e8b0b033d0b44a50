// What a page and a person can do with the player beyond the plug-in's
// ways: the settings (window.Vxa.config and attributes), the controls and
// context menu, an error screen for each reason a movie can't play, and
// the npm package installed into an empty folder.
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import { after, before, test } from "node:test";
import { openPage, peek, repository, sleep, startBrowser, startServer, until } from "./harness.mjs";
import { buildMovie, countingMovie } from "./movies.mjs";

let server;
let other;  // a second origin
let browser;
before(async () => {
  server = await startServer();
  other = await startServer();
  browser = await startBrowser({ soundNeedsGesture: true });
});
after(async () => {
  await browser?.close();
  await server?.close();
  await other?.close();
});

const state = (page) => page.evaluate(() => [...document.querySelectorAll("vxa-player")].map((p) => ({
  frame: p.currentFrame, paused: p.paused, playing: p.playing,
  playButton: !p.shadowRoot.querySelector(".vxa-play").hidden,
})));

test("settings, controls and the context menu do what the table says", async () => {
  server.put("/c/m.vxa", countingMovie({ frames: 30, rate: 25, loop: true, sounds: { 2: 1 } }));
  server.put("/c/snd/1.WAV", fs.readFileSync(path.join(repository, "examples/sounds/1.WAV")));
  server.put("/c/frame.html", `<script src="/vxa-player.js"></script><embed src="m.vxa">`);
  // Settings set before the script, which is on the page twice, and one
  // embed in a frame with a copy of its own.
  server.put("/c/page.html", `<!DOCTYPE html><script>window.Vxa = { config: { autoplay: "off", sounds: "snd" } };</script>
    <script src="/vxa-player.js"></script><script src="/vxa-player.js?again"></script>
    <embed id="off" src="m.vxa" unmute-overlay="hidden">
    <vxa-player id="on" src="m.vxa" autoplay="on" context-menu="off"></vxa-player>
    <iframe src="frame.html" width="100" height="100"></iframe>`);
  const { page, log } = await openPage(browser, `${server.base}/c/page.html`, {
    prepare: () => document.addEventListener("loadedmetadata", (e) => (window.metadata ??= []).push(e.detail), true),
  });
  const context = browser.defaultBrowserContext();
  await context.overridePermissions(server.base, ["clipboard-read", "clipboard-write", "clipboard-sanitized-write"]);

  // Sound waits for a gesture (which puppeteer's evaluate would be): the
  // badge shows unless it is hidden.
  const badges = `[...document.querySelectorAll("vxa-player")].map((p) =>
    !p.shadowRoot.querySelector("button[aria-label='Turn on sound']").hidden)`;
  for (let tries = 0; tries < 100 && !(await peek(page, badges))[1]; tries++) await sleep(50);
  assert.deepEqual(await peek(page, badges), [false, true]);
  assert.equal(await peek(page, "window.vxaSeen.sounds.length"), 0);
  assert.equal(await page.evaluate(() => document.querySelectorAll("vxa-player").length), 2, "one player an embed");
  assert.equal(await page.frames()[1].evaluate(() => document.querySelectorAll("vxa-player").length), 1);
  await until(page, () => document.querySelector("#on").currentFrame > 3);
  let [off, on] = await state(page);
  assert.deepEqual([off.frame, off.paused, off.playButton], [1, true, true], "autoplay off: held on frame 1");
  assert.equal(on.playButton, false);
  assert.equal(log.console.find((m) => m.text.startsWith("vxa-player"))?.text, "vxa-player: Tolvane animation player 1.0.0");
  assert.deepEqual(await page.evaluate(() => window.metadata[0]), { layout: "wide", width: 128, height: 48, frameRate: 25,
    frames: 30, groups: 30, loops: true, waitsForClick: false });

  // The play button, then the keys while focused: space, the right arrow.
  await page.click("#off >>> .vxa-play");
  await until(page, () => document.querySelector("#off").currentFrame > 4);
  assert.ok(server.requests.includes("/c/snd/1.WAV"), "the sounds folder rule");
  await page.focus("#off");
  await page.keyboard.press("Space");
  await until(page, () => document.querySelector("#off").paused);
  [off] = await state(page);
  await page.keyboard.press("ArrowRight");
  await until(page, (n) => document.querySelector("#off").currentFrame === n, off.frame + 1);
  await sleep(200);
  [off] = await state(page);
  assert.equal(off.paused, true, "paused again after a step");
  await page.keyboard.press("Space");
  await until(page, (n) => document.querySelector("#off").currentFrame > n + 2, off.frame);

  // The context menu: its items, About, mute, copy and save.
  const menu = async (item) => {
    await page.click("#off", { button: "right" });
    if (item) await page.click(`#off >>> [data-item="${item}"]`);
  };
  await menu();
  assert.deepEqual(await page.$$eval("#off >>> .vxa-menu button", (b) => b.map((x) => x.textContent)),
    ["Pause", "Step one frame", "Restart", "Full screen", "Mute", "Save this frame as PNG", "Copy the movie's address", "About"]);
  await page.click("#off >>> [data-item='about']");
  assert.match(await page.$eval("#off >>> .vxa-menu", (m) => m.textContent),
    /player 1\.0\.0\n128 x 48 pixels, 25 frames a second\n30 frames, 30 groups, the wide layout, loops\nhttp.*\/c\/m\.vxa/);
  await page.mouse.click(5, 300);
  assert.equal(await page.$eval("#off >>> .vxa-menu", (m) => m.hidden), true);
  await menu("mute");
  assert.equal(await page.evaluate(() => document.querySelector("#off").muted), true);
  await page.evaluate(() => { document.querySelector("#off").volume = 0.25; });
  assert.equal(await page.evaluate(() => document.querySelector("#off").volume), 0.25);
  await menu("copy");
  assert.equal(await page.evaluate(() => navigator.clipboard.readText()), `${server.base}/c/m.vxa`);
  await page.evaluate(() => {
    HTMLAnchorElement.prototype.click = function () { window.saved = { name: this.download, href: this.href }; };
  });
  await menu("save");
  const saved = await until(page, () => window.saved && fetch(window.saved.href).then((r) => r.blob())
    .then(createImageBitmap).then((image) => [window.saved.name, image.width, image.height]));
  assert.match(saved[0], /^m-frame-\d+\.png$/);
  assert.deepEqual(saved.slice(1), [128, 48]);
  await menu("restart");
  await until(page, () => !document.querySelector("#off").shadowRoot.querySelector(".vxa-play").hidden);
  [off] = await state(page);
  assert.deepEqual([off.frame, off.playButton], [1, true], "restarted, held again");
  // contextMenu off: the browser's own menu.
  assert.equal(await page.evaluate(() => {
    const event = new MouseEvent("contextmenu", { bubbles: true, cancelable: true, composed: true });
    document.querySelector("#on").dispatchEvent(event);
    return event.defaultPrevented;
  }), false);

  // load() of {data} and of {url}.
  const movie = countingMovie({ frames: 5, rate: 50 });
  assert.deepEqual(await page.evaluate(async (bytes) => {
    const player = document.querySelector("#on");
    const told = [];
    player.addEventListener("loadedmetadata", (e) => told.push(e.detail.frames));
    const header = () => new Promise((resolve) => player.addEventListener("loadedmetadata", resolve, { once: true }));
    let heard = header();
    player.load({ data: new Uint8Array(bytes) });
    await heard;
    const fromData = player.facts.frames;
    heard = header();
    player.load({ url: "m.vxa" });
    await heard;
    return [fromData, player.facts.frames, told];
  }, [...movie]), [5, 30, [5, 30]]);
  assert.deepEqual(log.errors, []);
  await page.close();
});

test("each reason a movie can't play has its own screen", async () => {
  const movie = countingMovie({ frames: 3, rate: 25 });
  server.put("/e/gone.vxa", movie, { status: 410 });
  server.put("/e/broken.vxa", movie, { status: 500 });
  server.put("/e/html.vxa", "<!DOCTYPE html><p>Not here", { type: "text/html" });
  server.put("/e/picture.vxa", fs.readFileSync(path.join(repository, "docs/web-demo.png")));
  server.put("/e/short.vxa", Buffer.from([0x27, 0x10, 0, 0]));
  server.put("/e/huge.vxa", buildMovie({ header: { width: 5000, height: 5000, frameRate: 10, groupCount: 0, frameCount: 0,
    loop: false, waitForClick: false, background: 1 }, blocks: [] }));
  other.put("/e/elsewhere.vxa", movie);  // no CORS headers
  const blockedOrigin = other.base.replace("127.0.0.1", "localhost");
  const closed = await startServer();  // a port where nothing answers
  await closed.close();
  const cases = [
    ["missing.vxa", "notFound", /^HTTP 404: the file was not found where the page says it is/],
    ["gone.vxa", "notFound", /^HTTP 410: the file was not found/],
    ["broken.vxa", "http", /^HTTP 500: the server did not give the file/],
    [`${closed.base}/e/m.vxa`, "network", /^The network failed/],
    [`${other.base}/e/elsewhere.vxa`, "cors", /does not let this page read it \(CORS\)/],
    [`${blockedOrigin}/e/elsewhere.vxa`, "csp", /^The page's security policy blocked it/],
    ["html.vxa", "notMovie", /^It is not a Tolvane animation/],
    ["picture.vxa", "notMovie", /^It is not a Tolvane animation/],
    ["short.vxa", "notMovie", /^It is not a Tolvane animation/],
    ["huge.vxa", "tooLarge", /^Its picture, 5000 x 5000 pixels, is too large to show/],
  ];
  server.put("/e/page.html", `<!DOCTYPE html><script src="/vxa-player.js"></script>
    ${cases.map(([src]) => `<embed src="${src}" type="video/vxa" width="200" height="60">`).join("")}`, {
    headers: { "Content-Security-Policy": `connect-src 'self' ${other.base} ${closed.base}` } });
  // The core itself: not there, or not WebAssembly.
  server.put("/e/html/vxa-player.wasm", "<!DOCTYPE html><p>Not here", { type: "text/html" });
  const corePages = [["nowhere", /^The player's vxa-player\.wasm could not be used \(HTTP 404\)/],
                     ["html", /could not be used \(served as text\/html, not WebAssembly\)/]];
  for (const [folder] of corePages) {
    server.put(`/e/core-${folder}.html`, `<script src="/vxa-player.js"></script>
      <script>Vxa.config.publicPath = "/e/${folder}/";</script><embed src="/e/gone.vxa" width="200" height="60">`);
  }
  const screens = async (url, count) => {
    const { page, log } = await openPage(browser, url);
    const shown = await until(page, (n) => {
      const all = [...document.querySelectorAll("vxa-player")].map((p) => p.shadowRoot.querySelector(".vxa-error:not([hidden])"));
      return all.length === n && all.every(Boolean) && all.map((s) => [s.dataset.cause, ...[...s.children].map((c) => c.textContent)]);
    }, count);
    const warnings = await page.evaluate(() => window.vxaSeen.warnings.length);
    assert.deepEqual(log.errors, []);
    await page.close();
    return { shown, warnings };
  };
  const { shown, warnings } = await screens(`${server.base}/e/page.html`, cases.length);
  cases.forEach(([src, cause, reason], i) => {
    assert.equal(shown[i][0], cause, src);
    assert.match(shown[i][1], reason, src);
    assert.equal(shown[i][2], new URL(src, `${server.base}/e/`).href, "the movie's address");
  });
  assert.equal(warnings, cases.length, "one warning a movie");
  for (const [folder, reason] of corePages) {
    const core = await screens(`${server.base}/e/core-${folder}.html`, 1);
    assert.equal(core.shown[0][0], "wasm");
    assert.match(core.shown[0][1], reason);
  }
});

test("the npm package installed into an empty folder plays the showcase with one script tag", async () => {
  const version = fs.readFileSync(path.join(repository, "web/js/version.js"), "utf8").match(/"(.+)"/)[1];
  const tarball = path.join(repository, `build/npm/tolvane-player-${version}.tgz`);
  const site = fs.mkdtempSync(path.join(os.tmpdir(), "vxa-site-"));
  try {
    fs.writeFileSync(path.join(site, "package.json"), "{}");
    execFileSync("npm", ["install", "--offline", "--no-audit", "--no-fund", "--loglevel=error", tarball], { cwd: site });
    const installed = path.join(site, "node_modules/tolvane-player");
    assert.equal(JSON.parse(fs.readFileSync(path.join(installed, "package.json"))).version, version);
    server.route("/site/node_modules/", (pathname) => {
      const file = path.join(site, path.normalize(pathname.slice("/site/".length)));
      return file.startsWith(site) && fs.existsSync(file) ? { body: fs.readFileSync(file) } : null;
    });
    server.put("/site/showcase.vxa", fs.readFileSync(path.join(repository, "examples/showcase.vxa")));
    server.put("/site/index.html", `<!DOCTYPE html><script src="node_modules/tolvane-player/vxa-player.js"></script>
      <embed src="showcase.vxa" width="480" height="320">`);
    const { page, log } = await openPage(browser, `${server.base}/site/index.html`);
    await until(page, () => document.querySelector("vxa-player")?.currentFrame >= 8, undefined, 30000);
    assert.equal(await page.evaluate(() => Vxa.version), version);
    assert.ok(server.requests.includes("/site/node_modules/tolvane-player/vxa-player.wasm"));
    assert.ok(server.requests.some((r) => r.startsWith("/site/node_modules/tolvane-player/fonts/")));
    assert.deepEqual(log.errors, []);
    await page.close();
  } finally {
    fs.rmSync(site, { recursive: true, force: true });
  }
});
