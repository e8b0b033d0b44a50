// Sound output: numbered .WAV files played through Web Audio. The core's
// sound step decides when a cue starts, plays again or stops, from each
// sound's length; this part only fetches and decodes the files, tells the
// core their lengths, and plays.
//
// Browsers let a page make sound only after the user has interacted with it.
// Until then cues start and stop in the core as ever, but are not heard, and
// each player that had a cue to play shows a small muted-speaker badge; the
// first click or key press anywhere on the page turns sound on.

let audioContext = null;
let audioComing = null;  // Promise of audioContext, once a cue has asked for it
const soundFiles = new Map();  // URL -> Promise of an AudioBuffer, or of null when it can't be had
const playersWaitingForSound = new Set();

// The first AudioContext of a page starts the browser's audio output, which
// holds the page up for tens of milliseconds (hundreds, the first time in a
// browser). It is made in a task of its own after the frame that cued it is
// painted, not in the task that shows that frame.
function audioOutput() {
  if (!audioComing) {
    audioComing = new Promise((resolve) => {
      const make = () => resolve(audio());
      requestAnimationFrame(() => setTimeout(make, 0));
      setTimeout(make, 250);  // a hidden page paints no frames
    });
  }
  return audioComing;
}

function audio() {
  if (!audioContext) {
    audioContext = new AudioContext();
    audioContext.addEventListener("statechange", () => {
      if (audioContext.state === "running") {
        for (const player of playersWaitingForSound) player._soundAllowed();
        playersWaitingForSound.clear();
      }
    });
  }
  return audioContext;
}

function resumeAudio() {
  if (audioContext && audioContext.state === "suspended") audioContext.resume().catch(() => {});
}

for (const gesture of ["pointerdown", "keydown", "touchend"]) {
  document.addEventListener(gesture, resumeAudio, { capture: true, passive: true });
}

// Files are decoded without the page's audio output: the first AudioContext
// of a browser starts its audio device, which holds up the page for a
// tenth of a second or more, and a movie's first frame waits for its sound's
// length. 44,100 Hz holds the rates of the period's files (11,025, 22,050,
// 44,100) exactly, so a sound's length is the file's; a buffer plays in a
// context of any rate.
const DECODING_RATE = 44100;
let decodingContext = null;

function decodeSound(bytes) {
  if (!decodingContext) decodingContext = new OfflineAudioContext(1, 1, DECODING_RATE);
  return decodingContext.decodeAudioData(bytes);
}

// Fetched and decoded once per page, whichever player asks first. A file
// that can't be had is told once on the console.
function soundFile(url) {
  let file = soundFiles.get(url);
  if (!file) {
    file = fetchInTurn(url)
      .then(decodeSound)
      .catch((error) => {
        logLine("warn", "sound " + url + " could not be played (" + error.message + ")");
        return null;
      });
    soundFiles.set(url, file);
  }
  return file;
}

// A player's one sound cue.
class CueOutput {
  // onMuted: the browser does not let the page make sound yet.
  constructor(onMuted) {
    this.onMuted = onMuted;
    this.playing = null;  // {source, gain} of the cue now going, or null
    this.volume = 1;
    this.muted = false;
  }

  // volume: 0 to 1; muted keeps the volume for later.
  setVolume(volume, muted) {
    const level = Number(volume);
    this.volume = Number.isFinite(level) ? Math.min(1, Math.max(0, level)) : this.volume;
    this.muted = muted;
    if (this.playing && this.playing.gain) this.playing.gain.gain.value = this.muted ? 0 : this.volume;
  }

  play(url) {
    this.stop();
    const playing = { source: null };
    this.playing = playing;
    Promise.all([soundFile(url), audioOutput()]).then(([buffer, context]) => {
      if (this.playing !== playing || !buffer) return;
      if (context.state !== "running") return this.onMuted();
      playing.source = context.createBufferSource();
      playing.source.buffer = buffer;
      playing.gain = context.createGain();
      playing.gain.gain.value = this.muted ? 0 : this.volume;
      playing.source.connect(playing.gain).connect(context.destination);
      playing.source.start();
    });
  }

  stop() {
    const playing = this.playing;
    this.playing = null;
    if (playing && playing.source) {
      playing.source.stop();
      playing.source.disconnect();
      playing.gain.disconnect();
    }
  }
}

// The folder of a movie's sounds: the `sounds` attribute when given, else
// the page's rule (config.js: VXA_WAV/ beside the movie); sound n is the
// file n.WAV in it.
function soundFolder(soundsAttribute, movieUrl) {
  if (soundsAttribute) {
    const folder = soundsAttribute.endsWith("/") ? soundsAttribute : soundsAttribute + "/";
    return new URL(folder, document.baseURI).href;
  }
  return movieUrl ? defaultSoundFolder(movieUrl) : null;
}

function soundUrl(folder, number) {
  return folder ? new URL(number + ".WAV", folder).href : null;
}
