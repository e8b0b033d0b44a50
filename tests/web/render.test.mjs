// The player's pictures against `vxa render`: the same frame of the same
// movie, pixel for pixel, from the WebAssembly build in Chromium and from the
// native tool.
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import { after, before, test } from "node:test";
import { openPage, repository, startBrowser, startServer, until } from "./harness.mjs";

// A frame of a movie as `vxa render` draws it.
const vxa = path.join(repository, "build/native/tools/vxa/vxa");
function nativeFrame(movie, n, folder) {
  fs.mkdirSync(folder, { recursive: true });
  const png = path.join(folder, `${n}.png`);
  execFileSync(vxa, ["render", movie, "--frame", String(n), "-o", png]);
  return fs.readFileSync(png);
}

let server;
let browser;
let folder;
before(async () => {
  server = await startServer();
  browser = await startBrowser();
  folder = fs.mkdtempSync(path.join(os.tmpdir(), "vxa-render-"));
});
after(async () => {
  await browser?.close();
  await server?.close();
  fs.rmSync(folder, { recursive: true, force: true });
});

// Frames from every part of each example: title card and street, each
// billboard page, the pattern strip, the hold and what comes after the click.
const movies = [
  { name: "showcase", frames: [1, 5, 6, 19, 20, 34, 48] },
  { name: "narrow", frames: [1, 3, 4, 12] },
  { name: "wait-for-click", frames: [1, 6, 7, 12], clickAfter: 6 },
];

for (const { name, frames, clickAfter } of movies) {
  test(`${name}: the player's frames equal vxa render's`, async () => {
    const movie = path.join(repository, `examples/${name}.vxa`);
    for (const n of frames) server.put(`/render/${name}-${n}.png`, nativeFrame(movie, n, path.join(folder, name)));
    server.put(`/render/${name}.vxa`, fs.readFileSync(movie));
    server.put(`/render/${name}.html`, `<!DOCTYPE html><script>
      // The canvas as each frame is first shown.
      window.shown = {};
      document.addEventListener("frame", (event) => {
        const canvas = event.composedPath()[0].shadowRoot.querySelector("canvas");
        shown[event.detail.frame] ??= canvas.getContext("2d").getImageData(0, 0, canvas.width, canvas.height).data;
      }, { capture: true });
      window.differences = async (n) => {
        const image = await createImageBitmap(await (await fetch("${name}-" + n + ".png")).blob(),
                                              { colorSpaceConversion: "none" });
        const context = new OffscreenCanvas(image.width, image.height).getContext("2d");
        context.drawImage(image, 0, 0);
        const expected = context.getImageData(0, 0, image.width, image.height).data;
        const differing = [];
        for (let i = 0; i < expected.length; i += 4) {
          if ([0, 1, 2].some((c) => expected[i + c] !== shown[n][i + c])) differing.push([(i / 4) % image.width, Math.floor(i / 4 / image.width)]);
        }
        return { size: shown[n].length === expected.length, count: differing.length, first: differing.slice(0, 5) };
      };
    </script><script src="/vxa-player.js"></script><embed src="${name}.vxa">`);

    const { page, log } = await openPage(browser, `${server.base}/render/${name}.html`);
    if (clickAfter) {
      await until(page, (n) => window.shown[n], clickAfter);
      await page.click("vxa-player");
    }
    await until(page, (all) => all.every((n) => window.shown[n]), frames, 30000);
    for (const n of frames) {
      assert.deepEqual(await page.evaluate((k) => window.differences(k), n), { size: true, count: 0, first: [] },
                       `frame ${n}`);
    }
    assert.deepEqual(log.errors, []);
    await page.close();
  });
}
