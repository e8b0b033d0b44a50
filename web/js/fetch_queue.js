// The files movies ask for as they play: font parts and sounds, fetched a
// few at a time in the order they were asked for. A movie may ask for every
// part of every face at once, and starting a few hundred fetches in one task
// would hold up the page; and what the first frame waits for, asked for
// first, is not kept behind what later frames need. A browser sends six at
// a time to a server over HTTP/1.1, in the order they were made; over
// HTTP/2 all that are made go at once.
const FETCHES_AT_ONCE = 12;
const waitingFetches = [];
let fetchesGoing = 0;

// The body's bytes as an ArrayBuffer; fails for an answer that is not 2xx.
function fetchInTurn(url) {
  return new Promise((resolve, reject) => {
    waitingFetches.push(() => fetchResource(url)
      .then((response) => {
        if (!response.ok) throw new Error("HTTP " + response.status);
        return response.arrayBuffer();
      })
      .then(resolve, reject));
    startWaitingFetches();
  });
}

function startWaitingFetches() {
  while (fetchesGoing < FETCHES_AT_ONCE && waitingFetches.length) {
    fetchesGoing++;
    waitingFetches.shift()().finally(() => {
      fetchesGoing--;
      startWaitingFetches();
    });
  }
}
