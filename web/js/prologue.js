// vxa-player.js: plays Tolvane animations (.vxa) in a page, as the zured16
// plug-in played them. Everything it decides about playback comes from the
// C++ core compiled to WebAssembly; this script only connects that core to the
// page: the stream, the canvas, the mouse and keyboard, and the sound output.
//
// The whole file is one function scope, so that a page gets only the names it
// is meant to use: the <vxa-player> element and window.Vxa.
(function () {
"use strict";
// Captured while the script runs: the core (.wasm) and the fonts are found
// beside this script, wherever the page itself is. The browser extension
// runs this script without a script element: just before, it leaves what it
// gives this copy in vxaStartedByExtension (a fetch that also reads local
// files), and it says where its files are when it starts the copy.
const extensionGifts = globalThis.vxaStartedByExtension || null;
const startedByExtension = extensionGifts !== null;
Reflect.deleteProperty(globalThis, "vxaStartedByExtension");
// In a movie's worker (the same script) there is no document: the worker
// is handed everything it needs.
let scriptUrl = typeof document === "undefined" ? self.location.href
  : (document.currentScript && document.currentScript.src) || document.baseURI;

// Every file the player reads (its core, movies, sounds, fonts) comes
// through the page's own fetch, looked up at each call, so that an archive's
// rewriting of addresses applies, after the page's own urlRewrite rules.
const pageFetch = (extensionGifts && extensionGifts.fetch) || ((url, options) => fetch(url, options));
const fetchResource = (url, options) => pageFetch(rewrittenUrl(url), options);
