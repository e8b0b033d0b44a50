#include "web/wasm/web_movie.h"

#include <algorithm>
#include <utility>

#include "core/model/frame_budget.h"
#include "core/raster/canvas.h"
#include "core/raster/objects.h"

namespace web {

WebMovie::WebMovie(bool withSounds)
    : withSounds_(withSounds),
      player_(model_, withSounds ? this : nullptr),
      gate_([this](const vxa::Block& block) { return blockReady(block); },
            [this](const vxa::Block& block) { enter(block); }) {}

uint32_t WebMovie::timerPeriod() { return playback::kTimerPeriod; }

uint8_t* WebMovie::chunkBuffer(size_t length) {
  chunk_.resize(length);
  return chunk_.data();
}

bool WebMovie::endOfStream(uint32_t now) {
  player_.endStream(now);
  return timerRuns();
}

// The bytes let through now came with a chunk taken earlier, which did to
// the timer what a chunk does: they only enter the movie.
bool WebMovie::retryHeldBack() {
  released_.clear();
  gate_.retry(released_);
  model_.append(released_.data(), released_.size());
  tellRejections();
  return timerRuns();
}

bool WebMovie::soundSettled(int16_t number, std::optional<uint32_t> length) {
  soundLengths_[number] = length;
  return retryHeldBack();
}

bool WebMovie::takeChunk(size_t length, uint32_t now) {
  released_.clear();
  gate_.take(chunk_.data(), length, released_);
  // The first chunk makes the movie, and every later one starts the timer,
  // as the plug-in's stream intake does, also when the gate holds all of it.
  if (!chunkSeen_ || !released_.empty()) {
    player_.deliver(released_.data(), released_.size(), now);
  } else if (length > 0) {
    player_.startTimer(now);
  }
  chunkSeen_ = true;
  if (model_.headerComplete() && !pictureSized_) setUpPicture();
  tellRejections();
  return timerRuns();
}

// The plug-in's window showed what of the movie fit in it; here the picture
// is the movie's own size, within what a page can afford to hold twice.
void WebMovie::setUpPicture() {
  pictureSized_ = true;
  const int width = model_.header().width;
  const int height = model_.header().height;
  if (width <= 0 || height <= 0) return;  // nothing to show, as in the plug-in's window
  if (vxa::pictureTooLarge(width, height)) {
    events_.push_back({EventKind::Warning, 0,
                       std::to_string(width) + " x " + std::to_string(height) +
                           " pixels is too large a picture to show"});
  } else {
    composer_.emplace(width, height, model_.groupCount());
    picture_.assign(static_cast<size_t>(width) * height * 4, 0);
  }
}

bool WebMovie::blockReady(const vxa::Block& block) {
  bool ready = true;
  const int16_t sound = block.frame.soundNumber;
  if (withSounds_ && block.frame.number != 0 && sound != 0 && !soundLengths_.count(sound)) {
    ready = false;
    if (soundsAsked_.insert(sound).second) events_.push_back({EventKind::SoundNeeded, sound, ""});
  }
  for (const vxa::GroupRecord& group : block.groups) {
    for (const vxa::ObjectRecord& object : group.objects) {
      raster::PreparedObject prepared;
      if (object.kind != vxa::ObjectKind::Text || !raster::prepareObject(object, prepared)) continue;
      const std::string file = raster::fontFileFor(prepared.text);
      if (file.empty()) continue;
      std::vector<std::string> toFetch;
      if (!pageFonts().drawable(file, prepared.text.text, toFetch)) ready = false;
      for (const std::string& part : toFetch) {
        if (fontsAsked_.insert(part).second) events_.push_back({EventKind::FontNeeded, 0, part});
      }
    }
  }
  return ready;
}

void WebMovie::enter(const vxa::Block& block) {
  for (const vxa::GroupRecord& group : block.groups) {
    for (const vxa::ObjectRecord& object : group.objects) {
      raster::PreparedObject prepared;
      if (object.kind == vxa::ObjectKind::Text && raster::prepareObject(object, prepared)) {
        coldText_.push_back(std::move(prepared.text));
      }
    }
  }
}

bool WebMovie::warmUpText() {
  static raster::Image scratch(256, 256);
  raster::Canvas canvas(scratch);
  if (!coldText_.empty()) {
    raster::drawText(canvas, coldText_.front(), pageFonts().library());
    coldText_.pop_front();
  }
  return hasColdText();
}

std::optional<uint32_t> WebMovie::soundLength(int16_t number) const {
  const auto found = soundLengths_.find(number);
  return found == soundLengths_.end() ? std::nullopt : found->second;
}

bool WebMovie::tick(uint32_t now) {
  const std::optional<uint32_t> due = player_.nextTimerMessage();
  if (!due) return false;
  // The page's timer runs with the same period; it may come a little early.
  if (static_cast<int32_t>(now - *due) < -static_cast<int32_t>(timerPeriod() / 2)) return true;
  const playback::TimerStep step = player_.timerMessage();
  tellCues(step.cues);
  if (step.shown) show(step.shown);
  const bool ended = !step.timerGoesOn && step.decision != playback::TickStep::Paused;
  if (ended && !endTold_) {
    endTold_ = true;
    events_.push_back({EventKind::Ended, player_.state().currentFrame, ""});
  }
  return timerRuns();
}

bool WebMovie::click(uint32_t now) {
  player_.click(now);
  return timerRuns();
}

bool WebMovie::pause(uint32_t now) {
  // A click pauses only a movie that neither holds nor is paused already.
  if (!isPaused() && !player_.holding()) player_.click(now);
  return timerRuns();
}

bool WebMovie::play(uint32_t now) {
  if (isPaused()) {
    player_.click(now);
  } else if (chunkSeen_) {
    player_.startTimer(now);
  }
  return timerRuns();
}

void WebMovie::stop() { player_.stopTimer(); }

bool WebMovie::isPaused() const { return player_.state().paused != 0; }

int WebMovie::width() const { return composer_ ? composer_->picture().width : 0; }
int WebMovie::height() const { return composer_ ? composer_->picture().height : 0; }

int WebMovie::cursor() const {
  if (!model_.headerComplete()) return 0;
  return player_.holding() ? player_.state().cursorState : playback::kNoWaitCursor;
}

int WebMovie::currentFrame() const { return player_.state().currentFrame; }

void WebMovie::tellCues(const std::vector<playback::CueEvent>& cues) {
  for (const playback::CueEvent& cue : cues) {
    switch (cue.kind) {
      case playback::CueEvent::Kind::Start:
        // A cue without a file plays nothing, but any cue before it is gone.
        events_.push_back({cue.audible ? EventKind::SoundStart : EventKind::SoundStop, cue.number, ""});
        break;
      case playback::CueEvent::Kind::PlayAgain:
        if (cue.audible) events_.push_back({EventKind::SoundAgain, cue.number, ""});
        break;
      case playback::CueEvent::Kind::Stop:
        events_.push_back({EventKind::SoundStop, cue.number, ""});
        break;
    }
  }
}

// Each block left out is reported; the first also as damage, which the page
// tells once, as the plug-in told it once in a box.
void WebMovie::tellRejections() {
  const std::vector<vxa::MovieModel::Rejection>& rejections = model_.rejections();
  for (; rejectionsTold_ < rejections.size(); ++rejectionsTold_) {
    const vxa::MovieModel::Rejection& rejection = rejections[rejectionsTold_];
    const std::string text = "block " + std::to_string(rejection.place.block) + " at byte " +
                             std::to_string(rejection.place.offset) + " left out: " + rejection.reason;
    if (rejectionsTold_ == 0) events_.push_back({EventKind::Damaged, 0, text});
    events_.push_back({EventKind::Warning, 0, text});
  }
}

// Composes the frame the timer just showed and copies it into the window.
void WebMovie::show(int16_t n) {
  events_.push_back({EventKind::FrameShown, n, ""});
  if (!composer_ || !model_.frame(n)) return;
  composer_->compose(model_, n, pageFonts().library());
  uint8_t* out = picture_.data();
  for (const uint32_t pixel : composer_->picture().pixels) {
    *out++ = static_cast<uint8_t>(pixel >> 16);
    *out++ = static_cast<uint8_t>(pixel >> 8);
    *out++ = static_cast<uint8_t>(pixel);
    *out++ = 0xFF;
  }
}

EventKind WebMovie::nextEvent() {
  if (events_.empty()) {
    event_ = Event{};
  } else {
    event_ = std::move(events_.front());
    events_.pop_front();
  }
  return event_.kind;
}

}  // namespace web
