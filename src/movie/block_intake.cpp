// The stream's way into the movie: chunks are collected by the reader, the
// header sets the movie up once it is complete, and every complete block is
// decoded and checked whole before anything of it enters the tables.
#include <windows.h>

#include <algorithm>
#include <new>
#include <utility>

#include "framework/application.h"
#include "framework/device_context.h"
#include "core/tables/color_table.h"
#include "graphics/graphic_object.h"
#include "graphics/object_factory.h"
#include "graphics/offscreen_surface.h"
#include "core/model/block_acceptance.h"
#include "movie/movie.h"
#include "movie/object_group.h"
#include "movie/sound_directory.h"
#include "plugin/messages.h"
#include "plugin/report.h"

void Movie::takeIn(const uint8_t* data, size_t length) {
    if (intake_ == Intake::Closed) return;
    try {
        // Read where the host's buffer holds it: whole blocks are decoded
        // from there, and only what is left unread is copied before the host
        // gets its buffer back. A chunk that only adds to an incomplete block
        // leaves nothing to read.
        if (!reader_.lend(data, length)) return;
        // A box raised while reading runs the host's messages, which may
        // deliver the next chunk: that chunk is only kept, and the intake
        // already running reads it once the box is closed.
        if (intakeRunning_) reader_.keepUnread();
    } catch (const std::bad_alloc&) {
        memoryNoticePending_ = true;
        closeIntake();
    }
    if (intakeRunning_) return;
    intakeRunning_ = true;
    for (;;) {
        readAvailable();
        if (!memoryNoticePending_ && !damageNoticePending_ && !buildContext_.hasFontNotice()) break;
        if (!tellPendingNotices()) return;  // the movie went away meanwhile
    }
    intakeRunning_ = false;
    if (retired_) closeIntake();
}

void Movie::readAvailable() {
    try {
        readBlocks();
        // What is left is at most an incomplete block.
        if (intake_ != Intake::Closed) reader_.keepUnread();
    } catch (const std::bad_alloc&) {
        // What entered the tables stays and plays. More data would most likely
        // fail the same way, and a box per chunk would keep the user busy.
        memoryNoticePending_ = true;
        closeIntake();
    }
}

void Movie::readBlocks() {
    if (intake_ == Intake::AwaitingHeader) {
        if (!reader_.headerComplete()) return;
        intake_ = Intake::Open;
        setUp(reader_.header());
    }
    const uint8_t* body = nullptr;
    size_t length = 0;
    while (intake_ == Intake::Open) {
        switch (reader_.next(body, length)) {
            case vxa::StreamReader::Next::Block:
                enterBlock(body, length);
                break;
            case vxa::StreamReader::Next::NeedMore:
                return;
            case vxa::StreamReader::Next::Broken:
                reject(vxa::kBrokenStreamReason);
                closeIntake();
                return;
        }
    }
}

void Movie::setUp(const vxa::Header& header) {
    const bool wide = header.layout == vxa::Layout::Wide;
    layout_ = header.layout;
    version_ = wide ? header.version : 0;
    play_.loops = wide ? header.loop : 0;
    play_.waitForClick = wide ? header.wait : 0;
    bounds_ = RECT{0, 0, header.width, header.height};
    backgroundColor_ = colorForIndex(static_cast<uint8_t>(header.background - 1));
    play_.frameRate = header.frameRate;
    const HINSTANCE module = fw::Application::instance().moduleHandle();
    cursorA_ = LoadCursorA(module, MAKEINTRESOURCEA(kWaitCursorA));
    cursorB_ = LoadCursorA(module, MAKEINTRESOURCEA(kWaitCursorB));
    soundDirectory_ = findSoundDirectory();
    headerRead_ = true;

    // A picture over the largest a player makes is refused as one the
    // platform could not make: every frame would fill and copy all of it.
    const bool refused = vxa::pictureTooLarge(header.width, header.height);
    if (!refused) {
        // The surface takes the format of a window context in which the
        // movie's palette is realized.
        fw::WindowDC windowDc(window_.handle(), fw::WindowDC::Area::Whole);
        SelectPalette(windowDc.handle(), palette_.handle(), FALSE);
        RealizePalette(windowDc.handle());
        offscreen_ = std::make_unique<OffscreenSurface>(windowDc.handle(), bounds_,
                                                        OffscreenSurface::kPatternSheetId);
    }
    if (refused || (header.width > 0 && header.height > 0 && !offscreen_->hasBitmap())) {
        // A picture too large for the memory at hand is told like any
        // allocation that fails while setting up: the movie stays empty,
        // rather than play into nothing.
        offscreen_.reset();
        memoryNoticePending_ = true;
        closeIntake();
        return;
    }
    buildContext_.keepFontsRealizedFor(offscreen_->handle());
    // A negative count can name no entry: its table stays empty.
    groups_.resize(static_cast<size_t>(std::max<int>(0, header.groupCount)));
    frames_.resize(static_cast<size_t>(std::max<int>(0, header.frameCount)));
    play_.frameCount = frameCount();
}

void Movie::enterBlock(const uint8_t* body, size_t length) {
    // The body lies in the host's buffer or in the reader's, which a chunk
    // delivered from inside a box below may move: it is decoded before
    // anything that can raise one.
    vxa::Block& block = decoded_;
    std::string refusal = vxa::acceptBlock(body, length, layout_, frameCount(), groupCount(), block);
    if (!refusal.empty()) {
        reject(std::move(refusal));
        return;
    }

    // Everything the block holds is built before any of it enters the
    // tables: a block that fails part-way leaves them as they were.
    std::vector<std::unique_ptr<ObjectGroup>> built;
    built.reserve(block.groups.size());
    for (const vxa::GroupRecord& record : block.groups) {
        std::vector<std::unique_ptr<GraphicObject>> objects;
        objects.reserve(record.objects.size());
        for (const vxa::ObjectRecord& object : record.objects) {
            BuiltObject made = buildGraphicObject(object, buildContext_);
            if (made.overLimit) {
                reject("group " + std::to_string(record.id) + " would pass the movie's bounds");
                return;
            }
            // Null for a kind that builds nothing: the group skips the slot.
            objects.push_back(std::move(made.object));
        }
        built.push_back(std::make_unique<ObjectGroup>(record.id, record.widthMinus1 + 1,
                                                      record.heightMinus1 + 1, std::move(objects),
                                                      *offscreen_, palette_.handle()));
    }
    std::unique_ptr<FrameRecord> frameRecord;
    if (block.frame.number != 0) {
        const FrameRecord* previous = frame(block.frame.number - 1);
        frameRecord = std::make_unique<FrameRecord>(vxa::frameRecordFor(block.frame, previous));
    }

    // Nothing below can fail. A frame or group that arrives again replaces
    // (and frees) the earlier one.
    if (frameRecord) frames_[block.frame.number - 1] = std::move(frameRecord);
    for (std::unique_ptr<ObjectGroup>& group : built) groups_[group->id() - 1] = std::move(group);
    if (!built.empty()) ++groupArrivals_;
}

void Movie::reject(std::string reason) {
    ++rejectedBlocks_;
    OutputDebugStringA(("zured16: block left out: " + reason + "\n").c_str());
    lastRejection_ = std::move(reason);
    noteDamage();
}

void Movie::noteDamage() {
    if (!damageReported_ && !retired_) damageNoticePending_ = true;
}

void Movie::closeIntake() {
    intake_ = Intake::Closed;
    // The bytes still held can never be used: give their memory back.
    reader_ = vxa::StreamReader();
}

bool Movie::tellPendingNotices() {
    if (retired_) {
        memoryNoticePending_ = false;
        damageNoticePending_ = false;
        return true;
    }
    const std::shared_ptr<Presence> presence = presence_;
    if (memoryNoticePending_) {
        memoryNoticePending_ = false;
        reportError(messages::kNotEnoughMemory);
        if (!presence->alive) return false;
        // Ended while the box was up: no further box (retire dropped them).
        if (retired_) return true;
    }
    ObjectBuildContext::FontNotice font;
    if (buildContext_.takeFontNotice(font)) {
        reportError(font.message, font.faceName.c_str(), font.size);
        if (!presence->alive) return false;
        if (retired_) return true;
    }
    if (damageNoticePending_) {
        // Once per movie: a page must not be able to raise a box per block.
        damageNoticePending_ = false;
        damageReported_ = true;
        reportWarning(messages::kDamagedAnimation);
        if (!presence->alive) return false;
    }
    return true;
}
