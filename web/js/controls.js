// What a person does with a player beyond clicking into it: the keys when
// it has the focus (space pauses and resumes, the right arrow steps one
// frame), a play button over the first frame when autoplay is off, and the
// context menu (context_menu.js).

const playButtonStyle = `
.vxa-play { position: absolute; left: 50%; top: 50%; width: 44px; height: 44px; margin: -22px 0 0 -22px;
  border: 0; border-radius: 50%; background: rgba(0, 0, 0, 0.55); color: #fff; cursor: pointer; padding: 0; }
.vxa-play[hidden] { display: none; }`;

function addControls(player) {
  const play = addPart(player, playButtonStyle, "button", "vxa-play");
  play.type = "button";
  play.setAttribute("aria-label", "Play");
  play.innerHTML = `<svg viewBox="0 0 16 16" width="24" height="24" aria-hidden="true" fill="currentColor">
    <path d="M5 3l8 5-8 5z"/></svg>`;
  play.addEventListener("pointerdown", (event) => event.stopPropagation());
  play.addEventListener("click", () => {
    play.hidden = true;
    player.play();
  });
  player._playButton = play;

  player.addEventListener("keydown", (event) => {
    // Keys on the menu's own buttons are theirs.
    if (event.composedPath()[0] !== player || event.altKey || event.ctrlKey || event.metaKey) return;
    if (event.key === " ") {
      if (player.paused || !player.playing) {
        play.hidden = true;
        player.play();
      } else {
        player.pause();
      }
    } else if (event.key === "ArrowRight") {
      player.step();
    } else {
      return;
    }
    event.preventDefault();
  });
  addContextMenu(player);
}

// When a player starts a movie: where its files are and how it plays, as
// the settings say now.
function startPlayer(player, session, source) {
  applyPublicPath();
  tellVersion();
  session.source = source;
  session.holdFirst = playerSetting(player, "autoplay") === "off";
  player._playButton.hidden = true;
}

function afterFrameShown(player, session) {
  if (!session) return;
  if (session.holdFirst || session.stepping) {
    const first = session.holdFirst;
    session.holdFirst = false;
    session.stepping = false;
    player.pause();
    if (first) {
      player._cue.stop();
      player._playButton.hidden = false;
    }
  }
}

function stepFrame(player) {
  const session = player._session;
  if (!session || !player.paused) return;
  session.stepping = true;
  player.play();
}

function restartMovie(player) {
  const session = player._session;
  if (session) player.load(session.source);
}

// The movie's address, or null for bytes given by a script.
function movieAddress(player) {
  return player._session ? player._session.url : null;
}

// The picture as it is now, movie-sized, as a PNG download.
function saveFramePng(player) {
  const picture = player._picture;
  if (!picture) return;
  const url = movieAddress(player);
  const name = (url ? new URL(url).pathname.split("/").pop().replace(/\.vxa$/i, "") : "animation") || "animation";
  // The picture may be a bitmap from the movie's worker: drawn to a canvas
  // of its own to be encoded.
  const canvas = document.createElement("canvas");
  canvas.width = picture.width;
  canvas.height = picture.height;
  canvas.getContext("2d").drawImage(picture, 0, 0);
  canvas.toBlob((blob) => {
    const link = document.createElement("a");
    link.href = URL.createObjectURL(blob);
    link.download = name + "-frame-" + player.currentFrame + ".png";
    link.click();
    setTimeout(() => URL.revokeObjectURL(link.href), 10000);
  }, "image/png");
}

// What About says: the player's version and the movie's header.
function aboutText(player) {
  const lines = ["Tolvane animation player " + PLAYER_VERSION];
  const facts = player.facts;
  if (facts) {
    lines.push(facts.width + " x " + facts.height + " pixels, " + facts.frameRate + " frames a second",
               facts.frames + " frames, " + facts.groups + " groups, the " + facts.layout + " layout"
               + (facts.loops ? ", loops" : "") + (facts.waitsForClick ? ", waits for a click" : ""));
  }
  const url = movieAddress(player);
  if (url) lines.push(url);
  return lines;
}
