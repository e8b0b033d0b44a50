// The extension's background: sends a direct .vxa address to the player
// page, and keeps each tab's count of movies for the toolbar button.
if (typeof VxaSettings === "undefined") importScripts("settings.js");

const DIRECT_RULE = 1;

// A top-level or frame navigation to an address ending in .vxa (any case),
// whatever type the server gives it, opens the extension's player page with
// the address after its "#". Off where the extension is off.
async function updateDirectRule() {
  const settings = await VxaSettings.load();
  const rule = {
    id: DIRECT_RULE,
    priority: 1,
    action: { type: "redirect", redirect: { regexSubstitution: chrome.runtime.getURL("player.html") + "#\\0" } },
    condition: {
      regexFilter: "^https?://[^?#]*\\.[vV][xX][aA]([?#].*)?$",
      isUrlFilterCaseSensitive: false,
      resourceTypes: ["main_frame", "sub_frame"],
    },
  };
  const sites = settings.offSites.filter((site) => site !== "file");
  if (sites.length) rule.condition.excludedRequestDomains = sites;
  await chrome.declarativeNetRequest.updateDynamicRules({
    removeRuleIds: [DIRECT_RULE],
    addRules: settings.enabled ? [rule] : [],
  });
}

chrome.runtime.onInstalled.addListener(updateDirectRule);
chrome.runtime.onStartup.addListener(updateDirectRule);
chrome.storage.onChanged.addListener((changes, area) => {
  if (area === "local") updateDirectRule();
});

// Movies per frame of each tab, kept in session storage, which outlives a
// sleeping background but not the browser.
async function countMovies(tabId, frameId, count, fresh) {
  const key = "tab" + tabId;
  const stored = (await chrome.storage.session.get(key))[key] || {};
  const frames = fresh && frameId === 0 ? {} : stored;
  frames[frameId] = count;
  await chrome.storage.session.set({ [key]: frames });
  const total = Object.values(frames).reduce((sum, n) => sum + n, 0);
  await chrome.action.setBadgeText({ tabId, text: total ? String(total) : "" });
  return total;
}

async function moviesIn(tabId) {
  const key = "tab" + tabId;
  const frames = (await chrome.storage.session.get(key))[key] || {};
  return Object.values(frames).reduce((sum, n) => sum + n, 0);
}

// One count at a time: frames report together, and each count reads and
// writes the tab's whole record.
let counting = Promise.resolve();

// A movie or a sound for a page on this computer, as text (messages carry
// no bytes). Only for a local page, and only the files the player reads.
async function readLocalFile(url, sender) {
  if (!sender.url || !sender.url.startsWith("file:") || !VxaSettings.readableLocalFile(url)) {
    return { error: "not a movie or a sound" };
  }
  try {
    const response = await fetch(url);
    const bytes = new Uint8Array(await response.arrayBuffer());
    let text = "";
    for (let i = 0; i < bytes.length; i += 0x8000) text += String.fromCharCode(...bytes.subarray(i, i + 0x8000));
    return { base64: btoa(text) };
  } catch (error) {
    return { error: error.message };
  }
}

chrome.runtime.onMessage.addListener((message, sender, reply) => {
  if (message.type === "read-local") {
    readLocalFile(message.url, sender).then(reply);
    return true;
  }
  if (message.type === "movies" && sender.tab) {
    counting = counting.then(() => countMovies(sender.tab.id, sender.frameId, message.count, message.fresh))
      .then(reply, () => reply(null));
    return true;
  }
  if (message.type === "movies-in") {
    moviesIn(message.tabId).then(reply);
    return true;
  }
  return false;
});

chrome.tabs.onRemoved.addListener((tabId) => chrome.storage.session.remove("tab" + tabId));
