#include "playback/timeline/movie_player.h"

#include "playback/timeline/frame_budget.h"

namespace playback {

MoviePlayer::MoviePlayer(vxa::MovieModel& movie, const SoundLibrary* sounds)
    : movie_(movie), sounds_(sounds) {}

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

bool MoviePlayer::holding() const {
  return decideTick(state_, nextTimer_.value_or(0)) == TickStep::Holding;
}

TimerStep MoviePlayer::timerMessage() {
  TimerStep step;
  const uint32_t now = *nextTimer_;
  step.at = now;
  *nextTimer_ += kTimerPeriod;
  step.decision = decideTick(state_, now);
  switch (step.decision) {
    case TickStep::Paused:
    case TickStep::Ended:
      nextTimer_.reset();
      step.timerGoesOn = false;
      return step;
    case TickStep::Holding:
      // The wait cursor's phases: nothing to show without a pointer.
      if (cursorPhaseDue(state_, now)) nextCursorPhase(state_);
      return step;
    case TickStep::NotDue:
      return step;
    case TickStep::Advance:
      break;
  }
  const int16_t n = beginAdvance(state_);
  const bool shown = showFrame(n, now, step);
  step.retry = !shown;
  const AdvanceOutcome outcome = finishAdvance(state_, shown, now);
  if (outcome.release) movie_.releaseFrame(outcome.release);
  if (!outcome.keepTimer) {
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
  const SoundStep step =
      decideSoundStep(frameSound, sound_, cue_.has_value(), cue_ && cue_->playing(now), current);
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
    case SoundStep::Nothing:
      break;
  }
  recordSoundStep(sound_, step, frameSound, current, cue_.has_value());
}

}  // namespace playback
