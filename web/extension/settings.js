// The user's switches, kept in the browser (storage.local) and nowhere else:
// on or off everywhere, and the sites where it is off. Shared by the content
// script, the background, the toolbar popup and the options page.
const VxaSettings = {
  defaults: { enabled: true, offSites: [] },

  load() {
    return chrome.storage.local.get(VxaSettings.defaults);
  },

  save(changes) {
    return chrome.storage.local.set(changes);
  },

  // A site is a host name; a page without one (a file) is "file".
  siteOf(url) {
    try {
      const parsed = new URL(url);
      return parsed.hostname.toLowerCase() || parsed.protocol.replace(":", "");
    } catch (error) {
      return "";
    }
  },

  // The sites list as the user typed it in the options: one a line, blanks
  // and repeats dropped, a pasted address taken by its host.
  parseSites(text) {
    const sites = [];
    for (const line of text.split(/\s+/)) {
      const site = line.includes("/") ? VxaSettings.siteOf(line) : line.toLowerCase();
      if (site && !sites.includes(site)) sites.push(site);
    }
    return sites;
  },

  // What the extension reads from this computer for a page of it: only the
  // files the player asks for, a movie (.vxa) or a numbered sound (N.WAV),
  // never whatever else a local page would like to see.
  readableLocalFile(url) {
    try {
      const parsed = new URL(url);
      return parsed.protocol === "file:" && /(\.vxa|\/\d+\.wav)$/i.test(parsed.pathname);
    } catch (error) {
      return false;
    }
  },

  playsOn(settings, site) {
    return settings.enabled && !settings.offSites.includes(site);
  },
};
