// The options page: the global switch and the list of sites switched off.
async function showOptions() {
  const settings = await VxaSettings.load();
  const everywhere = document.getElementById("everywhere");
  const sites = document.getElementById("sites");
  const saved = document.getElementById("saved");
  everywhere.checked = settings.enabled;
  sites.value = settings.offSites.join("\n");
  document.getElementById("save").addEventListener("click", async () => {
    const offSites = VxaSettings.parseSites(sites.value);
    await VxaSettings.save({ enabled: everywhere.checked, offSites });
    sites.value = offSites.join("\n");
    saved.hidden = false;
  });
  for (const input of [everywhere, sites]) input.addEventListener("input", () => { saved.hidden = true; });
}

showOptions();
