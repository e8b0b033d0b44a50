// Drop-in use: every <embed> or <object> that the plug-in would have played
// (type video/vxa, or a source whose name ends in .vxa) becomes a
// <vxa-player> of the same width and height, now and whenever one is added
// to the page later. An element inside data-vxa-optout (on itself, a
// container or the document) is left to the page. Replay engines turn an
// <embed> of a type they don't know into a sandboxed <iframe> of the same
// source (keeping its type attribute): such a frame is the embed still.

const VXA_TYPE = "video/vxa";

// Looking up any property of an <embed> or <object> makes the browser look
// for a plug-in to script it with, which lays the page out there and then
// (tens of milliseconds on a page still loading). The DOM's own functions
// called on them do not, so these elements are only read through them.
const domCall = (method) => Function.prototype.call.bind(method);
const getter = (type, name) => domCall(Object.getOwnPropertyDescriptor(type.prototype, name).get);
const attributeOf = domCall(Element.prototype.getAttribute);
const hasAttributeOf = domCall(Element.prototype.hasAttribute);
const nameOf = getter(Element, "localName");
const typeOfNode = getter(Node, "nodeType");
const parentOf = getter(Node, "parentElement");
const isInPage = getter(Node, "isConnected");
const textOf = getter(Node, "textContent");
const closestOf = domCall(Element.prototype.closest);
const queryAllOf = domCall(Element.prototype.querySelectorAll);
const boxOf = domCall(Element.prototype.getBoundingClientRect);
const replaceWithOf = domCall(Element.prototype.replaceWith);

function embeddedSource(element) {
  if (nameOf(element) === "embed" || nameOf(element) === "iframe") return attributeOf(element, "src");
  if (attributeOf(element, "data")) return attributeOf(element, "data");
  // Pages of the time also named the movie in a <param> of the <object>.
  for (const param of queryAllOf(element, ":scope > param")) {
    const name = (param.getAttribute("name") || "").toLowerCase();
    if (name === "src" || name === "movie" || name === "filename") return param.getAttribute("value");
  }
  return null;
}

function playsAsVxa(element) {
  if (typeOfNode(element) !== Node.ELEMENT_NODE || !["embed", "object", "iframe"].includes(nameOf(element))) return false;
  if (closestOf(element, "[data-vxa-optout]")) return false;
  if ((attributeOf(element, "type") || "").trim().toLowerCase() === VXA_TYPE) return true;
  const source = embeddedSource(element);
  if (!source) return false;
  try {
    return new URL(source, document.baseURI).pathname.toLowerCase().endsWith(".vxa");
  } catch (error) {
    return false;
  }
}

// The box is read (and the page laid out for it) only where no attribute
// gives the size.
function sizedByAttributes(element) {
  return Boolean(attributeOf(element, "width") && attributeOf(element, "height"));
}

// box: the element's box, read before any element of the batch is replaced.
function replaceEmbed(element, box = null) {
  if (!isInPage(element) || !playsAsVxa(element)) return;
  // Such a frame's text is what the parser read after it (below): whole
  // only once the page is.
  if (nameOf(element) === "iframe" && document.readyState === "loading") {
    document.addEventListener("DOMContentLoaded", () => replaceEmbed(element), { once: true });
    return;
  }
  if (!box && !sizedByAttributes(element)) box = boxOf(element);
  const source = embeddedSource(element);
  const player = document.createElement("vxa-player");
  for (const name of ["id", "name", "class", "style", "title", "sounds", "hidden", "align",
                      "autoplay", "unmute-overlay", "context-menu"]) {
    if (hasAttributeOf(element, name)) player.setAttribute(name, attributeOf(element, name));
  }
  // The plug-in's window had the element's size: its attributes, or what the
  // page's styles made of it. An element that is given no size at all shows
  // as the browser's default box for embedded content, 300 x 150, which
  // says nothing about the movie: the player then takes the movie's size.
  const styled = box && box.width > 0 && box.height > 0 && !(box.width === 300 && box.height === 150);
  for (const side of ["width", "height"]) {
    const value = attributeOf(element, side) || (styled ? String(Math.round(box[side])) : "");
    if (value) player.setAttribute(side, value);
  }
  const label = attributeOf(element, "alt") || attributeOf(element, "title");
  if (label) player.setAttribute("label", label);
  if (source) player.setAttribute("src", new URL(source, document.baseURI).href);
  const swallowed = nameOf(element) === "iframe" ? textOf(element) : "";
  replaceWithOf(element, player);
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
// roots: the nodes added (or the document), each looked at with all in it;
// a list, as a page being parsed may add tens of thousands in one go.
function replaceEmbeds(roots) {
  const playing = [];
  for (const root of roots) {
    const type = typeOfNode(root);
    if (type !== Node.ELEMENT_NODE && type !== Node.DOCUMENT_NODE) continue;
    // The parser hands over an <object> before its <param>s and <embed>: one
    // that names its movie only in those becomes playable once they arrive.
    const outer = enclosingPlayableObject(root);
    if (outer) {
      playing.push(outer);
      continue;
    }
    if (playsAsVxa(root)) playing.push(root);
    const inside = type === Node.DOCUMENT_NODE ? root.querySelectorAll("object, embed, iframe")
      : queryAllOf(root, "object, embed, iframe");
    for (const element of inside) if (playsAsVxa(element)) playing.push(element);
  }
  const boxes = playing.map((element) => (sizedByAttributes(element) ? null : boxOf(element)));
  playing.forEach((element, i) => waitingEmbeds.push([element, boxes[i]]));
  replaceWaitingEmbeds();
}

// Making a player takes a millisecond or two: a page of many embeds gets its
// players a slice at a time, each slice a task short enough not to hold up
// the page.
const REPLACING_SLICE_MS = 8;
const waitingEmbeds = [];  // [element, box], in the page's order
let replacingLater = false;

function replaceWaitingEmbeds() {
  if (replacingLater) return;
  const until = performance.now() + REPLACING_SLICE_MS;
  while (waitingEmbeds.length) {
    const [element, box] = waitingEmbeds.shift();
    replaceEmbed(element, box);
    if (waitingEmbeds.length && performance.now() >= until) {
      replacingLater = true;
      setTimeout(() => {
        replacingLater = false;
        replaceWaitingEmbeds();
      }, 0);
      return;
    }
  }
}

function enclosingPlayableObject(node) {
  let found = null;
  for (let at = parentOf(node); at; at = parentOf(at)) {
    if (nameOf(at) === "object" && playsAsVxa(at)) found = at;
  }
  return found;
}

function watchForEmbeds() {
  new MutationObserver((records) => {
    const added = [];
    for (const record of records) {
      if (record.type === "attributes") added.push(record.target);
      for (const node of record.addedNodes) added.push(node);
    }
    replaceEmbeds(added);
  }).observe(document.documentElement, {
    childList: true, subtree: true, attributes: true,
    attributeFilter: ["src", "data", "type", "data-vxa-optout"],
  });
  replaceEmbeds([document]);
}
