// Movies for the browser tests, built from their source form with the vxa
// tool, so that each test says in a few lines what its movie does.
import { execFileSync } from "node:child_process";
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import { repository } from "./harness.mjs";

const vxa = path.join(repository, "build/native/tools/vxa/vxa");

// A frame of a movie as `vxa render` draws it, as PNG bytes.
export function nativeFrame(movie, n, folder) {
  fs.mkdirSync(folder, { recursive: true });
  const png = path.join(folder, `${n}.png`);
  execFileSync(vxa, ["render", movie, "--frame", String(n), "-o", png]);
  return fs.readFileSync(png);
}

export function buildMovie(source) {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), "vxa-movie-"));
  try {
    fs.writeFileSync(path.join(folder, "movie.json"), JSON.stringify(source));
    execFileSync(vxa, ["build", path.join(folder, "movie.json"), "-o", path.join(folder, "movie.vxa")]);
    return fs.readFileSync(path.join(folder, "movie.vxa"));
  } finally {
    fs.rmSync(folder, { recursive: true, force: true });
  }
}

// Frame n shows one bar of colour index n at x = 4n, over all earlier bars
// of the frames before it in that frame's own record: a picture tells which
// frame it is. `sounds` maps frame numbers to sound numbers.
export function countingMovie({ frames, rate, loop = false, wait = false, sounds = {} }) {
  const blocks = [];
  for (let n = 1; n <= frames; n++) {
    const items = [];
    for (let k = 1; k <= n; k++) items.push({ group: k, x: 4 * k, y: 8 });
    blocks.push({
      frame: { number: n, sound: sounds[n] || 0, items },
      groups: [{ id: n, width: 4, height: 32,
                 objects: [{ kind: "rect", right: 3, bottom: 31, fillColor1: n + 1, fillColor2: n + 1,
                             lineColor1: n + 1, lineColor2: n + 1, fillPattern: 12, lineWidth: 0 }] }],
    });
  }
  return buildMovie({
    header: { width: 4 * frames + 8, height: 48, frameRate: rate, groupCount: frames, frameCount: frames,
              loop, waitForClick: wait, background: 1 },
    blocks,
  });
}

// The blocks of a stream: where each starts (its length bytes) and ends.
export function blockSpans(bytes) {
  const wide = bytes.readInt16BE(0) >= 10000;
  const spans = [];
  for (let at = wide ? 20 : 10; at + 2 <= bytes.length; ) {
    const end = at + 2 + bytes.readUInt16BE(at);
    spans.push({ start: at, end });
    at = end;
  }
  return spans;
}

// Seconds of sound in a PCM .WAV file, read from its header.
export function wavSeconds(file) {
  const bytes = fs.readFileSync(file);
  const byteRate = bytes.readUInt32LE(28);
  let at = 12;
  while (bytes.toString("ascii", at, at + 4) !== "data") at += 8 + bytes.readUInt32LE(at + 4);
  return bytes.readUInt32LE(at + 4) / byteRate;
}
