// The player's version: a page's own copy and the browser extension's
// compare it to decide which one plays the page, and the extension's
// manifest carries it.
const PLAYER_VERSION = "1.0.0";
