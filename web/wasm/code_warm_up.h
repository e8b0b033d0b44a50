#pragma once
// A new WebAssembly instance compiles each of its functions the first time
// it is called, and in Chromium that costs a cold movie's first frame tens
// of milliseconds of its drawing and text code. A worker plays a small
// built-in movie while it waits for its own, so that cost is paid before the
// movie's files are in.

namespace web {

// Also gives the page's fonts the first part of the face most texts are in,
// which the built-in movie draws with: the bytes the server would send.
// False when the movie did not show its frame, text and all.
bool warmUpCode();

}  // namespace web
