// The player page: a .vxa address opened directly (the address follows the
// "#"), with its sounds from VXA_WAV/ beside it, or a file dropped here or
// chosen, which plays without sounds. Below it, what the header says.
const player = document.getElementById("player");
const facts = document.getElementById("facts");

function showFacts() {
  const about = player.facts;
  facts.replaceChildren();
  if (!about) return;
  const rows = [
    ["Size", about.width + " x " + about.height + " pixels"],
    ["Rate", about.frameRate + " frames a second"],
    ["Frames", String(about.frames)],
    ["Layout", about.layout],
    ["Loops", about.loops ? "from frame 6" : "no"],
    ["Waits for a click", about.waitsForClick ? "on frame 6" : "no"],
  ];
  for (const [name, value] of rows) {
    const term = document.createElement("dt");
    term.textContent = name;
    const detail = document.createElement("dd");
    detail.textContent = value;
    facts.append(term, detail);
  }
}

function named(name) {
  document.getElementById("title").textContent = name;
  document.title = name + " (Tolvane animation)";
}

player.addEventListener("frame", () => {
  if (!facts.firstChild) showFacts();
});

function play(source, name) {
  facts.replaceChildren();
  named(name);
  player.load(source);
}

const address = location.hash.slice(1);
if (/^https?:/i.test(address)) {
  play(address, decodeURIComponent(new URL(address).pathname.split("/").pop()));
}

async function playFile(file) {
  if (file) play(await file.arrayBuffer(), file.name);
}

document.getElementById("pause").addEventListener("click", () => player.pause());
document.getElementById("play").addEventListener("click", () => player.play());
document.getElementById("stop").addEventListener("click", () => player.stop());
document.getElementById("file").addEventListener("change", (event) => playFile(event.target.files[0]));

const stage = document.getElementById("stage");
document.addEventListener("dragover", (event) => {
  event.preventDefault();
  stage.classList.add("dropping");
});
document.addEventListener("dragleave", () => stage.classList.remove("dropping"));
document.addEventListener("drop", (event) => {
  event.preventDefault();
  stage.classList.remove("dropping");
  playFile(event.dataTransfer.files[0]);
});
