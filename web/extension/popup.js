// The toolbar popup: how many movies the tab holds, and the two switches.
// The page plays by the switches as they were when it loaded.
async function showPopup() {
  const [tab] = await chrome.tabs.query({ active: true, currentWindow: true });
  const site = tab && tab.url ? VxaSettings.siteOf(tab.url) : "";
  const settings = await VxaSettings.load();
  const everywhere = document.getElementById("everywhere");
  const here = document.getElementById("site");
  const note = document.getElementById("note");

  const count = tab ? await chrome.runtime.sendMessage({ type: "movies-in", tabId: tab.id }) : 0;
  document.getElementById("movies").textContent =
    count === 1 ? "1 movie on this page" : (count || "No") + " movies on this page";
  document.getElementById("site-name").textContent = site || "this site";
  everywhere.checked = settings.enabled;
  here.checked = !settings.offSites.includes(site);
  here.disabled = !site;

  everywhere.addEventListener("change", async () => {
    await VxaSettings.save({ enabled: everywhere.checked });
    note.hidden = false;
  });
  here.addEventListener("change", async () => {
    const { offSites } = await VxaSettings.load();
    const others = offSites.filter((s) => s !== site);
    await VxaSettings.save({ offSites: here.checked ? others : [...others, site] });
    note.hidden = false;
  });
}

showPopup();
