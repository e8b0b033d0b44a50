#pragma once
// The portable renderer: composes a movie's frame into 32-bit pixels exactly
// as the plug-in composes it through the platform's drawing under Wine.
//
//   raster::FontLibrary fonts;                 // once: the Liberation font files
//   for (name : FontLibrary::neededFiles()) fonts.addFile(name, bytesOf(name));
//   raster::GroupTable groups(header.groupCount);
//   groups.put(groupRecord);                   // as each group record arrives
//   raster::Image picture(header.width, header.height);
//   bool whole = raster::composeFrame(picture, record, backgroundIndex, groups, fonts);
//
// A player of a movie model composes through FrameComposer
// (frame_composer.h), which keeps the group table in step with the model.
//
// Pixels are 0x00RRGGBB (see image.h).
#include <vector>

#include "core/model/frame_record.h"
#include "core/raster/group_table.h"
#include "core/raster/image.h"
#include "core/raster/text.h"

namespace raster {

// What composing a frame found besides its pixels.
struct ComposeReport {
    // The frame's drawing budget (as the plug-in applies it) stopped the
    // frame: what comes after the object that would pass it is not drawn.
    bool cut = false;
    // Bands of the picture (full rows) where the plug-in under Wine paints
    // from memory it never set: very narrow ellipses (see roundRectRegion).
    // Those pixels cannot be predicted; the renderer's own there are its
    // best guess.
    std::vector<Rect> unsettled;
};

// Paints the background (a colour index: the header's colour byte less one)
// over the whole picture, then every item of the frame (a group's top-left
// corner at (x, y) of the picture) in order, later ones over earlier ones, until the frame's drawing budget is
// spent. Ids outside the table draw nothing; a group that has not arrived
// (before the budget stops the frame) stops the frame there, what came
// before it drawn, and the result is false, as the plug-in then does not
// show the frame. The table keeps what drawing its objects recorded.
bool composeFrame(Image& picture, const FrameRecord& frame, int backgroundIndex, GroupTable& groups,
                  FontLibrary& fonts, ComposeReport* report = nullptr);

}  // namespace raster
