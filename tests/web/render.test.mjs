// The player's pictures against `vxa render`: the same frame of the same
// movie, pixel for pixel, from the WebAssembly build in Chromium and from the
// native tool.
import assert from "node:assert/strict";
import fs from "node:fs";
import path from "node:path";
import { after, before, test } from "node:test";
import { endSession, frameDifferences, openPage, recordShownFrames, repository, startSession, until } from "./harness.mjs";
import { nativeFrame } from "./movies.mjs";

let server;
let browser;
let folder;
before(async () => ({ server, browser, folder } = await startSession("vxa-render-")));
after(() => endSession({ server, browser, folder }));

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
    server.put(`/render/${name}.html`, `<!DOCTYPE html><script src="/vxa-player.js"></script><embed src="${name}.vxa">`);

    const { page, log } = await openPage(browser, `${server.base}/render/${name}.html`, { prepare: recordShownFrames });
    if (clickAfter) {
      await until(page, ([movie, n]) => window.shown[movie]?.[n], [name, clickAfter]);
      await page.click("vxa-player");
    }
    await until(page, ([movie, all]) => all.every((n) => window.shown[movie]?.[n]), [name, frames], 30000);
    for (const n of frames) {
      assert.deepEqual(await frameDifferences(page, `/render/${name}-${n}.png`, name, n), { size: true, count: 0, first: [] },
                       `frame ${n}`);
    }
    assert.deepEqual(log.errors, []);
    await page.close();
  });
}
