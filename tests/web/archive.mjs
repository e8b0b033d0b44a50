// A web archive of the demo page for the replay tests: the page as it was
// captured in 1998 (without the player's script line), its movies and
// their sounds, as the responses of a WARC file written with warcio; and a
// page whose movie was never captured.
import fs from "node:fs";
import path from "node:path";
import { WARCRecord, WARCSerializer } from "warcio";
import { repository, webRoot } from "./harness.mjs";

export const capturedSite = "http://example.com/";
export const captureTime = "19981102000000";

// The captured files: address under capturedSite, bytes, type.
export function capturedFiles() {
  const page = fs.readFileSync(path.join(webRoot, "index.html"), "latin1")
    .replace(/<script src="vxa-player.js"><\/script>\n/, "");
  const files = [{ path: "index.html", body: Buffer.from(page, "latin1"), type: "text/html" }];
  // A page whose movie the crawl never reached.
  files.push({ path: "lost.html", type: "text/html",
               body: Buffer.from(`<HTML><BODY><EMBED SRC="examples/lost.vxa" WIDTH="300" HEIGHT="100"></BODY></HTML>`) });
  for (const movie of ["showcase", "narrow", "wait-for-click"]) {
    files.push({ path: `examples/${movie}.vxa`, body: fs.readFileSync(path.join(repository, `examples/${movie}.vxa`)),
                 type: "video/vxa" });
  }
  for (const sound of [1, 2, 3, 4]) {
    files.push({ path: `examples/VXA_WAV/${sound}.WAV`, type: "audio/wav",
                 body: fs.readFileSync(path.join(repository, `examples/sounds/${sound}.WAV`)) });
  }
  return files;
}

export async function demoWarc() {
  const warcVersion = "WARC/1.1";
  const date = "1998-11-02T00:00:00Z";
  const parts = [await WARCSerializer.serialize(
    await WARCRecord.createWARCInfo({ filename: "demo.warc", warcVersion }, { software: "zured16 tests" }))];
  for (const file of capturedFiles()) {
    const record = await WARCRecord.create({
      url: capturedSite + file.path, date, type: "response", warcVersion,
      httpHeaders: { "Content-Type": file.type, "Content-Length": String(file.body.length) },
    }, (async function* () { yield new Uint8Array(file.body); })());
    parts.push(await WARCSerializer.serialize(record));
  }
  return Buffer.concat(parts.map((part) => Buffer.from(part)));
}
