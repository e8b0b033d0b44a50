#include "core/timeline/timeline.h"

#include <algorithm>

namespace playback {

Schedule Schedule::wholeStream(size_t size) {
    Schedule schedule;
    schedule.chunks.push_back({0, size});
    schedule.streamEnd = 0;
    return schedule;
}

namespace {

class Run {
public:
    Run(const std::vector<uint8_t>& stream, const Schedule& schedule, const SoundLibrary* sounds)
        : stream_(stream), schedule_(schedule), player_(movie_, sounds) {}

    TimelineEnd play(const StepListener& onStep) {
        for (;;) {
            const std::optional<uint32_t> event = nextEvent();
            const std::optional<uint32_t> timer = player_.nextTimerMessage();
            // What arrives at the moment of a timer message comes first.
            if (event && (!timer || *event <= *timer)) {
                runEvent(*event);
                continue;
            }
            if (!timer)
                return end(player_.state().currentFrame >= player_.state().frameCount &&
                                   player_.state().frameCount > 0 && !player_.state().paused
                               ? TimelineEnd::Reason::Ended
                               : TimelineEnd::Reason::Stopped);
            const TimerStep step = player_.timerMessage();
            last_ = step.at;
            if (!onStep(step, player_)) return end(TimelineEnd::Reason::Cut);
            if (!event && step.retry) return end(TimelineEnd::Reason::Stalled);
            if (player_.holding()) {
                if (schedule_.clickAfterHold && !holdClick_) holdClick_ = step.at + *schedule_.clickAfterHold;
                if (!holdClick_ && !nextEvent()) return end(TimelineEnd::Reason::Held);
            }
        }
    }

private:
    // The time of the next chunk, stream end or click still to come.
    std::optional<uint32_t> nextEvent() const {
        std::optional<uint32_t> next;
        auto consider = [&next](uint32_t at) { next = next ? std::min(*next, at) : at; };
        if (chunk_ < schedule_.chunks.size()) consider(schedule_.chunks[chunk_].at);
        if (chunk_ == schedule_.chunks.size() && schedule_.streamEnd && !ended_) {
            consider(*schedule_.streamEnd);
        }
        if (click_ < schedule_.clicks.size()) consider(schedule_.clicks[click_]);
        if (holdClick_) consider(*holdClick_);
        return next;
    }

    void runEvent(uint32_t at) {
        if (chunk_ < schedule_.chunks.size() && schedule_.chunks[chunk_].at == at) {
            const size_t length = std::min(schedule_.chunks[chunk_].bytes, stream_.size() - sent_);
            player_.deliver(stream_.data() + sent_, length, at);
            sent_ += length;
            ++chunk_;
        } else if (chunk_ == schedule_.chunks.size() && schedule_.streamEnd && !ended_ && *schedule_.streamEnd == at) {
            ended_ = true;
            player_.endStream(at);
        } else if (click_ < schedule_.clicks.size() && schedule_.clicks[click_] == at) {
            ++click_;
            player_.click(at);
        } else {
            holdClick_.reset();
            player_.click(at);
        }
    }

    TimelineEnd end(TimelineEnd::Reason reason) const {
        return TimelineEnd{reason, last_, player_.state().currentFrame};
    }

    const std::vector<uint8_t>& stream_;
    const Schedule& schedule_;
    vxa::MovieModel movie_;
    MoviePlayer player_;
    size_t chunk_ = 0;
    size_t sent_ = 0;
    bool ended_ = false;
    size_t click_ = 0;
    std::optional<uint32_t> holdClick_;
    uint32_t last_ = 0;
};

}  // namespace

TimelineEnd runTimeline(const std::vector<uint8_t>& stream, const Schedule& schedule, const SoundLibrary* sounds,
                        const StepListener& onStep) {
    return Run(stream, schedule, sounds).play(onStep);
}

}  // namespace playback
