// The player's small menu on a right click (or a long press on a touch
// screen, which browsers report as the same event). With contextMenu "off"
// the browser's own menu shows instead.

const menuStyle = `
.vxa-menu { position: fixed; z-index: 2147483647; min-width: 170px; padding: 3px 0; background: #fff; color: #000;
  border: 1px solid #888; box-shadow: 2px 2px 4px rgba(0, 0, 0, 0.3); font: 12px sans-serif; }
.vxa-menu[hidden] { display: none; }
.vxa-menu button { all: unset; display: block; box-sizing: border-box; width: 100%; padding: 3px 10px;
  cursor: pointer; }
.vxa-menu button:hover, .vxa-menu button:focus-visible { background: #d0dcf0; }
.vxa-menu button:disabled { color: #999; cursor: default; background: none; }
.vxa-menu label { display: flex; gap: 6px; align-items: center; padding: 3px 10px; }
.vxa-menu input { width: 90px; }
.vxa-menu .about { padding: 3px 10px; white-space: pre-line; max-width: 260px; overflow-wrap: anywhere; }`;

// Each item: its label (now), whether it can be chosen (now), what it does.
const MENU_ITEMS = [
  { id: "play", label: (p) => (p.paused || !p.playing ? "Play" : "Pause"), enabled: (p) => Boolean(p.facts),
    run: (p) => (p.paused || !p.playing ? p.play() : p.pause()) },
  { id: "step", label: () => "Step one frame", enabled: (p) => p.paused, run: (p) => p.step() },
  { id: "restart", label: () => "Restart", enabled: (p) => Boolean(p._session), run: (p) => p.restart() },
  { id: "fullscreen", label: (p) => (document.fullscreenElement === p ? "Leave full screen" : "Full screen"),
    enabled: () => document.fullscreenEnabled,
    run: (p) => (document.fullscreenElement ? document.exitFullscreen() : p.requestFullscreen()).catch(() => {}) },
  { id: "mute", label: (p) => (p.muted ? "Sound on" : "Mute"), enabled: () => true,
    run: (p) => { p.muted = !p.muted; } },
  { id: "save", label: () => "Save this frame as PNG", enabled: (p) => Boolean(p._picture),
    run: (p) => saveFramePng(p) },
  { id: "copy", label: () => "Copy the movie's address", enabled: (p) => Boolean(movieAddress(p)),
    run: (p) => navigator.clipboard.writeText(movieAddress(p)).catch(() => {}) },
  { id: "about", label: () => "About", enabled: () => true, run: (p, menu) => showAbout(p, menu), keepOpen: true },
];

function addContextMenu(player) {
  const menu = addPart(player, menuStyle, "div", "vxa-menu", "menu");

  player.addEventListener("contextmenu", (event) => {
    if (playerSetting(player, "contextMenu") === "off") return;
    event.preventDefault();
    openMenu(player, menu, event.clientX, event.clientY);
  });
  // The menu's own clicks are not clicks into the movie.
  menu.addEventListener("pointerdown", (event) => event.stopPropagation());
  menu.addEventListener("keydown", (event) => {
    if (event.key === "Escape") menu.hidden = true;
  });
  document.addEventListener("pointerdown", (event) => {
    if (!menu.hidden && !event.composedPath().includes(menu)) menu.hidden = true;
  }, { capture: true });
}

function openMenu(player, menu, x, y) {
  menu.replaceChildren();
  for (const item of MENU_ITEMS) {
    const button = document.createElement("button");
    button.type = "button";
    button.setAttribute("role", "menuitem");
    button.dataset.item = item.id;
    button.textContent = item.label(player);
    button.disabled = !item.enabled(player);
    button.addEventListener("click", () => {
      if (!item.keepOpen) menu.hidden = true;
      item.run(player, menu);
    });
    menu.append(button);
    if (item.id === "mute") menu.append(volumeSlider(player));
  }
  menu.hidden = false;
  // Fixed, so that a small player's box does not cut it off; inside the
  // window as far as it fits.
  menu.style.left = Math.max(0, Math.min(x, innerWidth - menu.offsetWidth)) + "px";
  menu.style.top = Math.max(0, Math.min(y, innerHeight - menu.offsetHeight)) + "px";
  menu.querySelector("button:not(:disabled)")?.focus();
}

function volumeSlider(player) {
  const label = document.createElement("label");
  label.textContent = "Volume";
  const slider = document.createElement("input");
  slider.type = "range";
  slider.min = "0";
  slider.max = "100";
  slider.value = String(Math.round(player.volume * 100));
  slider.addEventListener("input", () => { player.volume = Number(slider.value) / 100; });
  label.append(slider);
  return label;
}

function showAbout(player, menu) {
  const about = document.createElement("div");
  about.className = "about";
  about.textContent = aboutText(player).join("\n");
  menu.replaceChildren(about);
}
