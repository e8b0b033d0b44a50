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
