// The player in a page: which elements it replaces and how big it makes the
// players, the <vxa-player> element, sharp pictures on high-DPI screens,
// sound that waits for the user's first gesture, and a movie whose core
// fails stopping alone.
import assert from "node:assert/strict";
import fs from "node:fs";
import { after, before, describe, test } from "node:test";
import { canvasPixels, openPage, peek, sleep, startBrowser, startSession, endSession, until } from "./harness.mjs";
import { buildMovie, countingMovie } from "./movies.mjs";

let server;
let browser;
let movie;
before(async () => {
  ({ server, browser } = await startSession());
  movie = countingMovie({ frames: 8, rate: 50 });  // 40 x 48 pixels
  for (const name of ["m.vxa", "M.VXA", "movie.bin", "other.vxa"]) server.put(`/p/${name}`, movie);
  server.put("/p/clip.swf", Buffer.from("not a movie"));
});
after(() => endSession({ server, browser }));

function page(name, head, body) {
  server.put(`/p/${name}.html`, `<!DOCTYPE html><html><head>${head}</head><body>${body}</body></html>`);
  return `${server.base}/p/${name}.html`;
}
const script = `<script src="/vxa-player.js"></script>`;

describe("drop-in use", () => {
  // Each page: its markup, and the players it should end up with (src file
  // name and CSS size) while any other element stays as it was.
  const pages = [
    { name: "typed embed, script in the head", head: script,
      body: `<embed src="movie.bin" type="video/vxa" width="100" height="60">`,
      players: [["movie.bin", 100, 60]] },
    { name: "embed by file name, script at the end", head: "",
      body: `<p><embed src="M.VXA?version=2" width=120 height=50></p>${script}`,
      players: [["M.VXA", 120, 50]] },
    { name: "object with data", head: script,
      body: `<object data="m.vxa" type="video/vxa" width="90" height="70"></object>`,
      players: [["m.vxa", 90, 70]] },
    { name: "object with a param and an embed inside", head: script,
      body: `<object classid="clsid:00000000-0000-0000-0000-000000000000" width="64" height="64">
             <param name="src" value="m.vxa"><embed src="m.vxa" width="64" height="64"></object>`,
      players: [["m.vxa", 64, 64]] },
    { name: "embed sized by the page's style", head: `${script}<style>embed { width: 200px; height: 80px }</style>`,
      body: `<embed src="m.vxa">`, players: [["m.vxa", 200, 80]] },
    { name: "embed without a size takes the movie's", head: script,
      body: `<embed src="other.vxa">`, players: [["other.vxa", 40, 48]] },
    { name: "other plug-ins are left alone", head: script,
      body: `<embed src="clip.swf" width="50" height="50"><object data="clip.swf"></object><embed src="m.vxa" width="40" height="48">`,
      players: [["m.vxa", 40, 48]], others: 2 },
    { name: "vxa-player element", head: script,
      body: `<vxa-player src="m.vxa" width="77" height="55" label="A counting movie"></vxa-player>`,
      players: [["m.vxa", 77, 55]], label: "A counting movie" },
  ];
  for (const expected of pages) {
    test(expected.name, async () => {
      const { page: tab, log } = await openPage(browser, page("dropin", expected.head, expected.body));
      await until(tab, (n) => window.vxaSeen.frames.length >= n, expected.players.length);
      const players = await tab.$$eval("vxa-player", (all) => all.map((p) => {
        const box = p.getBoundingClientRect();
        return [new URL(p.getAttribute("src"), document.baseURI).pathname.split("/").pop(),
                Math.round(box.width), Math.round(box.height),
                p.shadowRoot.querySelector("canvas").getAttribute("aria-label")];
      }));
      assert.deepEqual(players.map((p) => p.slice(0, 3)), expected.players);
      if (expected.label) assert.equal(players[0][3], expected.label);
      assert.equal(await tab.$$eval("embed, object", (e) => e.length), expected.others || 0);
      assert.deepEqual(log.errors, []);
      await tab.close();
    });
  }

  test("embeds that a script adds later are replaced too", async () => {
    const { page: tab, log } = await openPage(browser, page("later", script, ""));
    await tab.evaluate(() => {
      const embed = document.createElement("embed");
      embed.width = 40;
      embed.height = 48;
      document.body.appendChild(embed);
      embed.src = "m.vxa";  // only once it is in the page
      document.body.insertAdjacentHTML("beforeend", `<div><object data="other.vxa" width="40" height="48"></object></div>`);
      // As the parser builds it: the object first, what names its movie after.
      const object = document.createElement("object");
      object.width = object.height = 40;
      document.body.appendChild(object);
      setTimeout(() => object.insertAdjacentHTML("beforeend", `<param name="movie" value="m.vxa">`), 50);
      setTimeout(() => object.insertAdjacentHTML("beforeend", `<embed src="m.vxa" width="40" height="40">`), 100);
      // An embed among a great many nodes added at once.
      const many = document.createDocumentFragment();
      for (let i = 0; i < 200000; i++) many.append(document.createElement("br"));
      many.append(Object.assign(document.createElement("embed"), { src: "m.vxa", width: 40, height: 48 }));
      document.body.append(many);
    });
    await until(tab, () => window.vxaSeen.frames.filter((f) => f.frame === 1).length === 4);
    assert.equal(await tab.$$eval("vxa-player", (p) => p.length), 4);
    assert.equal(await tab.$$eval("embed, object", (e) => e.length), 0);
    assert.deepEqual(log.errors, []);
    await tab.close();
  });

  test("a player moved within the page plays on; one taken out of it stops", async () => {
    server.put("/p/long.vxa", countingMovie({ frames: 30, rate: 25, loop: true }));
    const { page: tab, log } = await openPage(browser, page("moves", script,
      `<div id="a"><embed src="long.vxa"></div><div id="b"></div><embed src="long.vxa">`));
    await until(tab, () => window.vxaSeen.frames.filter((f) => f.player === 1).length > 2);
    await tab.evaluate(() => {
      window.moved = document.querySelectorAll("vxa-player")[0];
      window.removed = document.querySelectorAll("vxa-player")[1];
      document.querySelector("#b").appendChild(window.moved);
      window.removed.remove();
      window.framesOf = (player) => { let n = 0; player.addEventListener("frame", () => n++); return () => n; };
      window.movedFrames = framesOf(window.moved);
      window.removedFrames = framesOf(window.removed);
    });
    await sleep(400);
    const [moved, removed, playing] = await tab.evaluate(() => [movedFrames(), removedFrames(), removed.playing]);
    assert.ok(moved >= 5, `the moved player showed ${moved} frames`);
    assert.deepEqual([removed, playing], [0, false]);
    assert.deepEqual(log.errors, []);
    await tab.close();
  });

  test("load() takes bytes, and events tell of frames and the end", async () => {
    const { page: tab } = await openPage(browser, page("api", script, `<vxa-player></vxa-player>`));
    const events = await tab.evaluate(async (bytes) => {
      const player = document.querySelector("vxa-player");
      const seen = [];
      player.addEventListener("frame", (e) => seen.push(e.detail.frame));
      const ended = new Promise((resolve) => player.addEventListener("end", resolve));
      await player.load(new Uint8Array(bytes));
      await ended;
      return seen;
    }, [...movie]);
    assert.deepEqual(events, [1, 2, 3, 4, 5, 6, 7, 8]);
    await tab.close();
  });
});

describe("sound folders", () => {
  test("sounds come from the sounds attribute, else from VXA_WAV/ beside the movie", async () => {
    // Both movies name sound 1; the two folders hold files of different lengths.
    const sounds = new URL("../../examples/sounds/", import.meta.url);
    const sounding = countingMovie({ frames: 8, rate: 25, sounds: { 2: 1 } });
    server.put("/p/s/a.vxa", sounding);
    server.put("/p/s/b.vxa", sounding);
    server.put("/p/noises/1.WAV", fs.readFileSync(new URL("2.WAV", sounds)));
    server.put("/p/s/VXA_WAV/1.WAV", fs.readFileSync(new URL("1.WAV", sounds)));
    const { page: tab, log } = await openPage(browser, page("folders", script,
      `<vxa-player src="s/a.vxa" sounds="noises"></vxa-player><embed src="s/b.vxa">`));
    const started = await until(tab, () => window.vxaSeen.sounds.length >= 2 && window.vxaSeen.sounds);
    assert.deepEqual(started.map((s) => Math.round(s.seconds * 10)).sort((a, b) => a - b), [6, 12]);
    assert.ok(server.requests.includes("/p/noises/1.WAV") && server.requests.includes("/p/s/VXA_WAV/1.WAV"));
    assert.ok(!server.requests.includes("/p/s/noises/1.WAV") && !server.requests.includes("/p/noises/VXA_WAV/1.WAV"));
    assert.deepEqual(log.errors, []);
    await tab.close();
  });
});

describe("pictures on high-DPI screens", () => {
  test("each movie pixel becomes a sharp block of device pixels", async () => {
    const body = `<embed src="m.vxa" width="40" height="48">`;
    const { page: plain } = await openPage(browser, page("dpi", script, body));
    await until(plain, () => window.vxaSeen.ends.length > 0);
    const reference = await canvasPixels(plain);
    await plain.close();
    const colours = new Set();
    for (let i = 0; i < reference.rgba.length; i += 4) colours.add(reference.rgba.slice(i, i + 4).join());

    for (const scale of [2, 1.5]) {
      const { page: tab } = await openPage(browser, page("dpi", script, body), { scale });
      await until(tab, () => window.vxaSeen.ends.length > 0);
      const scaled = await canvasPixels(tab);
      assert.equal(scaled.width, Math.round(40 * scale));
      assert.equal(scaled.height, Math.round(48 * scale));
      for (let y = 0; y < scaled.height; y++) {
        for (let x = 0; x < scaled.width; x++) {
          const at = (y * scaled.width + x) * 4;
          const pixel = scaled.rgba.slice(at, at + 4).join();
          // No blended colour anywhere: every device pixel is one of the picture's.
          assert.ok(colours.has(pixel), `scale ${scale}: ${pixel} at ${x},${y} is no colour of the movie`);
          if (scale === 2) {
            const source = (Math.floor(y / 2) * reference.width + Math.floor(x / 2)) * 4;
            assert.equal(pixel, reference.rgba.slice(source, source + 4).join(), `${x},${y}`);
          }
        }
      }
      await tab.close();
    }
  });
});

describe("sound before the first gesture", () => {
  test("cues stay silent with a small badge until the user clicks the page, then sound plays", async () => {
    const strict = await startBrowser({ soundNeedsGesture: true });
    try {
      server.put("/p/VXA_WAV/1.WAV", fs.readFileSync(new URL("../../examples/sounds/1.WAV", import.meta.url)));
      server.put("/p/sounding.vxa", countingMovie({ frames: 60, rate: 25, loop: true, sounds: { 1: 1, 40: 1 } }));
      // Making the page's audio output holds the page up: not before frame 1 is painted.
      const whenAudioIsMade = () => {
        const made = window.AudioContext;
        window.AudioContext = class extends made {
          constructor(...options) { super(...options); window.audioMadeAt ??= performance.now(); }
        };
        document.addEventListener("frame", (event) => {
          if (event.detail.frame === 1) requestAnimationFrame(() => { window.frame1PaintedAt ??= performance.now(); });
        }, { capture: true });
      };
      const { page: tab, log } = await openPage(strict, page("gesture", script,
        `<p id="text">Text to click</p><embed src="sounding.vxa" width="248" height="48">`), { prepare: whenAudioIsMade });
      // Watched without puppeteer's evaluate, whose calls count as gestures.
      const state = () => peek(tab, `({ badge: !document.querySelector("vxa-player").shadowRoot.querySelector("button").hidden,
                                         sounds: window.vxaSeen.sounds.length, frame: document.querySelector("vxa-player").currentFrame })`);
      const waitFor = async (test) => {
        for (let i = 0; i < 150; i++, await sleep(100)) {
          const now = await state();
          if (test(now)) return now;
        }
        throw new Error(`timed out: ${JSON.stringify(await state())}`);
      };
      const muted = await waitFor((s) => s.frame > 20);
      assert.deepEqual([muted.badge, muted.sounds], [true, 0], "muted until a gesture");
      const made = await peek(tab, `[window.frame1PaintedAt, window.audioMadeAt]`);
      assert.ok(made[0] < made[1], `audio output made at ${made[1]} ms, frame 1 painted at ${made[0]} ms`);
      await tab.click("#text");
      const heard = await waitFor((s) => s.sounds > 0);
      assert.equal(heard.badge, false);
      assert.equal(await tab.evaluate(() => document.querySelector("vxa-player").paused), false, "the click was not the movie's");
      assert.deepEqual(log.errors, []);
      await tab.close();
    } finally {
      await strict.close();
    }
  });
});

// The largest picture a movie may have, one red square in it.
function largestPicture() {
  return buildMovie({
    header: { width: 4096, height: 4096, frameRate: 10, groupCount: 1, frameCount: 1, loop: false,
              waitForClick: false, background: 1 },
    blocks: [{ frame: { number: 1, sound: 0, items: [{ group: 1, x: 4000, y: 4000 }] },
               groups: [{ id: 1, width: 32, height: 32,
                          objects: [{ kind: "rect", right: 31, bottom: 31, fillColor1: 35, fillColor2: 35,
                                      lineColor1: 35, lineColor2: 35, fillPattern: 12, lineWidth: 0 }] }] }],
  });
}

describe("a failing movie", () => {
  test("a movie whose core traps stops with a message; the others play on, the largest picture too", async () => {
    server.put("/f/good.vxa", countingMovie({ frames: 20, rate: 50, loop: true }));
    server.put("/f/victim.vxa", countingMovie({ frames: 20, rate: 50, loop: true }));
    server.put("/f/large.vxa", largestPicture());
    // The victim's core is the second instance the page makes: once told to,
    // every call into it traps, as a core that ran out of memory does. The
    // page has no OffscreenCanvas, so the cores run on it, where this reaches.
    server.put("/f/page.html", `<!DOCTYPE html><script>
      delete window.OffscreenCanvas;
      const instantiate = WebAssembly.instantiate;
      let made = 0;
      WebAssembly.instantiate = async (...args) => {
        const instance = await instantiate(...args);
        if (++made !== 2) return instance;
        const exports = {};
        for (const [name, value] of Object.entries(instance.exports)) {
          exports[name] = typeof value !== "function" ? value : (...a) => {
            if (window.trap) throw new WebAssembly.RuntimeError("unreachable");
            return value(...a);
          };
        }
        return { exports };
      };
    </script><script src="/vxa-player.js"></script>
    <embed src="good.vxa"><br><embed src="victim.vxa" width="160" height="48"><br><embed src="large.vxa" width="64" height="64">`);
    const { page, log } = await openPage(browser, `${server.base}/f/page.html`);
    const frames = () => page.evaluate(() => [...document.querySelectorAll("vxa-player")].map((p) => p.currentFrame));
    await until(page, () => [...document.querySelectorAll("vxa-player")].every((p) => p.currentFrame >= 1));
    await until(page, () => document.querySelectorAll("vxa-player")[1].currentFrame >= 3);
    await page.evaluate(() => { window.trap = true; });
    const warning = await until(page, () => window.vxaSeen.warnings.find((w) => w.player === 1));
    assert.match(warning.message, /victim\.vxa stopped: its playback failed \(unreachable\)/);
    const before = await frames();
    await new Promise((resolve) => setTimeout(resolve, 1000));
    const later = await frames();
    assert.equal(later[1], 0, "the failed movie shows no frame");
    assert.ok(later[0] !== before[0], "the good movie plays on");
    assert.equal(await page.evaluate(() => document.querySelectorAll("vxa-player")[1].playing), false);
    const box = await canvasPixels(page, 1);
    assert.deepEqual(box.rgba.slice(0, 3), [0xc0, 0xc0, 0xc0], "the failed movie's box is grey with its message");
    assert.equal(later[2], 1, "the 4096 x 4096 picture shows its frame");
    assert.deepEqual(await page.evaluate(() => window.vxaSeen.warnings.map((w) => w.player)), [1]);
    assert.deepEqual(log.errors, []);
    await page.close();
  });
});
