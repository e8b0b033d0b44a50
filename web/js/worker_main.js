// The same script is each movie's worker: there it hosts that movie's core
// and nothing of the page, and the rest of the script is not run.
if (typeof document === "undefined") {
  let runner = null;
  let core = null;
  const waiting = [];  // commands that came before the core was ready
  const report = (message, transfer) => postMessage(message, transfer);
  const run = (command) => {
    if (command.op === "open") {
      // Only here, off the page's thread: the warm-up is one long call.
      const warmUpCode = () => core._vxa_warm_up_code();
      runner = new MovieRunner(core, command.withSounds, report, warmUpCode);
      runner.follow(false, true);
    } else if (runner) {
      runner.handle(command);
    }
  };
  addEventListener("message", (event) => {
    const command = event.data;
    if (command.op === "core") {
      instantiateCore(command.module).then((instance) => {
        core = instance;
        postMessage({ ready: true });
        for (const held of waiting.splice(0)) run(held);
      }, (error) => postMessage({ ready: false, message: String(error && error.message || error) }));
    } else if (core) {
      run(command);
    } else {
      waiting.push(command);
    }
  });
  return;
}
