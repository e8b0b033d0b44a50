#include "core/raster/frame_composer.h"

#include <algorithm>
#include <utility>

#include "core/tables/object_header.h"

namespace raster {

FrameComposer::FrameComposer(int width, int height, int groupCount)
    : picture_(width, height), groups_(groupCount), prepared_(static_cast<size_t>(std::max(0, groupCount))) {}

int backgroundIndexOf(const vxa::Header& header) { return colorIndexOfByte(header.background); }

void FrameComposer::prepareGroups(const vxa::MovieModel& movie, const FrameRecord& frame) {
    for (const FrameItem& item : frame.items) {
        if (!groups_.inTable(item.groupId)) continue;
        std::shared_ptr<const vxa::GroupRecord> group = movie.group(item.groupId);
        std::shared_ptr<const vxa::GroupRecord>& prepared = prepared_[static_cast<size_t>(item.groupId - 1)];
        if (group && group != prepared) {
            groups_.put(*group);
            prepared = std::move(group);
        }
    }
}

bool FrameComposer::compose(const vxa::MovieModel& movie, int16_t n, FontLibrary& fonts, ComposeReport* report) {
    const FrameRecord* frame = movie.frame(n);
    if (!frame) return false;
    prepareGroups(movie, *frame);
    return composeFrame(picture_, *frame, backgroundIndexOf(movie.header()), groups_, fonts, report);
}

}  // namespace raster
