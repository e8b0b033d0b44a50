// In every frame, in the extension's own world: tells the extension's copy
// of the player (in the page's world) whether it plays here and where its
// files are, and tells the toolbar button how many movies the frame holds.

// The site the user sees in the address bar, where the browser tells it to a
// frame; otherwise the frame's own.
function pageSite() {
  const ancestors = location.ancestorOrigins;
  const top = ancestors && ancestors.length ? ancestors[ancestors.length - 1] : location.href;
  return VxaSettings.siteOf(top);
}

VxaSettings.load().then((settings) => {
  const base = VxaSettings.playsOn(settings, pageSite()) ? chrome.runtime.getURL("") : "";
  document.dispatchEvent(new CustomEvent("vxa-extension-start", { detail: base }));
});

// A file on this computer that the player in a local page asks for: read by
// the background, which may, and handed back to the page's world.
document.addEventListener("vxa-extension-read", (event) => {
  let request;
  try {
    request = JSON.parse(event.detail);
  } catch (error) {
    return;
  }
  const answer = (fields) => window.postMessage({ vxaLocalFile: { id: request.id, ...fields } }, "*");
  chrome.runtime.sendMessage({ type: "read-local", url: String(request.url) }).then((reply) => {
    if (!reply || !reply.base64) return answer({ error: (reply && reply.error) || "not read" });
    const text = atob(reply.base64);
    const bytes = new Uint8Array(text.length);
    for (let i = 0; i < text.length; i++) bytes[i] = text.charCodeAt(i);
    answer({ bytes: bytes.buffer });
  }, (error) => answer({ error: error.message }));
});

// Players in the frame, the page's own copy's included.
let reported = -1;
function report() {
  const count = document.querySelectorAll("vxa-player").length;
  if (count === reported) return;
  const fresh = reported < 0;
  reported = count;
  // A frame without movies has nothing to add; the top one starts the count.
  if (fresh && count === 0 && window.top !== window) return;
  chrome.runtime.sendMessage({ type: "movies", count, fresh }).catch(() => {});
}

let pending = 0;
new MutationObserver(() => {
  if (!pending) pending = setTimeout(() => { pending = 0; report(); }, 200);
}).observe(document, { childList: true, subtree: true });
document.addEventListener("DOMContentLoaded", report, { once: true });
