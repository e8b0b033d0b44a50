#pragma once
// Which frame is on screen at which millisecond: a movie played by a
// schedule of its stream's arrival and of clicks, one timer message after
// the other, by the plug-in's rules (MoviePlayer). The exporters, `vxa
// render` and `vxa check` run movies through it.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "core/timeline/movie_player.h"

namespace playback {

struct Schedule {
    // One chunk of the stream: `bytes` bytes, front to back, arriving at `at`.
    struct Chunk {
        uint32_t at;
        size_t bytes;
    };
    // In order of arrival; bytes not covered never arrive.
    std::vector<Chunk> chunks;
    // The normal end of the stream (after the last chunk); none: it never ends.
    std::optional<uint32_t> streamEnd;
    // Clicks into the movie, in time order.
    std::vector<uint32_t> clicks;
    // When set, a hold for a click ends this many ms after it began, as if the
    // viewer clicked then (the exporters' stand-in for a viewer).
    std::optional<uint32_t> clickAfterHold;

    // The whole stream in one chunk at 0, and its end right after: the timer
    // starts at once, as for a local file.
    static Schedule wholeStream(size_t size);
};

// Why a run ended.
struct TimelineEnd {
    enum class Reason {
        Ended,    // the last frame is showing and the timer stopped
        Stalled,  // the next frame, or a group it places, never arrives
        Held,     // holding for a click that never comes
        Stopped,  // the timer stopped (paused) or never started, and nothing starts it again
        Cut,      // the caller asked for no more
    };
    Reason reason;
    uint32_t at;           // the last timer message
    int16_t currentFrame;  // the frame showing then
};

// Called for every timer message, in time order; false ends the run.
using StepListener = std::function<bool(const TimerStep&, const MoviePlayer&)>;

// Plays `stream` by `schedule`. sounds: as for MoviePlayer.
TimelineEnd runTimeline(const std::vector<uint8_t>& stream, const Schedule& schedule, const SoundLibrary* sounds,
                        const StepListener& onStep);

}  // namespace playback
