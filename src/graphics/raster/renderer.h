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

// Paints the background over the whole picture, then every placement in
// order, later ones over earlier ones. Ids outside the table draw nothing; a
// group that has not arrived stops the frame there (what came before it is
// drawn) and the result is false, as the plug-in then does not show the frame.
//
// With unsettled given, it receives the bands of the picture (full rows)
// where the plug-in under Wine paints from memory it never set: very narrow
// ellipses (see roundRectRegion). Those pixels cannot be predicted; the
// renderer's own there are its best guess.
bool composeFrame(Image& picture, const FrameContent& frame, const GroupTable& groups, FontLibrary& fonts,
                  std::vector<Rect>* unsettled = nullptr);

}  // namespace raster
