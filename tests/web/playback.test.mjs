// The player in headless Chromium, playing as the plug-in plays: the demo
// page from end to end, a stream that arrives slowly, clicks, ESC, the hold
// for a click, sounds, and damaged streams.
import assert from "node:assert/strict";
import fs from "node:fs";
import path from "node:path";
import { after, before, describe, test } from "node:test";
import { openPage, repository, sleep, startBrowser, startServer, until } from "./harness.mjs";
import { blockSpans, buildMovie, countingMovie, wavSeconds } from "./movies.mjs";

let server;
let browser;
before(async () => {
  server = await startServer();
  browser = await startBrowser();
});
after(async () => {
  await browser?.close();
  await server?.close();
});

const frameNumbers = (seen, player = 0) => seen.frames.filter((f) => f.player === player).map((f) => f.frame);
const intervals = (seen, player = 0) => {
  const times = seen.frames.filter((f) => f.player === player).map((f) => f.at);
  return times.slice(1).map((t, i) => t - times[i]);
};
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

const cursor = (page) => page.evaluate(() => document.querySelector("vxa-player").shadowRoot.querySelector("canvas").style.cursor);

// A page that holds one movie, the way an archived page embeds it.
function moviePage(name, bytes, { embed = "", trickle = null } = {}) {
  const movieUrl = server.put(`/t/${name}.vxa`, bytes, trickle || {});
  server.put(`/t/${name}.html`, `<!DOCTYPE html><html><head><script src="/vxa-player.js"></script></head>
<body style="margin:0"><embed src="${movieUrl}" ${embed}></body></html>`);
  return `${server.base}/t/${name}.html`;
}

describe("the demo page", () => {
  test("plays the three examples with their sounds, frame after frame at each movie's rate", async () => {
    const { page, log } = await openPage(browser, `${server.base}/index.html`);
    const players = await page.evaluate(() => [...document.querySelectorAll("vxa-player")].map((p) => ({
      src: new URL(p.getAttribute("src")).pathname, width: p.getBoundingClientRect().width,
      height: p.getBoundingClientRect().height, label: p.shadowRoot.querySelector("canvas").getAttribute("aria-label"),
      role: p.shadowRoot.querySelector("canvas").getAttribute("role"),
    })));
    assert.deepEqual(players, [
      { src: "/examples/showcase.vxa", width: 480, height: 320, label: "Animation showcase.vxa", role: "img" },
      { src: "/examples/narrow.vxa", width: 160, height: 120, label: "Animation narrow.vxa", role: "img" },
      { src: "/examples/wait-for-click.vxa", width: 320, height: 200, label: "Animation wait-for-click.vxa", role: "img" },
    ]);
    assert.equal(await page.$$eval("embed, object", (e) => e.length), 0);

    // The showcase's cues are on frames 1, 14, 20, 27 and 34 (sounds 1, 2, 4, 3, 4).
    const seen = await until(page, () => window.vxaSeen.frames.filter((f) => f.player === 0).length >= 36 && window.vxaSeen);
    // The README shows this picture (docs/web-demo.png).
    await page.screenshot({ path: path.join(repository, "build/web-demo.png"), fullPage: true });
    const shown = frameNumbers(seen, 0);
    assert.deepEqual(shown.slice(0, 36), Array.from({ length: 36 }, (_, i) => i + 1));
    // 12 frames a second: a frame is due 83 ms after the one before, and the
    // 20 ms timer shows it on the next message, 100 ms after. A message the
    // page runs late shortens the interval after it, never the average.
    const gaps = intervals(seen, 0);
    const average = (seen.frames.filter((f) => f.player === 0).at(-1).at - seen.frames[0].at) / gaps.length;
    assert.ok(average >= 83 && median(gaps) >= 83 && median(gaps) <= 120, `intervals ${gaps}`);
    // narrow.vxa: 12 frames, no loop, then it ends.
    assert.deepEqual(frameNumbers(seen, 1), Array.from({ length: 12 }, (_, i) => i + 1));
    assert.deepEqual(seen.ends.map((e) => e.player), [1]);
    // wait-for-click.vxa holds on frame 6.
    assert.deepEqual(frameNumbers(seen, 2), [1, 2, 3, 4, 5, 6]);

    const sounds = path.join(repository, "examples/sounds");
    const expected = [1, 2, 4, 3, 4].map((n) => wavSeconds(path.join(sounds, `${n}.WAV`)));
    const started = seen.sounds.map((s) => s.seconds);
    assert.equal(started.length, expected.length, `sounds started: ${JSON.stringify(seen.sounds)}`);
    started.forEach((seconds, i) => assert.ok(Math.abs(seconds - expected[i]) < 0.01, `sound ${i}: ${seconds} s`));
    assert.deepEqual(seen.sounds.map((s) => s.frame), [1, 14, 20, 27, 34]);

    assert.deepEqual(log.errors, []);
    assert.deepEqual(log.console.filter((m) => m.type === "error" || m.type === "warn"), []);
    await page.close();
  });
});

describe("streams", () => {
  test("a slowly served stream shows its frames while it arrives, and waits for late ones", async () => {
    // 64 bytes every 40 ms: the 20 frames of 60 ms take far longer to arrive
    // than to play, so playback keeps catching up with the data.
    const movie = countingMovie({ frames: 20, rate: 16 });
    const url = moviePage("slow", movie, { trickle: { bytesPerPart: 64, pause: 40 } });
    const arrival = (movie.length / 64) * 40;
    const { page, log } = await openPage(browser, url);
    const seen = await until(page, () => window.vxaSeen.ends.length > 0 && window.vxaSeen);
    assert.deepEqual(frameNumbers(seen), Array.from({ length: 20 }, (_, i) => i + 1));
    const first = seen.frames[0].at;
    const last = seen.frames.at(-1).at;
    assert.ok(last - first > arrival * 0.6, `all frames within ${last - first} ms of the first`);
    assert.ok(Math.max(...intervals(seen)) > 1000 / 16 + 40, "playback never waited for data");
    assert.deepEqual(log.errors, []);
    await page.close();
  });

  test("the first chunk alone starts no timer: playback begins with the next, as in the plug-in", async () => {
    // All ten frames are in the first part; the last byte follows 400 ms later.
    const movie = countingMovie({ frames: 10, rate: 50 });
    const url = moviePage("twoparts", movie, { trickle: { bytesPerPart: movie.length - 1, pause: 400 } });
    const { page } = await openPage(browser, url);
    const seen = await until(page, () => window.vxaSeen.ends.length > 0 && window.vxaSeen);
    assert.equal(seen.reads.length, 2);
    assert.ok(seen.frames[0].at >= seen.reads[1], `frame 1 at ${seen.frames[0].at}, parts at ${seen.reads}`);
    assert.deepEqual(frameNumbers(seen), Array.from({ length: 10 }, (_, i) => i + 1));
    await page.close();
  });

  test("a frame whose group comes later waits for it", async () => {
    const bar = (id, colour) => ({ id, width: 8, height: 32, objects: [{ kind: "rect", right: 7, bottom: 31,
      fillColor1: colour, fillColor2: colour, lineColor1: colour, lineColor2: colour, fillPattern: 12, lineWidth: 0 }] });
    const movie = buildMovie({
      header: { width: 32, height: 40, frameRate: 25, groupCount: 2, frameCount: 3, background: 1 },
      blocks: [
        { frame: { number: 1, items: [{ group: 1, x: 0, y: 0 }] }, groups: [bar(1, 5)] },
        { frame: { number: 2, items: [{ group: 1, x: 0, y: 0 }, { group: 2, x: 12, y: 0 }] } },
        { frame: { number: 3, items: [{ group: 1, x: 0, y: 0 }] } },
        { groups: [bar(2, 9)] },
      ],
    });
    // Parts: the header and frame 1; frames 2 and 3 (the timer starts); group 2.
    const spans = blockSpans(movie);
    const url = moviePage("lategroup", movie, { trickle: { splits: [spans[0].end, spans[2].end], pause: 400 } });
    const { page, log } = await openPage(browser, url);
    const seen = await until(page, () => window.vxaSeen.ends.length > 0 && window.vxaSeen);
    assert.deepEqual(frameNumbers(seen), [1, 2, 3]);
    assert.equal(seen.reads.length, 3);
    assert.ok(seen.frames[0].at < seen.reads[2] && seen.frames[1].at >= seen.reads[2], JSON.stringify(seen));
    assert.deepEqual(log.errors, []);
    await page.close();
  });

  // Damage is left out as the plug-in leaves it out: the rest plays, and the
  // page hears of it once.
  const damages = [
    { name: "a block that decodes to nothing", frames: [1, 2, 3], warns: true,
      damage: (bytes, spans) => bytes.fill(0xff, spans[3].start + 2, spans[3].end) },
    { name: "a frame number past the table", frames: [1, 2, 3, 4, 5, 6, 7, 8], warns: true,
      damage: (bytes, spans) => { bytes.writeInt16BE(99, spans[8].start + 2); return bytes; } },
    { name: "a block length of 0x8000 or more", frames: [1, 2, 3, 4, 5], warns: true,
      damage: (bytes, spans) => { bytes.writeUInt16BE(0x8000, spans[5].start); return bytes; } },
    { name: "a stream that ends inside a block", frames: [1, 2, 3, 4, 5, 6], warns: false,
      damage: (bytes, spans) => bytes.subarray(0, spans[6].start + 5) },
  ];
  for (const { name, frames, warns, damage } of damages) {
    test(`damaged: ${name}`, async () => {
      const movie = Buffer.from(countingMovie({ frames: 10, rate: 50 }));
      const { page, log } = await openPage(browser, moviePage("damaged", damage(movie, blockSpans(movie))));
      await sleep(600);
      const seen = await page.evaluate(() => window.vxaSeen);
      assert.deepEqual(frameNumbers(seen), frames);
      assert.deepEqual(log.errors, []);
      assert.deepEqual(log.console.filter((m) => m.type === "error"), []);
      const warnings = log.console.filter((m) => m.type === "warn");
      assert.equal(warnings.length, warns ? 1 : 0, JSON.stringify(warnings));
      if (warns) assert.match(warnings[0].text, /damaged/);
      // Scripts hear of every block left out through the "warning" event.
      assert.equal(seen.warnings.length > 0, warns, JSON.stringify(seen.warnings));
      seen.warnings.forEach((w) => assert.match(w.message, /left out/));
      await page.close();
    });
  }
});

describe("sounds", () => {
  // Sound numbers per frame, and which frames start and stop a sound: a
  // sound carries on through following frames without one, a number
  // repeated while it plays leaves it alone, and a frame without a sound
  // after a repeated number ends it.
  const cases = [
    { name: "carried on", sounds: { 1: 1 }, starts: [1], stops: [] },
    { name: "repeated, then ended", sounds: { 1: 1, 2: 1 }, starts: [1], stops: [3] },
    { name: "replaced by another", sounds: { 1: 1, 3: 2 }, starts: [1, 3], stops: [3] },
    { name: "a missing file plays nothing and ends the one before", sounds: { 1: 1, 3: 9 }, starts: [1], stops: [3] },
  ];
  for (const { name, sounds, starts, stops } of cases) {
    test(`sound step: ${name}`, async () => {
      for (const n of [1, 2]) server.put(`/t/VXA_WAV/${n}.WAV`, fs.readFileSync(path.join(repository, `examples/sounds/${n}.WAV`)));
      const { page, log } = await openPage(browser, moviePage("sounds", countingMovie({ frames: 8, rate: 25, sounds })));
      const seen = await until(page, () => window.vxaSeen.ends.length > 0 && window.vxaSeen);
      assert.deepEqual(seen.sounds.map((s) => s.frame), starts);
      assert.deepEqual(seen.stops.map((s) => s.frame), stops);
      assert.deepEqual(log.errors, []);
      await page.close();
    });
  }

  test("a sound named on every frame starts again each time it has ended", async () => {
    server.put("/t/VXA_WAV/3.WAV", fs.readFileSync(path.join(repository, "examples/sounds/3.WAV")));
    const every = Object.fromEntries(Array.from({ length: 30 }, (_, i) => [i + 1, 3]));
    const { page } = await openPage(browser, moviePage("again", countingMovie({ frames: 30, rate: 25, sounds: every })));
    const seen = await until(page, () => window.vxaSeen.ends.length > 0 && window.vxaSeen);
    const seconds = wavSeconds(path.join(repository, "examples/sounds/3.WAV"));
    assert.ok(seen.sounds.length >= 2, JSON.stringify(seen.sounds));
    // Web Audio is told to start a little after the frame that decides it,
    // by however long the page took to get there: within a frame (40 ms) of
    // the sound's length, never on every frame.
    seen.sounds.slice(1).forEach((s, i) => assert.ok(s.at - seen.sounds[i].at >= seconds * 1000 - 40, `again after ${s.at - seen.sounds[i].at} ms`));
    await page.close();
  });
});

describe("clicks, ESC and the hold", () => {
  test("a click pauses and resumes; ESC stops; the script API does the same", async () => {
    const { page, log } = await openPage(browser, moviePage("clicks", countingMovie({ frames: 40, rate: 25, loop: true })));
    const player = await page.$("vxa-player");
    await until(page, () => document.querySelector("vxa-player").currentFrame >= 3);
    // Over the picture: the module's arrow, as the plug-in's window sets it.
    assert.match(await cursor(page), /^url\("?data:image\/png;base64,.*\) 1 17, default$/);

    const standsStill = async () => {
      const before = await page.evaluate(() => window.vxaSeen.frames.length);
      await sleep(300);
      return (await page.evaluate(() => window.vxaSeen.frames.length)) === before;
    };
    const moves = async () => {
      const before = await page.evaluate(() => window.vxaSeen.frames.length);
      await until(page, (n) => window.vxaSeen.frames.length > n + 3, before);
      return true;
    };
    await player.click();
    // The pause is the core's, told by its worker after a frame it may
    // already have sent.
    await until(page, () => document.querySelector("vxa-player").paused);
    assert.ok(await standsStill(), "the first click pauses");
    assert.equal(await page.evaluate(() => document.querySelector("vxa-player").paused), true);
    await player.click();
    assert.ok(await moves(), "the second click resumes");
    await page.keyboard.press("Escape");
    assert.ok(await standsStill(), "ESC stops");
    assert.equal(await page.evaluate(() => document.querySelector("vxa-player").paused), false);
    // After ESC the first click pauses a movie whose timer is already off,
    // and the second resumes it.
    await player.click();
    assert.ok(await standsStill());
    await player.click();
    assert.ok(await moves());
    await page.evaluate(() => document.querySelector("vxa-player").pause());
    assert.ok(await standsStill(), "pause()");
    await page.evaluate(() => document.querySelector("vxa-player").play());
    assert.ok(await moves(), "play()");
    await page.evaluate(() => document.querySelector("vxa-player").stop());
    assert.ok(await standsStill(), "stop()");
    await page.evaluate(() => document.querySelector("vxa-player").play());
    assert.ok(await moves(), "play() after stop()");

    // The loop: after frame 40 comes frame 6.
    const seen = await until(page, () => {
      const wrap = window.vxaSeen.frames.findIndex((f) => f.frame === 40);
      return wrap >= 0 && window.vxaSeen.frames.length > wrap + 2 && window.vxaSeen;
    });
    const shown = frameNumbers(seen);
    const wrap = shown.indexOf(40);
    assert.deepEqual(shown.slice(wrap, wrap + 3), [40, 6, 7]);
    assert.deepEqual(log.errors, []);
    await page.close();
  });

  test("a wait-for-click movie holds on frame 6 with the animated wait cursor until clicked", async () => {
    const { page } = await openPage(browser, moviePage("hold", countingMovie({ frames: 9, rate: 50, wait: true })));
    const player = await page.$("vxa-player");
    const box = await player.boundingBox();
    await page.mouse.move(box.x + 10, box.y + 10);
    await until(page, () => document.querySelector("vxa-player").currentFrame === 6);
    const cursors = new Set();
    for (let i = 0; i < 12; i++) {
      cursors.add(await page.evaluate(() => document.querySelector("vxa-player").shadowRoot.querySelector("canvas").style.cursor));
      await sleep(60);
    }
    assert.equal(await page.evaluate(() => document.querySelector("vxa-player").currentFrame), 6, "held");
    // The wait cursors have their hot spot at 7,23; the arrow at 1,17. The
    // arrow stays until the first change of phase, as in the plug-in.
    cursors.forEach((c) => assert.match(c, /^url\("?data:image\/png;base64,.*\) (7 23, wait|1 17, default)$/));
    const phases = [...cursors].filter((c) => c.endsWith(" 7 23, wait"));
    assert.equal(phases.length, 2, `the cursor changes phase: ${phases.length} wait images seen`);
    await page.mouse.click(box.x + 10, box.y + 10);
    const seen = await until(page, () => window.vxaSeen.ends.length > 0 && window.vxaSeen);
    assert.deepEqual(frameNumbers(seen), [1, 2, 3, 4, 5, 6, 7, 8, 9]);
    assert.match(await cursor(page), /^url\("?data:image\/png;base64,.*\) 1 17, default$/, "the arrow after the hold");
    await page.close();
  });
});
