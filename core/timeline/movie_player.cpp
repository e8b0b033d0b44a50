#include "core/timeline/movie_player.h"

#include "core/model/frame_budget.h"
#include "core/timeline/timer_step.h"

namespace playback {

MoviePlayer::MoviePlayer(vxa::MovieModel& movie, const SoundLibrary* sounds) : movie_(movie), sounds_(sounds) {}

void MoviePlayer::deliver(const uint8_t* data, size_t length, uint32_t now) {
    if (!started_) {
        // The first chunk makes the movie; the timer waits for more.
        started_ = true;
        movie_.append(data, length);
        takeSettings();
        return;
    }
    if (length == 0) return;
    movie_.append(data, length);
    takeSettings();
    startTimer(now);
}

void MoviePlayer::endStream(uint32_t now) {
    if (started_) startTimer(now);
}

void MoviePlayer::click(uint32_t now) {
    if (started_ && applyClick(state_)) startTimer(now);
}

void MoviePlayer::takeSettings() {
    if (settingsTaken_ || !movie_.headerComplete()) return;
    settingsTaken_ = true;
    state_.frameCount = movie_.frameCount();
    state_.frameRate = movie_.header().frameRate;
    state_.loops = movie_.loops() ? 1 : 0;
    state_.waitForClick = movie_.waitsForClick() ? 1 : 0;
}

void MoviePlayer::startTimer(uint32_t now) {
    // A running timer keeps its period.
    if (!nextTimer_) nextTimer_ = now + kTimerPeriod;
}

void MoviePlayer::stopTimer() { nextTimer_.reset(); }

std::optional<uint32_t> MoviePlayer::nextTimerMessage() const { return nextTimer_; }

bool MoviePlayer::holding() const { return decideTick(state_, nextTimer_.value_or(0)) == TickStep::Holding; }

// The portable player's stage: time stands at the message's tick count, and
// showing a frame means finding it and its groups in the model.
class MoviePlayer::Stage final : public StepStage {
public:
    Stage(MoviePlayer& player, TimerStep& step) : player_(player), step_(step) {}
    uint32_t now() override { return step_.at; }
    // Nothing to show it with without a pointer; the phases still turn.
    void waitCursorDue(PlaybackState& state) override { nextCursorPhase(state); }
    Shown showFrame(int16_t n) override {
        const bool shown = player_.showFrame(n, step_.at, step_);
        step_.retry = !shown;
        return shown ? Shown::Yes : Shown::NotYet;
    }
    void releaseFrame(int16_t n) override { player_.movie_.releaseFrame(n); }

private:
    MoviePlayer& player_;
    TimerStep& step_;
};

TimerStep MoviePlayer::timerMessage() {
    TimerStep step;
    step.at = *nextTimer_;
    *nextTimer_ += kTimerPeriod;
    Stage stage(*this, step);
    const StepResult result = runTimerStep(state_, stage);
    step.decision = result.decision;
    if (!result.keepTimer) {
        nextTimer_.reset();
        step.timerGoesOn = false;
    }
    return step;
}

bool MoviePlayer::showFrame(int16_t n, uint32_t now, TimerStep& step) {
    const FrameRecord* record = movie_.frame(n);
    if (!record) return false;
    // The sound step runs as soon as the record is there, even when one of
    // its groups is still missing.
    runSoundStep(record->soundNumber, now, step.cues);
    vxa::FrameAsk ask;
    for (const FrameItem& item : record->items) {
        if (!namesGroup(item.groupId, movie_.groupCount())) continue;
        // Drawing stops before this item: its group is not waited for.
        if (ask.overBound()) break;
        const std::shared_ptr<const vxa::GroupRecord> group = movie_.group(item.groupId);
        if (!group) return false;
        ask.add(group->objects);
    }
    step.shown = n;
    return true;
}

void MoviePlayer::runSoundStep(int16_t frameSound, uint32_t now, std::vector<CueEvent>& cues) {
    const int16_t current = state_.currentFrame;
    const SoundStep step = decideSoundStep(frameSound, sound_, cue_.has_value(), cue_ && cue_->playing(now), current);
    switch (step) {
        case SoundStep::Start:
            if (cue_) cues.push_back({CueEvent::Kind::Stop, cue_->number, false});
            cue_.reset();
            if (sounds_) {
                cue_ = Cue{frameSound, now, sounds_->soundLength(frameSound)};
                cues.push_back({CueEvent::Kind::Start, frameSound, cue_->length.has_value()});
            }
            break;
        case SoundStep::PlayAgain:
            cue_->startedAt = now;
            cues.push_back({CueEvent::Kind::PlayAgain, cue_->number, cue_->length.has_value()});
            break;
        case SoundStep::Stop:
            cues.push_back({CueEvent::Kind::Stop, cue_->number, false});
            cue_.reset();
            break;
        case SoundStep::CarryOn:
        case SoundStep::Nothing: break;
    }
    recordSoundStep(sound_, step, frameSound, current, cue_.has_value());
}

}  // namespace playback
