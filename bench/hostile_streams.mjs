// Streams that make a player work hard or that are broken, for the hostile
// page of the web benchmark: each as bytes with a name.
import { buildMovie } from "../tests/web/movies.mjs";

const solid = (colour) => ({ fillColor1: colour, fillColor2: colour, lineColor1: colour, lineColor2: colour,
                             fillPattern: 12, linePattern: 12, lineWidth: 1 });

// Frame k shows groups 1..k, and its block brings group k: `perGroup`
// objects each, so that every block stays within a block's size limit.
function movie(width, height, objects, perGroup = 150) {
  const groups = [];
  for (let at = 0; at < objects.length; at += perGroup) groups.push(objects.slice(at, at + perGroup));
  return buildMovie({
    header: { width, height, frameRate: 50, groupCount: groups.length, frameCount: groups.length, loop: true,
              waitForClick: false, background: 1 },
    blocks: groups.map((group, i) => ({
      frame: { number: i + 1, sound: 0, items: groups.slice(0, i + 1).map((_, k) => ({ group: k + 1, x: k, y: k })) },
      groups: [{ id: i + 1, width: Math.min(width, 256), height: Math.min(height, 256), objects: group }],
    })),
  });
}

export function hostileStreams(good) {
  const fonts = ["Times", "Heltvetica", "Courier", "Geneva", "Monaco", "New York", "Symbol", "Chicago"];
  const texts = [];
  for (const [f, font] of fonts.entries()) {
    for (let style = 0; style < 8; style++) {
      for (let size = 6; size <= 72; size += 11) {
        texts.push({ kind: "text", left: f * 8, top: style * 8, right: 255, bottom: 255,
                     ...solid(0), fillPattern: 255, linePattern: 255, lineWidth: 0, textColor: 219 + style,
                     style, size, justification: size % 3 - 1, font,
                     text: "The quick brown fox jumps over the lazy dog \u00e9\u00e8\u00fc\u00df 0123456789" });
      }
    }
  }
  const polygons = Array.from({ length: 2000 }, (_, i) => ({
    kind: "polygon", left: 0, top: 0, right: 255, bottom: 255, ...solid(i % 250 + 2),
    points: Array.from({ length: 24 }, (_, k) => [(i * 37 + k * 613) % 256, (i * 91 + k * 271) % 256]),
  }));
  const truncated = good.subarray(0, Math.floor(good.length / 2));
  const flipped = Buffer.from(good);
  for (let at = 40; at < flipped.length; at += 61) flipped[at] ^= 1 << (at % 8);
  let seed = 1;
  const random = Buffer.alloc(65536, 0).map(() => ((seed = (seed * 1103515245 + 12345) >>> 0) >>> 16) & 0xff);
  return [
    ["texts", movie(480, 480, texts)],
    ["picture", movie(4096, 4096, [{ kind: "rect", left: 0, top: 0, right: 255, bottom: 255, ...solid(35) }])],
    ["polygons", movie(256, 256, polygons)],
    ["truncated", truncated],
    ["flipped", flipped],
    ["random", random],
  ];
}
