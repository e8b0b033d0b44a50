// What the extension's browser tests check on the demo page, in Chromium
// and in Firefox: the page as it was (without the line that loads the
// player), and its players' frames against `vxa render`.
import assert from "node:assert/strict";
import { execFileSync } from "node:child_process";
import fs from "node:fs";
import path from "node:path";
import { repository, until, webRoot } from "./harness.mjs";

const vxa = path.join(repository, "build/native/tools/vxa/vxa");

// The demo page as it was, without the line that loads the player.
export const original = fs.readFileSync(path.join(webRoot, "index.html"), "utf8")
  .replace(/<script src="vxa-player.js"><\/script>\n/, "");
// The frames checked against `vxa render`, per player of the demo page.
export const expected = [["showcase", [1, 6]], ["narrow", [1]], ["wait-for-click", [1]]];
export const demoSounds = ["1", "2", "3", "4"].map((n) => `examples/VXA_WAV/${n}.WAV`);

// The expected pictures, drawn by `vxa render` into folder and served at
// /expected/NAME-N.png.
export function serveExpectedPictures(server, folder) {
  for (const [name, frames] of expected) {
    for (const n of frames) {
      const png = path.join(folder, `${name}-${n}.png`);
      execFileSync(vxa, ["render", path.join(repository, `examples/${name}.vxa`), "--frame", String(n), "-o", png]);
      server.put(`/expected/${name}-${n}.png`, fs.readFileSync(png));
    }
  }
}

// Every picture a player first shows of each frame, and a comparison of one
// with a PNG, in the page.
export function capturePictures() {
  window.pictures = [];
  document.addEventListener("frame", (event) => {
    const player = event.composedPath()[0];
    const index = [...document.querySelectorAll("vxa-player")].indexOf(player);
    const canvas = player.shadowRoot.querySelector("canvas");
    (window.pictures[index] ??= {})[event.detail.frame] ??=
      canvas.getContext("2d").getImageData(0, 0, canvas.width, canvas.height).data;
  }, { capture: true });
  window.differingPixels = async (index, frame, png) => {
    const image = await createImageBitmap(await (await fetch(png)).blob(), { colorSpaceConversion: "none" });
    const context = new OffscreenCanvas(image.width, image.height).getContext("2d");
    context.drawImage(image, 0, 0);
    const want = context.getImageData(0, 0, image.width, image.height).data;
    const shown = window.pictures[index][frame];
    if (shown.length !== want.length) return "size";
    let count = 0;
    for (let i = 0; i < want.length; i += 4) if ([0, 1, 2].some((c) => want[i + c] !== shown[i + c])) count++;
    return count;
  };
}

// Waits for every expected frame of the demo's players and compares each.
export async function checkDemoPictures(page, pngBase) {
  await until(page, (all) => all.every(([index, frames]) => frames.every((n) => window.pictures[index]?.[n])),
              expected.map(([, frames], index) => [index, frames]), 30000);
  for (const [index, [name, frames]] of expected.entries()) {
    for (const n of frames) {
      assert.equal(await page.evaluate((i, k, png) => window.differingPixels(i, k, png), index, n,
                                       `${pngBase}${name}-${n}.png`), 0, `${name} frame ${n}`);
    }
  }
}
