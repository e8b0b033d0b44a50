// Runs in the page's world just before the extension's copy of
// vxa-player.js, which takes what this leaves in vxaStartedByExtension and
// removes it: that copy has no script element to find its files by, and
// waits for the extension to say where they are.
//
// A page's own fetch cannot read files on this computer, so the copy's
// fetch asks the extension for those (a movie, a numbered sound) and takes
// everything else to the page's fetch.
(() => {
  const waiting = new Map();
  let last = 0;

  // The bytes come back from the extension's world as a message.
  window.addEventListener("message", (event) => {
    const answer = event.source === window && event.data && event.data.vxaLocalFile;
    const request = answer && waiting.get(answer.id);
    if (!request) return;
    waiting.delete(answer.id);
    if (answer.bytes) request.resolve(new Response(answer.bytes));
    else request.reject(new TypeError(answer.error || "the file could not be read"));
  });

  function readLocalFile(url) {
    return new Promise((resolve, reject) => {
      const id = ++last;
      waiting.set(id, { resolve, reject });
      document.dispatchEvent(new CustomEvent("vxa-extension-read", { detail: JSON.stringify({ id, url }) }));
    });
  }

  globalThis.vxaStartedByExtension = {
    fetch(url, options) {
      return String(url).startsWith("file:") ? readLocalFile(String(url)) : fetch(url, options);
    },
  };
})();
