#include "core/raster/frame_composer.h"

#include <algorithm>
#include <utility>

#include "core/tables/object_header.h"

namespace raster {

FrameComposer::FrameComposer(int width, int height, int groupCount)
    : picture_(width, height), groups_(groupCount), prepared_(static_cast<size_t>(std::max(0, groupCount))) {}

int backgroundIndexOf(const vxa::Header& header) { return colorIndexOfByte(header.background); }

bool FrameComposer::prepareGroups(const vxa::MovieModel& movie, const FrameRecord& frame) {
    bool changed = false;
    for (const FrameItem& item : frame.items) {
        if (!groups_.inTable(item.groupId)) continue;
        std::shared_ptr<const vxa::GroupRecord> group = movie.group(item.groupId);
        std::shared_ptr<const vxa::GroupRecord>& prepared = prepared_[static_cast<size_t>(item.groupId - 1)];
        if (group && group != prepared) {
            groups_.put(*group);
            prepared = std::move(group);
            changed = true;
        }
    }
    return changed;
}

bool FrameComposer::compose(const vxa::MovieModel& movie, int16_t n, FontLibrary& fonts, ComposeReport* report) {
    const FrameRecord* frame = movie.frame(n);
    if (!frame) return false;
    const bool changed = prepareGroups(movie, *frame);
    const int background = backgroundIndexOf(movie.header());
    if (!changed && shown_ && shown_->items == frame->items && shown_->backgroundIndex == background &&
        shown_->fontsState == fonts.stateStamp()) {
        if (report) *report = shown_->report;
        return shown_->whole;
    }
    Shown shown;
    shown.whole = composeFrame(picture_, *frame, background, groups_, fonts, &shown.report);
    shown.items = frame->items;
    shown.backgroundIndex = background;
    shown.fontsState = fonts.stateStamp();
    if (report) *report = shown.report;
    shown_ = std::move(shown);
    return shown_->whole;
}

}  // namespace raster
