// Showing one frame: the palette realized in the window, the frame's sound
// step, the background and every placed group composed off screen, then one
// copy into the window.
#include <windows.h>

#include <cstdio>
#include <new>

#include "framework/device_context.h"
#include "framework/gdi_object.h"
#include "graphics/offscreen_surface.h"
#include "movie/movie.h"
#include "movie/object_group.h"
#include "sound/sound_cue.h"

namespace {

// Longest sound file path, without the terminating zero.
constexpr int kMaxSoundPathLength = 143;

// Marks the movie as rendering for the scope; the mark goes with the movie
// when the movie is destroyed before the scope ends.
class RenderingScope {
public:
    RenderingScope(bool& flag, const bool& movieAlive) : flag_(flag), movieAlive_(movieAlive) { flag_ = true; }
    ~RenderingScope() {
        if (movieAlive_) flag_ = false;
    }
    RenderingScope(const RenderingScope&) = delete;
    RenderingScope& operator=(const RenderingScope&) = delete;

private:
    bool& flag_;
    const bool& movieAlive_;
};

}  // namespace

int Movie::renderFrame(int16_t n, RECT target) {
    if (n > frameCount()) return 1;
    // Entered again from a box inside the sound step below: the step in
    // progress owns the cue and the surface until it returns.
    if (rendering_ || retired_) return 0;
    const std::shared_ptr<Presence> presence = presence_;
    RenderingScope scope(rendering_, presence->alive);

    fw::WindowDC windowDc(window_.handle(), fw::WindowDC::Area::Whole);
    SelectPalette(windowDc.handle(), palette_.handle(), FALSE);
    RealizePalette(windowDc.handle());

    try {
        const FrameRecord* record = frame(n);
        if (!record || !offscreen_) return 0;
        if (!runSoundStep(record->soundNumber)) return 0;  // the movie is gone
        // The instance may have ended, or its window gone, while a sound box
        // was up: nothing of it may be drawn any more.
        if (retired_) return 0;
        // A chunk delivered while a sound box was up may have replaced the record.
        record = frame(n);
        if (!record) return 0;

        vxa::FrameBudget budget;
        if (!surfaceShows(*record)) {
            // Until it is complete the surface holds no whole picture.
            composed_.complete = false;
            ++compositions_;
            paintBackground();
            if (!drawItems(*record, budget)) return 0;
            composed_.items = record->items;
            composed_.background = backgroundColor_;
            composed_.groupArrivals = groupArrivals_;
            composed_.complete = true;
        }
        offscreen_->copyToWindow(window_.handle(), &target);
        if (budget.cut()) {
            // What was drawn is shown; the user is told once that more was
            // asked for than a frame may draw. The box lets nothing render
            // meanwhile (this frame is still in progress).
            noteDamage();
            tellPendingNotices();
        }
        return 1;
    } catch (const std::bad_alloc&) {
        // Nothing reached the window; the next timer message tries again. No
        // exception may leave through the window procedure that called us.
        return 0;
    }
}

void Movie::repaintCurrentFrame(RECT target) {
    if (play_.currentFrame > 0) renderFrame(play_.currentFrame, target);
}

void Movie::paintBackground() {
    const HDC dc = offscreen_->handle();
    fw::Brush brush(CreateSolidBrush(backgroundColor_));
    FillRect(dc, &bounds_, brush.handle());
    // The colour table's entries are mostly palette-relative; what the device
    // made of one is kept, so that later frames fill once with a plain colour.
    // A surface whose context could not be made reads back CLR_INVALID, which
    // is no colour: the table's colour is kept then.
    const COLORREF shown = GetPixel(dc, 0, 0);
    if (shown == CLR_INVALID || shown == (backgroundColor_ & 0x00FFFFFF)) return;
    backgroundColor_ = shown;
    brush.reset(CreateSolidBrush(backgroundColor_));
    FillRect(dc, &bounds_, brush.handle());
}

bool Movie::surfaceShows(const FrameRecord& record) const {
    return composed_.complete && composed_.groupArrivals == groupArrivals_ &&
           composed_.background == backgroundColor_ && composed_.items == record.items;
}

int Movie::drawItems(const FrameRecord& record, vxa::FrameBudget& budget) {
    for (const FrameItem& item : record.items) {
        if (!playback::namesGroup(item.groupId, groupCount())) continue;
        ObjectGroup* group = groups_[item.groupId - 1].get();
        if (!group) return 0;  // not arrived yet: the frame is tried again later
        // Past the budget the frame ends: later items are not looked at.
        if (!group->place(item.x, item.y, budget)) break;
    }
    return 1;
}

// The sound step, by the shared table. The cue being worked on is held here,
// not in the movie, while a call that may raise a box runs: if the movie is
// destroyed meanwhile, the cue is not destroyed under that call. False when
// the movie is gone or has been retired meanwhile (a cue in hand is then
// stopped and closed quietly).
bool Movie::runSoundStep(int16_t s) {
    const std::shared_ptr<Presence> presence = presence_;
    const int16_t current = play_.currentFrame;
    const playback::SoundStep step =
        playback::decideSoundStep(s, soundState_, sound_ != nullptr, sound_ && sound_->isPlaying(), current);
    switch (step) {
        case playback::SoundStep::Start: {
            if (!dropSound()) return false;
            std::unique_ptr<SoundCue> cue = makeCue(s);
            if (cue) {
                cue->playNotify(nullptr);
                if (!presence->alive || retired_) return false;
                sound_ = std::move(cue);
            }
            break;
        }
        case playback::SoundStep::PlayAgain: {
            std::unique_ptr<SoundCue> cue = std::move(sound_);
            cue->playNotify(nullptr);
            if (!presence->alive || retired_) return false;
            sound_ = std::move(cue);
            break;
        }
        case playback::SoundStep::Stop:
            if (!dropSound()) return false;
            break;
        case playback::SoundStep::CarryOn:
        case playback::SoundStep::Nothing:
            break;
    }
    playback::recordSoundStep(soundState_, step, s, current, sound_ != nullptr);
    return true;
}

bool Movie::dropSound() {
    const std::shared_ptr<Presence> presence = presence_;  // outlives the cue below
    std::unique_ptr<SoundCue> cue = std::move(sound_);
    if (!cue) return true;
    cue->stop();
    cue.reset();
    return presence->alive && !retired_;
}

std::unique_ptr<SoundCue> Movie::makeCue(int16_t soundNumber) {
    // Without a sound directory no file is looked for at all.
    if (soundDirectory_.empty()) return nullptr;
    char path[kMaxSoundPathLength + 1];
    const int length = std::snprintf(path, sizeof path, "%s%d.WAV", soundDirectory_.c_str(), soundNumber);
    // A cut path would name another file: no cue, as when none can be made.
    if (length < 0 || length > kMaxSoundPathLength) return nullptr;
    try {
        return std::make_unique<SoundCue>(window_.handle(), path, &presence_->soundNotice);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
