#pragma once
// The seven kinds of graphic object, made ready once from their records and
// drawn onto a canvas with exactly the pens, brushes and shapes the plug-in
// draws them with.
#include <string>
#include <vector>

#include "core/format/block.h"
#include "core/raster/canvas.h"
#include "core/raster/geometry.h"
#include "core/tables/object_header.h"

namespace raster {

class FontLibrary;

struct TextBlock {
    Rect layout;  // the box grown by the line width on every side
    int colorIndex = 0;
    int justification = 0;  // 1 centred, -1 right, anything else left
    const char* faceName = "";
    int size = 0;  // mapped size: the em is size + 2 pixels
    bool bold = false, italic = false, underline = false;
    std::string text;  // carriage returns already followed by line feeds
};

struct PreparedObject {
    int kind = vxa::ObjectKind::Rect;
    uint32_t cost = 0;  // drawing units against a frame's budget
    ObjectHeader style;
    std::vector<Point> points;              // polygon
    int cornerWidth = 0, cornerHeight = 0;  // rounded rectangle
    Point arcStart, arcEnd;                 // arc: points on the radials of start and start + sweep
    TextBlock text;                         // text
    // What the object paints besides its text, recorded in group
    // coordinates the first time it is drawn, while its table has room to
    // keep it (GroupTable::record); without room it is drawn shape by shape.
    DrawList drawing;
    bool recorded = false;
    bool noRoom = false;
};

// False for kinds that draw nothing (comments and unknown kinds).
bool prepareObject(const vxa::ObjectRecord& record, PreparedObject& out);

// Records what the object paints besides its text into object.drawing, so
// that drawing it costs only its spans.
void recordObject(PreparedObject& object);
// Lets go of the recording: the object is drawn shape by shape again.
void forgetRecording(PreparedObject& object);

// Group coordinates; the canvas's window origin places the group.
void drawObject(Canvas& canvas, const PreparedObject& object, FontLibrary& fonts);

}  // namespace raster
