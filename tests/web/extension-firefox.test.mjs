// The Firefox build of the extension, its zip installed into Firefox ESR: the demo
// page as it was plays as `vxa render` draws it, its sounds fetched, and a .vxa
// address opened directly shows the player page.
import assert from "node:assert/strict";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import { after, before, test } from "node:test";
import { capturePictures, checkDemoPictures, demoSounds, original, serveExpectedPictures } from "./demo-pictures.mjs";
import { openPage, repository, startFirefox, startServer, until } from "./harness.mjs";

const manifest = JSON.parse(fs.readFileSync(path.join(repository, "build/extension/firefox/manifest.json"), "utf8"));
const extensionId = manifest.browser_specific_settings.gecko.id;
const uuid = "0f2c8d5e-3b7a-4c1d-9e6f-5a4b3c2d1e0f";

let server;
let browser;
let folder;
before(async () => {
  folder = fs.mkdtempSync(path.join(os.tmpdir(), "vxa-firefox-"));
  server = await startServer();
  serveExpectedPictures(server, folder);
  server.put("/original.html", original, { type: "text/html" });
  // The zip made for the store, as Firefox takes it.
  const zip = `build/extension/tolvane-player-firefox-${manifest.version}.zip`;
  browser = await startFirefox({ extension: path.join(repository, zip), extensionId, uuid });
});
after(async () => {
  await browser?.close();
  await server?.close();
  fs.rmSync(folder, { recursive: true, force: true });
});

test("Firefox: the demo page as it was plays as vxa render draws it, and a .vxa address opens the player page", async () => {
  const { page, log } = await openPage(browser, `${server.base}/original.html`, { prepare: capturePictures });
  await checkDemoPictures(page, "/expected/");
  assert.equal(await page.$$eval("vxa-player", (p) => p.length), 3);
  // The sounds are fetched; Firefox without a sound output (as here) never
  // lets Web Audio run, so none is seen starting.
  await until(page, () => performance.getEntriesByType("resource").filter((r) => r.name.endsWith(".WAV")).length === 4);
  for (const sound of demoSounds) assert.ok(server.requests.includes("/" + sound), sound);
  assert.deepEqual(log.errors, []);

  // The navigation is sent on to the extension's page, which the driver
  // sees as the first page's frame going away.
  await page.goto(`${server.base}/examples/narrow.vxa`).catch(() => {});
  await until(page, () => location.protocol === "moz-extension:" && document.querySelector("#facts dd"));
  assert.equal(await page.evaluate(() => location.href),
               `moz-extension://${uuid}/player.html#${server.base}/examples/narrow.vxa`);
  assert.equal(await page.$eval("#facts dd", (d) => d.textContent), "160 x 120 pixels");
  await page.close();
});
