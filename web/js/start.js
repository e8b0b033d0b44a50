// Who plays the page. A page can hold two copies of this script: its own
// vxa-player.js and the browser extension's. The one in charge is
// window.Vxa; the newer version wins, the first one on a tie. A copy can
// hand the page over only until it has begun (a custom element is defined
// once for good), so the extension's copy claims the page at once but
// begins only when the page's head and body have been read.

function newerVersion(a, b) {
  const x = String(a).split(".").map(Number);
  const y = String(b).split(".").map(Number);
  for (let i = 0; i < Math.max(x.length, y.length); i++) {
    const difference = (x[i] || 0) - (y[i] || 0);
    if (difference) return difference > 0;
  }
  return false;
}

let begun = false;
let handedOver = false;
const standingBy = [];  // copies that stood down for this one, to ask again if it gives up

const api = {
  version: PLAYER_VERSION,
  // The page's settings (config.js), read whenever a player starts.
  config: {},
  // Resolves once the core is loaded and ready to play.
  ready: () => compileCore().then(() => undefined),
  replaceEmbeds: (root) => {
    if (begun) replaceEmbeds([root || document]);
  },
  Player: VxaPlayerElement,
  // A newer copy takes over: the copies standing by go with it.
  release() {
    if (begun) return null;
    handedOver = true;
    return standingBy.splice(0);
  },
  standBy(retry) {
    standingBy.push(retry);
  },
};

function claimPage(start) {
  const other = window.Vxa;
  // A page may set window.Vxa = { config } before the script: the settings
  // stay, in whichever copy plays the page.
  if (other && other !== api && other.config && typeof other.config === "object") api.config = other.config;
  if (other && other !== api && other.version !== undefined) {
    if (!newerVersion(PLAYER_VERSION, other.version || "0")) {
      if (typeof other.standBy === "function") other.standBy(() => claimPage(start));
      return;
    }
    const followers = typeof other.release === "function" ? other.release() : null;
    if (!followers) return;  // it is playing the page already
    standingBy.push(...followers);
  }
  window.Vxa = api;
  start();
}

function begin() {
  if (handedOver || begun) return;
  begun = true;
  // A page that has the script is likely to play: its first core gets ready
  // while the page and its movies load. The extension's copy, on every page,
  // waits for a player.
  if (!startedByExtension) prepareCores();
  if (!customElements.get("vxa-player")) customElements.define("vxa-player", VxaPlayerElement);
  watchForEmbeds();
}

// The extension switched off for this page: a copy that stood by plays it.
function giveUpPage() {
  handedOver = true;
  if (window.Vxa === api) delete window.Vxa;
  for (const retry of standingBy.splice(0)) retry();
}

// The extension's go: where its files are, or "" when it is off here.
function awaitExtension() {
  document.addEventListener("vxa-extension-start", (event) => {
    const base = typeof event.detail === "string" ? event.detail : "";
    if (!base) return giveUpPage();
    scriptUrl = base;
    if (document.readyState === "loading") document.addEventListener("DOMContentLoaded", begin, { once: true });
    else begin();
  }, { once: true });
}

claimPage(startedByExtension ? awaitExtension : begin);
