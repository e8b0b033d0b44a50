// A player that cannot play shows why in its own box: one line of reason
// and the movie's address, over the grey box, readable by assistive
// technology as an alert.

const errorScreenStyle = `
.vxa-error { position: absolute; inset: 0; padding: 4px; background: #c0c0c0; color: #000;
  font: 11px/14px sans-serif; overflow: hidden; overflow-wrap: anywhere; }
.vxa-error p { margin: 0 0 4px; }
.vxa-error .address { font-family: monospace; }
.vxa-error[hidden] { display: none; }`;

// A part of the player's box over its canvas, hidden, with its style.
function addPart(player, css, tag, className, role) {
  const style = document.createElement("style");
  style.textContent = css;
  const part = document.createElement(tag);
  part.className = className;
  if (role) part.setAttribute("role", role);
  part.hidden = true;
  player.shadowRoot.append(style, part);
  return part;
}

function errorScreen(player) {
  let screen = player.shadowRoot.querySelector(".vxa-error");
  if (!screen) {
    screen = addPart(player, errorScreenStyle, "div", "vxa-error", "alert");
    screen.innerHTML = `<p class="reason"></p><p class="address"></p>`;
  }
  return screen;
}

function showErrorScreen(player, cause, reason, address) {
  const screen = errorScreen(player);
  screen.dataset.cause = cause;
  screen.querySelector(".reason").textContent = reason.charAt(0).toUpperCase() + reason.slice(1) + ".";
  screen.querySelector(".address").textContent = address;
  screen.hidden = false;
}

function hideErrorScreen(player) {
  const screen = player.shadowRoot.querySelector(".vxa-error");
  if (screen) screen.hidden = true;
}
