// Why a player cannot play its movie. A fetch that fails is told apart by
// what the browser lets a page learn: the status of an answer; for a
// refused request (the page's fetch gives one TypeError for all of them), a
// recorded security-policy violation, or whether an opaque request of the
// same address gets an answer (the server is there but refuses this page:
// CORS) or not (the network failed).

class LoadFailure extends Error {
  // cause: a key of FAILURE_REASONS; detail: what that reason names.
  constructor(cause, detail = "") {
    super(cause + (detail ? " (" + detail + ")" : ""));
    this.failure = cause;
    this.detail = detail;
  }
}

// What a person reads in the player's box, one line per cause.
const FAILURE_REASONS = {
  notFound: (detail) => detail + ": the file was not found where the page says it is"
    + " (in a web archive: it was never captured)",
  http: (detail) => detail + ": the server did not give the file",
  network: () => "the network failed before the file arrived",
  cors: () => "its server does not let this page read it (CORS)",
  csp: () => "the page's security policy blocked it",
  wasm: (detail) => "the player's vxa-player.wasm could not be used (" + detail + ")",
  notMovie: () => "it is not a Tolvane animation",
  tooLarge: (detail) => "its picture, " + detail + " pixels, is too large to show",
  memory: (detail) => detail,
  crashed: (detail) => detail,
  budget: (detail) => detail,
};

function failureReason(cause, detail) {
  return (FAILURE_REASONS[cause] || FAILURE_REASONS.crashed)(detail);
}

const policyViolations = [];
document.addEventListener("securitypolicyviolation", (event) => policyViolations.push(event.blockedURI),
                          { capture: true });

// A cross-origin address is reported by its origin alone.
function blockedByPolicy(url) {
  return policyViolations.some((blocked) => blocked && (blocked === url || url.startsWith(blocked)));
}

// The response of a fetch through the page, or a LoadFailure saying why
// there is none. An abort is passed on as it came.
async function fetchExplained(url, options) {
  let response;
  try {
    response = await fetchResource(url, options);
  } catch (error) {
    if (error && error.name === "AbortError") throw error;
    throw await explainRefusal(url, error);
  }
  if (response.ok) return response;
  const status = "HTTP " + response.status;
  throw new LoadFailure(response.status === 404 || response.status === 410 ? "notFound" : "http", status);
}

async function explainRefusal(url, error) {
  let answered = false;
  try {
    await fetchResource(url, { mode: "no-cors", cache: "no-store" });
    answered = true;
  } catch (probeError) {
    // No answer at all.
  }
  // The violation event is a task of its own: let it run first.
  await new Promise((resolve) => setTimeout(resolve, 0));
  const address = rewrittenUrl(url);
  if (blockedByPolicy(address)) return new LoadFailure("csp");
  if (answered && new URL(address, document.baseURI).origin !== location.origin) return new LoadFailure("cors");
  return new LoadFailure("network", error && error.message);
}

// The core's module from its fetched file. A file that does not compile
// is named by the type it was served as (a server's error page, say); a
// compile the page's policy forbids is the policy's doing.
async function compileCoreModule(response) {
  const bytes = await response.arrayBuffer();
  try {
    return await WebAssembly.compile(bytes);
  } catch (error) {
    await new Promise((resolve) => setTimeout(resolve, 0));
    if (policyViolations.includes("wasm-eval") || /Content Security Policy/i.test(error.message)) {
      throw new LoadFailure("csp");
    }
    const type = response.headers.get("Content-Type") || "no type";
    throw new LoadFailure("wasm", "served as " + type + ", not WebAssembly");
  }
}

// The header's facts that keep a movie from playing, as [cause, detail],
// or null. Any bytes read as some header; one whose size or counts are
// below zero, or that names no picture, is not a movie's.
function headerFailure(facts, pictureSize) {
  if (facts.width <= 0 || facts.height <= 0 || facts.frames < 0 || facts.groups < 0) return ["notMovie", ""];
  if (!pictureSize) return ["tooLarge", facts.width + " x " + facts.height];
  return null;
}
