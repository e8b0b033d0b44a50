#include "movie/movie.h"

#include <new>

#include "graphics/offscreen_surface.h"
#include "graphics/palette.h"
#include "movie/object_group.h"
#include "sound/sound_cue.h"

Movie::Movie(const uint8_t* data, int32_t length, const fw::WindowObject& window, Clock& clock)
    : presence_(std::make_shared<Presence>()), window_(window), clock_(clock) {
    try {
        palette_.reset(createMoviePalette());
    } catch (const std::bad_alloc&) {
        // Like every later step of setting up: told, and the movie stays
        // empty.
        memoryNoticePending_ = true;
        closeIntake();
        tellPendingNotices();
        return;
    }
    if (data && length > 0) takeIn(data, static_cast<size_t>(length));
}

Movie::~Movie() {
    presence_->alive = false;
    // The cue goes first, while everything else still stands: its stop and
    // close may raise a box whose message loop reaches this movie again, and
    // those calls must find it quiet (paused, rendering, taking no data).
    play_.paused = 1;
    rendering_ = true;
    intake_ = Intake::Closed;
    std::unique_ptr<SoundCue> cue = std::move(sound_);
    cue.reset();
}

void Movie::appendChunk(const uint8_t* data, int32_t length) {
    if (data && length > 0) takeIn(data, static_cast<size_t>(length));
}

void Movie::retire() {
    retired_ = true;
    play_.paused = 1;
    memoryNoticePending_ = false;
    damageNoticePending_ = false;
    presence_->soundNotice.silenced = true;
    buildContext_.silence();
    // An intake in progress still reads the block in hand; it lets go of its
    // buffer when it returns.
    if (intakeRunning_)
        intake_ = Intake::Closed;
    else
        closeIntake();
}

void Movie::resetPlayback() {
    play_.currentFrame = 0;
    play_.lastFrameTick = 0;
    play_.lastCursorTick = 0;
    soundState_.number = 0;
    play_.paused = 0;
}

const FrameRecord* Movie::frame(int n) const {
    if (n < 1 || n > static_cast<int>(frames_.size())) return nullptr;
    return frames_[n - 1].get();
}

const ObjectGroup* Movie::group(int id) const {
    if (id < 1 || id > static_cast<int>(groups_.size())) return nullptr;
    return groups_[id - 1].get();
}
