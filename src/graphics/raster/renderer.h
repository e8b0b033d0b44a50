#pragma once
// The portable renderer: composes a movie's frame into 32-bit pixels exactly
// as the plug-in composes it through the platform's drawing under Wine.
//
//   raster::FontLibrary fonts;                 // once: the Liberation font files
//   for (name : FontLibrary::neededFiles()) fonts.addFile(name, bytesOf(name));
//   raster::GroupTable groups(header.groupCount);
//   groups.put(groupRecord);                   // as each group record arrives
//   raster::Image picture(header.width, header.height);
//   bool whole = raster::composeFrame(picture, frame, groups, fonts);
//
// Pixels are 0x00RRGGBB (see image.h).
#include <vector>

#include "graphics/raster/group_table.h"
#include "graphics/raster/image.h"
#include "graphics/raster/text.h"

namespace raster {

// One placement of a group: its top-left corner at (x, y) of the picture.
struct Placement {
    int groupId = 0;
    int x = 0;
    int y = 0;
};

struct FrameContent {
    int backgroundIndex = 0;  // colour index: the header's colour byte less one
    std::vector<Placement> items;
};

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

// Paints the background over the whole picture, then every placement in
// order, later ones over earlier ones, until the frame's drawing budget is
// spent. Ids outside the table draw nothing; a group that has not arrived
// (before the budget stops the frame) stops the frame there, what came
// before it drawn, and the result is false, as the plug-in then does not
// show the frame.
bool composeFrame(Image& picture, const FrameContent& frame, const GroupTable& groups, FontLibrary& fonts,
                  ComposeReport* report = nullptr);

}  // namespace raster
