#pragma once
// Short runs of the playback timeline that show an author how a movie plays:
// when frames show at a rate, and in which order frames show for loops and
// holds. `vxa help playback` prints them and the guide draws them.
#include <cstdint>
#include <string>
#include <vector>

namespace vxa::tool {

// When each frame shows during the first `span` ms, in ms from the first.
std::vector<uint32_t> frameTimes(int frameRate, uint32_t span);

// The frames in the order they show (at most `count`), "(click)" where a
// click ended a hold, and "(ends)" where playback stopped by itself or "..."
// where it would go on.
std::string frameOrder(int frameCount, bool loop, bool waitForClick, int count = 16);

}  // namespace vxa::tool
