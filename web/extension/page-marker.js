// Runs in the page's world just before the extension's copy of
// vxa-player.js, which reads and removes it: that copy has no script element
// to find its files by, and waits for the extension to say where they are.
globalThis.vxaStartedByExtension = true;
