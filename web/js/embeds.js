// Drop-in use: every <embed> or <object> that the plug-in would have played
// (type video/vxa, or a source whose name ends in .vxa) becomes a
// <vxa-player> of the same width and height, now and whenever one is added
// to the page later. An element inside data-vxa-optout (on itself, a
// container or the document) is left to the page. Replay engines turn an
// <embed> of a type they don't know into a sandboxed <iframe> of the same
// source (keeping its type attribute): such a frame is the embed still.

const VXA_TYPE = "video/vxa";

function embeddedSource(element) {
  if (element.localName === "embed" || element.localName === "iframe") return element.getAttribute("src");
  if (element.getAttribute("data")) return element.getAttribute("data");
  // Pages of the time also named the movie in a <param> of the <object>.
  for (const param of element.querySelectorAll(":scope > param")) {
    const name = (param.getAttribute("name") || "").toLowerCase();
    if (name === "src" || name === "movie" || name === "filename") return param.getAttribute("value");
  }
  return null;
}

function playsAsVxa(element) {
  if (!["embed", "object", "iframe"].includes(element.localName)) return false;
  if (element.closest("[data-vxa-optout]")) return false;
  if ((element.getAttribute("type") || "").trim().toLowerCase() === VXA_TYPE) return true;
  const source = embeddedSource(element);
  if (!source) return false;
  try {
    return new URL(source, document.baseURI).pathname.toLowerCase().endsWith(".vxa");
  } catch (error) {
    return false;
  }
}

// box: the element's box, read before any element of the batch is replaced.
function replaceEmbed(element, box = null) {
  if (!element.isConnected || !playsAsVxa(element)) return;
  // Such a frame's text is what the parser read after it (below): whole
  // only once the page is.
  if (element.localName === "iframe" && document.readyState === "loading") {
    document.addEventListener("DOMContentLoaded", () => replaceEmbed(element), { once: true });
    return;
  }
  box = box || element.getBoundingClientRect();
  const source = embeddedSource(element);
  const player = document.createElement("vxa-player");
  for (const name of ["id", "name", "class", "style", "title", "sounds", "hidden", "align",
                      "autoplay", "unmute-overlay", "context-menu"]) {
    if (element.hasAttribute(name)) player.setAttribute(name, element.getAttribute(name));
  }
  // The plug-in's window had the element's size: its attributes, or what the
  // page's styles made of it. An element that is given no size at all shows
  // as the browser's default box for embedded content, 300 x 150, which
  // says nothing about the movie: the player then takes the movie's size.
  const styled = box.width > 0 && box.height > 0 && !(box.width === 300 && box.height === 150);
  for (const side of ["width", "height"]) {
    const value = element.getAttribute(side) || (styled ? String(Math.round(box[side])) : "");
    if (value) player.setAttribute(side, value);
  }
  const label = element.getAttribute("alt") || element.getAttribute("title");
  if (label) player.setAttribute("label", label);
  if (source) player.setAttribute("src", new URL(source, document.baseURI).href);
  const swallowed = element.localName === "iframe" ? element.textContent : "";
  element.replaceWith(player);
  if (swallowed.trim()) restoreSwallowedMarkup(player, swallowed);
}

// An <embed> has no end tag, and the <iframe> a replay engine makes of it
// gets none: the parser took the rest of the page as the frame's text. It
// goes back into the page after the player, parsed as markup (its scripts,
// read as text when the page ran, are not run now).
function restoreSwallowedMarkup(player, markup) {
  const template = document.createElement("template");
  template.innerHTML = markup;
  player.after(template.content);
}

// An <object> is looked at before the <embed> inside it, so when the outer
// one is replaced the inner one goes with it. Every box is read first, so
// that a page of many embeds is laid out once, not once for each.
function replaceEmbeds(root) {
  if (root.nodeType !== Node.ELEMENT_NODE && root.nodeType !== Node.DOCUMENT_NODE) return;
  // The parser hands over an <object> before its <param>s and <embed>: one
  // that names its movie only in those becomes playable once they arrive.
  const outer = enclosingPlayableObject(root);
  if (outer) {
    replaceEmbed(outer);
    return;
  }
  const found = root.nodeType === Node.ELEMENT_NODE ? [root] : [];
  if (root.querySelectorAll) found.push(...root.querySelectorAll("object, embed, iframe"));
  const playing = found.filter(playsAsVxa);
  const boxes = playing.map((element) => element.getBoundingClientRect());
  playing.forEach((element, i) => replaceEmbed(element, boxes[i]));
}

function enclosingPlayableObject(node) {
  let found = null;
  for (let at = node.parentElement; at; at = at.parentElement) {
    if (at.localName === "object" && playsAsVxa(at)) found = at;
  }
  return found;
}

function watchForEmbeds() {
  new MutationObserver((records) => {
    for (const record of records) {
      if (record.type === "attributes") replaceEmbed(record.target);
      for (const node of record.addedNodes) replaceEmbeds(node);
    }
  }).observe(document.documentElement, {
    childList: true, subtree: true, attributes: true,
    attributeFilter: ["src", "data", "type", "data-vxa-optout"],
  });
  replaceEmbeds(document);
}
