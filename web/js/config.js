// The player's settings: window.Vxa.config for the page, and attributes of
// an element for that player alone (its own attribute wins). They are read
// when a player starts, not when this script runs, because an archive's
// head insert sets them after the script tag.
//
//   autoplay       "auto" | "on" | "off"        attribute autoplay
//   unmuteOverlay  "visible" | "hidden"          attribute unmute-overlay
//   contextMenu    "on" | "off"                  attribute context-menu
//   sounds         folder of sound n.WAV, against the movie ("VXA_WAV/")
//   publicPath     folder of vxa-player.wasm and fonts/ (page-wide)
//   urlRewrite     { fromPrefix: toPrefix, ... } for every fetch (page-wide)
//   logLevel       "off" | "error" | "warn" | "info" (page-wide)

const SETTINGS = {
  autoplay: { attribute: "autoplay", values: ["auto", "on", "off"] },
  unmuteOverlay: { attribute: "unmute-overlay", values: ["visible", "hidden"] },
  contextMenu: { attribute: "context-menu", values: ["on", "off"] },
};
const LOG_LEVELS = ["off", "error", "warn", "info"];
const DEFAULT_SOUND_FOLDER = "VXA_WAV/";

// The folder this copy of the script came from, before any publicPath.
const scriptFolder = scriptUrl;

function pageConfig() {
  // (A movie's worker has no page and no settings.)
  const holder = typeof window === "undefined" ? null : window.Vxa;
  const config = holder && holder.config;
  return config && typeof config === "object" ? config : {};
}

// One setting for one player: its attribute, else the page's, else the
// first value. A value that is not one of the setting's is ignored.
function playerSetting(element, name) {
  const setting = SETTINGS[name];
  for (const value of [element.getAttribute(setting.attribute), pageConfig()[name]]) {
    const text = value === true ? "on" : value === false ? "off" : String(value ?? "").toLowerCase();
    if (setting.values.includes(text)) return text;
  }
  return setting.values[0];
}

// The page's sound folder rule: a folder resolved against the movie.
function defaultSoundFolder(movieUrl) {
  const folder = String(pageConfig().sounds || DEFAULT_SOUND_FOLDER);
  return new URL(folder.endsWith("/") ? folder : folder + "/", movieUrl).href;
}

// Where the player's own files are found. The extension's copy keeps its
// own files whatever the page says.
function applyPublicPath() {
  if (startedByExtension) return;
  const path = pageConfig().publicPath;
  scriptUrl = path ? new URL(String(path).replace(/\/?$/, "/"), document.baseURI).href : scriptFolder;
}

// The page's rewriting rules, the longest matching prefix first.
function rewrittenUrl(url) {
  const text = String(url);
  const rules = pageConfig().urlRewrite;
  if (!rules || typeof rules !== "object") return text;
  let best = "";
  for (const from of Object.keys(rules)) {
    if (text.startsWith(from) && from.length > best.length) best = from;
  }
  return best ? String(rules[best]) + text.slice(best.length) : text;
}

function logLine(level, text) {
  const wanted = LOG_LEVELS.indexOf(String(pageConfig().logLevel || "info"));
  if (LOG_LEVELS.indexOf(level) > (wanted < 0 ? LOG_LEVELS.indexOf("info") : wanted)) return;
  const write = level === "error" ? console.error : level === "warn" ? console.warn : console.info;
  write("vxa-player: " + text);
}

// The first line on the console when the page's first player starts.
let versionTold = false;
function tellVersion() {
  if (versionTold) return;
  versionTold = true;
  logLine("info", "Tolvane animation player " + PLAYER_VERSION + (startedByExtension ? " (browser extension)" : ""));
}
