#include "playback_samples.h"

#include <optional>

#include "core/format/stream.h"
#include "core/timeline/timeline.h"

namespace vxa::tool {
namespace {

// Frames with nothing in them: only the header and the frame numbers matter.
std::vector<uint8_t> emptyFrames(int frameRate, int frameCount, bool loop, bool waitForClick) {
    Stream stream;
    stream.header.frameRate = static_cast<uint8_t>(frameRate);
    stream.header.width = stream.header.height = 8;
    stream.header.groupCount = 1;
    stream.header.frameCount = static_cast<int16_t>(frameCount);
    stream.header.loop = loop;
    stream.header.wait = waitForClick;
    for (int n = 1; n <= frameCount; ++n) {
        Block block;
        block.frame.number = static_cast<int16_t>(n);
        stream.blocks.push_back(block);
    }
    return encodeStream(stream);
}

}  // namespace

std::vector<uint32_t> frameTimes(int frameRate, uint32_t span) {
    // More frames than any rate shows in the span.
    const std::vector<uint8_t> stream = emptyFrames(frameRate, static_cast<int>(span / 20 + 2), false, false);
    std::vector<uint32_t> times;
    std::optional<uint32_t> first;
    playback::runTimeline(stream, playback::Schedule::wholeStream(stream.size()), nullptr,
                          [&](const playback::TimerStep& step, const playback::MoviePlayer&) {
                              if (step.shown == 0) return true;
                              if (!first) first = step.at;
                              if (step.at - *first >= span) return false;
                              times.push_back(step.at - *first);
                              return true;
                          });
    return times;
}

std::string frameOrder(int frameCount, bool loop, bool waitForClick, int count) {
    const std::vector<uint8_t> stream = emptyFrames(10, frameCount, loop, waitForClick);
    playback::Schedule schedule = playback::Schedule::wholeStream(stream.size());
    schedule.clickAfterHold = 300;
    std::string order;
    bool held = false;
    int shown = 0;
    const playback::TimelineEnd end = playback::runTimeline(
        stream, schedule, nullptr, [&](const playback::TimerStep& step, const playback::MoviePlayer&) {
            held = held || step.decision == playback::TickStep::Holding;
            if (step.shown == 0) return true;
            if (held) order += "(click) ";
            held = false;
            order += std::to_string(step.shown) + " ";
            return ++shown < count;
        });
    return order + (end.reason == playback::TimelineEnd::Reason::Ended ? "(ends)" : "...");
}

}  // namespace vxa::tool
