// vxa play MOVIE.vxa: the movie in a window of its own, played by the
// plug-in's rules through the portable player, with its sounds.
#include <SDL.h>

#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>

#include "arguments.h"
#include "commands.h"
#include "core/model/frame_budget.h"
#include "core/model/movie_model.h"
#include "core/raster/frame_composer.h"
#include "core/timeline/movie_player.h"
#include "frame_painter.h"
#include "movie_file.h"
#include "play/cue_player.h"
#include "play/desktop_window.h"
#include "sound_folder.h"
#include "tool_failure.h"

namespace vxa::tool {
namespace {

constexpr int kArrowCursor = playback::kNoWaitCursor;

struct Snapshot {
    uint32_t at;
    std::string file;
};

Snapshot parseSnapshot(const std::string& text) {
    const size_t colon = text.find(':');
    if (colon == std::string::npos || colon + 1 == text.size()) {
        usageError("--snapshot needs MS:FILE.png, not \"" + text + "\"");
    }
    return {static_cast<uint32_t>(parseNumber(text.substr(0, colon), 0, 86400000, "--snapshot's MS")),
            text.substr(colon + 1)};
}

// One movie in the window: the file read whole, as a browser plays a local
// file (the stream arrives at once and ends at once).
class Session {
public:
    Session(const std::string& path, const std::optional<std::string>& soundFolder)
        : file_(path), sounds_(soundFolderFor(soundFolder, path)), player_(model_, sounds_.get()) {
        const Header& header = file_.header();
        if (header.width <= 0 || header.height <= 0 || vxa::pictureTooLarge(header.width, header.height)) {
            fail(path + ": the movie is " + std::to_string(header.width) + " x " + std::to_string(header.height) +
                 " pixels: no picture to show");
        }
    }

    // Playback starts once the window is there to show it.
    void start(uint32_t now) {
        player_.deliver(file_.bytes().data(), file_.bytes().size(), now);
        player_.endStream(now);
        composer_.emplace(width(), height(), model_.groupCount());
        tellDamage();
        if (!sounds_ && namesSounds()) std::cerr << "vxa: " << noSoundFolderNotice("it plays without them") << "\n";
    }

    const MovieFile& file() const { return file_; }
    const SoundFolder* sounds() const { return sounds_.get(); }
    playback::MoviePlayer& player() { return player_; }
    int width() const { return file_.header().width; }
    int height() const { return file_.header().height; }
    std::string title() const { return std::filesystem::path(file_.path()).filename().string(); }

    // Composes frame n into the picture.
    const raster::Image& compose(int16_t n) {
        composer_->compose(model_, n, systemFonts());
        return composer_->picture();
    }
    int cursor() const { return player_.holding() ? player_.state().cursorState : kArrowCursor; }

private:
    bool namesSounds() const {
        for (int16_t n = 1; n <= model_.frameCount(); ++n) {
            const FrameRecord* frame = model_.frame(n);
            if (frame && frame->soundNumber) return true;
        }
        return false;
    }

    // What was left out, once, on stderr: the movie plays what is valid.
    void tellDamage() const {
        const auto& rejections = model_.rejections();
        if (rejections.empty()) return;
        const auto& first = rejections.front();
        std::cerr << "vxa: " << file_.path() << ": " << rejections.size() << " block"
                  << (rejections.size() == 1 ? "" : "s") << " left out, the first: block " << first.place.block
                  << " at byte " << first.place.offset << ": " << first.reason << "\n";
    }

    MovieFile file_;
    std::unique_ptr<SoundFolder> sounds_;
    vxa::MovieModel model_;
    playback::MoviePlayer player_;
    std::optional<raster::FrameComposer> composer_;
};

class DesktopPlayer {
public:
    DesktopPlayer(const Arguments& arguments, int scale)
        : soundFolder_(arguments.value("--sounds")), scale_(scale) {
        const std::optional<long> forMs = arguments.number("--for", 0, 86400000);
        for (const std::string& text : arguments.values("--snapshot")) snapshots_.push_back(parseSnapshot(text));
        session_ = std::make_unique<Session>(arguments.input(), soundFolder_);
        window_ = std::make_unique<DesktopWindow>(session_->title(), session_->width(), session_->height(), scale_);
        openSound();
        window_->show(blank());
        // Times given are the movie's: from when its window is up.
        const uint32_t start = SDL_GetTicks();
        session_->start(start);
        if (forMs) until_ = start + static_cast<uint32_t>(*forMs);
        for (Snapshot& snapshot : snapshots_) snapshot.at += start;
    }

    int run() {
        for (;;) {
            const uint32_t now = SDL_GetTicks();
            takeSnapshots(now);
            if (until_ && static_cast<int32_t>(now - *until_) >= 0) return 0;
            runTimer(now);
            window_->setCursor(session_->cursor());
            SDL_Event event;
            if (SDL_WaitEventTimeout(&event, static_cast<int>(waitMs(SDL_GetTicks())))) {
                if (!handle(event)) return 0;
                while (SDL_PollEvent(&event)) {
                    if (!handle(event)) return 0;
                }
            }
        }
    }

private:
    raster::Image blank() const { return raster::Image(session_->width(), session_->height(), 0xFFFFFF); }

    void openSound() {
        cues_ = std::make_unique<CuePlayer>(session_->sounds());
        if (!cues_->problem().empty()) std::cerr << "vxa: " << cues_->problem() << "; playing without it\n";
    }

    // Until the next timer message, snapshot or end, at most a few ms late.
    uint32_t waitMs(uint32_t now) const {
        uint32_t wait = 100;
        auto consider = [&](uint32_t at) {
            const int32_t left = static_cast<int32_t>(at - now);
            wait = std::min<uint32_t>(wait, left > 0 ? static_cast<uint32_t>(left) : 0);
        };
        if (const std::optional<uint32_t> timer = session_->player().nextTimerMessage()) consider(*timer);
        for (const Snapshot& snapshot : snapshots_) consider(snapshot.at);
        if (until_) consider(*until_);
        return wait;
    }

    // Every timer message due by now, as the window's timer would have sent
    // them (a late wake-up catches up, as a busy plug-in's timer does not
    // pile up either: messages due together run one after the other).
    void runTimer(uint32_t now) {
        playback::MoviePlayer& player = session_->player();
        for (std::optional<uint32_t> due = player.nextTimerMessage(); due && static_cast<int32_t>(now - *due) >= 0;
             due = player.nextTimerMessage()) {
            showStep(player.timerMessage());
        }
    }

    void showStep(const playback::TimerStep& step) {
        for (const playback::CueEvent& cue : step.cues) cues_->cue(cue);
        if (step.shown) window_->show(session_->compose(step.shown));
    }

    void takeSnapshots(uint32_t now) {
        for (auto it = snapshots_.begin(); it != snapshots_.end();) {
            if (static_cast<int32_t>(now - it->at) >= 0) {
                window_->snapshot(it->file);
                it = snapshots_.erase(it);
            } else {
                ++it;
            }
        }
    }

    // Space: pause or resume; a click pauses only a movie that neither holds
    // nor is paused already, as the plug-in's click does.
    void pauseOrResume(uint32_t now) {
        playback::MoviePlayer& player = session_->player();
        if (player.state().paused || !player.holding()) player.click(now);
    }

    // Right arrow while paused: the next frame, at once, and paused again.
    void stepOneFrame(uint32_t now) {
        playback::MoviePlayer& player = session_->player();
        if (!player.state().paused) return;
        player.click(now);
        for (int tries = 0; tries < 1000 && player.nextTimerMessage(); ++tries) {
            const playback::TimerStep step = player.timerMessage();
            showStep(step);
            if (step.shown || step.decision != playback::TickStep::NotDue) break;
        }
        player.click(now);
    }

    void open(const std::string& path) {
        try {
            auto next = std::make_unique<Session>(path, soundFolder_);
            cues_.reset();
            session_ = std::move(next);
            window_->resize(session_->title(), session_->width(), session_->height(), scale_);
            openSound();
            window_->show(blank());
            session_->start(SDL_GetTicks());
        } catch (const Failure& failure) {
            std::cerr << "vxa: " << failure.message << "\n";  // the movie playing goes on
        }
    }

    // False to end the player.
    bool handle(const SDL_Event& event) {
        const uint32_t now = SDL_GetTicks();
        playback::MoviePlayer& player = session_->player();
        switch (event.type) {
            case SDL_QUIT: return false;
            case SDL_MOUSEBUTTONDOWN:
                if (event.button.button != SDL_BUTTON_LEFT) break;
                player.click(now);
                // The second click of a double click gives the first one back.
                if (event.button.clicks == 2) {
                    window_->toggleFullScreen();
                }
                break;
            case SDL_KEYDOWN:
                switch (event.key.keysym.sym) {
                    case SDLK_ESCAPE: player.stopTimer(); break;
                    case SDLK_SPACE: pauseOrResume(now); break;
                    case SDLK_RIGHT: stepOneFrame(now); break;
                    case SDLK_f: window_->toggleFullScreen(); break;
                    default: break;
                }
                break;
            case SDL_DROPFILE:
                open(event.drop.file);
                SDL_free(event.drop.file);
                break;
            case SDL_WINDOWEVENT:
                if (event.window.event == SDL_WINDOWEVENT_EXPOSED ||
                    event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
                    window_->present();
                }
                break;
            default: break;
        }
        return true;
    }

    std::optional<std::string> soundFolder_;
    int scale_;
    std::optional<uint32_t> until_;
    std::vector<Snapshot> snapshots_;
    std::unique_ptr<Session> session_;
    std::unique_ptr<DesktopWindow> window_;
    std::unique_ptr<CuePlayer> cues_;
};

}  // namespace

int playCommand(const Args& args) {
    const Arguments arguments("play", args, {{"--sounds", "--scale", "--for"}, {"--snapshot"}, {}});
    const int scale = static_cast<int>(arguments.number("--scale", 1, 16).value_or(1));
    if (SDL_Init(0) != 0) fail(std::string("SDL: ") + SDL_GetError());
    struct Quit {
        ~Quit() { SDL_Quit(); }
    } quit;
    DesktopPlayer player(arguments, scale);
    return player.run();
}

}  // namespace vxa::tool
