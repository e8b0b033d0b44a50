#include "core/raster/objects.h"

#include <algorithm>
#include <cstdint>

#include "core/model/frame_budget.h"
#include "core/raster/region_shapes.h"
#include "core/raster/text.h"
#include "core/tables/arc_radials.h"
#include "core/tables/color_table.h"
#include "core/tables/font_map.h"
#include "core/tables/line_breaks.h"
#include "core/tables/pattern_tiles.h"

namespace raster {

namespace {

bool hasSolidLine(const ObjectHeader& s) {
    return s.linePattern == Pattern::SolidSecond || s.linePattern == Pattern::SolidFirst;
}

// Lines and arcs draw a patterned line solid in the first line colour; only
// pattern 0 takes the second.
Pen penOf(const ObjectHeader& s) {
    if (s.linePattern == Pattern::None) return Pen::none();
    const int index = s.linePattern == Pattern::SolidSecond ? s.lineColor2 : s.lineColor1;
    return Pen::insideFrame(s.lineWidth, rgbForIndex(index));
}

Paint brushOf(int pattern, int colorIndex1, int colorIndex2) {
    const int p = pattern & 0xFF;
    if (p == Pattern::None) return Paint::none();
    if (p == Pattern::SolidSecond) return Paint::solid(rgbForIndex(colorIndex2));
    if (p == Pattern::SolidFirst) return Paint::solid(rgbForIndex(colorIndex1));
    if (colorForIndex(colorIndex1) == colorForIndex(colorIndex2)) return Paint::solid(rgbForIndex(colorIndex1));
    return Paint::pattern(tileForPattern(p), rgbForIndex(colorIndex1), rgbForIndex(colorIndex2));
}

Paint fillBrushOf(const ObjectHeader& s) { return brushOf(s.fillPattern, s.fillColor1, s.fillColor2); }
Paint lineBrushOf(const ObjectHeader& s) { return brushOf(s.linePattern, s.lineColor1, s.lineColor2); }

void paintShape(Canvas& canvas, const PreparedObject& object, const Rect& r) {
    switch (object.kind) {
        case vxa::ObjectKind::Oval: canvas.ellipse(r.left, r.top, r.right, r.bottom); break;
        case vxa::ObjectKind::RoundRect:
            canvas.roundRect(r.left, r.top, r.right, r.bottom, object.cornerWidth, object.cornerHeight);
            break;
        default: canvas.rectangle(r.left, r.top, r.right, r.bottom); break;
    }
}

// Rectangles, ovals and rounded rectangles (and a text's box): a solid line is
// the pen's outline; any other line is a ring, the whole shape in the line
// pattern with the inner shape painted over it.
void drawShape(Canvas& canvas, const PreparedObject& object) {
    const ObjectHeader& s = object.style;
    const Rect outer{s.left, s.top, s.right, s.bottom};
    if (hasSolidLine(s)) {
        canvas.selectPen(penOf(s));
        canvas.selectBrush(fillBrushOf(s));
        paintShape(canvas, object, outer);
        return;
    }
    const Rect inner{s.left + s.lineWidth, s.top + s.lineWidth, s.right - s.lineWidth, s.bottom - s.lineWidth};
    canvas.selectPen(Pen::none());
    if (s.linePattern != Pattern::None) {
        canvas.selectBrush(lineBrushOf(s));
        paintShape(canvas, object, outer);
    }
    if (s.fillPattern != Pattern::None) {
        canvas.selectBrush(fillBrushOf(s));
        paintShape(canvas, object, inner);
    } else if (s.linePattern != Pattern::None) {
        // Unfilled, the inside is the second fill colour, not transparent.
        canvas.selectBrush(Paint::solid(rgbForIndex(s.fillColor2)));
        paintShape(canvas, object, inner);
    }
}

void drawPolygon(Canvas& canvas, const PreparedObject& object) {
    const ObjectHeader& s = object.style;
    const int count = static_cast<int>(object.points.size());
    if (hasSolidLine(s)) {
        canvas.selectPen(penOf(s));
        canvas.selectBrush(fillBrushOf(s));
        if (count == 0) return;
        // Without a fill the outline stays open.
        if (s.fillPattern == Pattern::None) {
            canvas.polyline(object.points.data(), count);
        } else {
            canvas.polygon(object.points.data(), count);
        }
        return;
    }
    // A patterned line frames the closed outline's region with the line
    // brush; the selected pen and brush stay as they are.
    if (count == 0) return;
    const Region region = polygonRegion(object.points.data(), count);
    if (s.fillPattern != Pattern::None) canvas.fillRegion(region, fillBrushOf(s));
    if (s.linePattern != Pattern::None) canvas.frameRegion(region, lineBrushOf(s), s.lineWidth, s.lineWidth);
}

}  // namespace

bool prepareObject(const vxa::ObjectRecord& record, PreparedObject& out) {
    if (record.kind < vxa::ObjectKind::Polygon || record.kind > vxa::ObjectKind::Text) return false;
    out = PreparedObject{};
    out.kind = record.kind;
    out.cost = vxa::drawingCost(record);
    out.style = objectHeaderOf(record);
    const ObjectHeader& s = out.style;
    switch (record.kind) {
        case vxa::ObjectKind::Polygon: {
            // The plug-in keeps at most a 16-bit count of points.
            const size_t count = std::min<size_t>(record.points.size(), INT16_MAX);
            out.points.reserve(count);
            for (size_t i = 0; i < count; ++i) out.points.push_back({record.points[i].first, record.points[i].second});
            break;
        }
        case vxa::ObjectKind::RoundRect:
            out.cornerWidth = record.cornerWidth;
            out.cornerHeight = record.cornerHeight;
            break;
        case vxa::ObjectKind::Arc: {
            const RadialPoint start = arcRadialPoint(s.left, s.top, s.right, s.bottom, record.startAngle);
            // The end angle is a 16-bit sum, as the authoring tool made it.
            const RadialPoint end = arcRadialPoint(s.left, s.top, s.right, s.bottom,
                                                   static_cast<int16_t>(record.startAngle + record.sweep));
            out.arcStart = Point{start.x, start.y};
            out.arcEnd = Point{end.x, end.y};
            break;
        }
        case vxa::ObjectKind::Text: {
            TextBlock& t = out.text;
            t.layout = Rect{s.left - s.lineWidth, s.top - s.lineWidth, s.right + s.lineWidth, s.bottom + s.lineWidth};
            t.colorIndex = colorIndexOfByte(record.textColor);
            t.justification = record.justification;
            const MappedFont mapped = mapFontName(record.fontName.c_str(), record.size);
            t.faceName = mapped.faceName;
            t.size = mapped.size;
            t.bold = record.style & 0x01;
            t.italic = record.style & 0x02;
            t.underline = record.style & 0x04;
            // The text ends at its first zero byte, as a C string does.
            const std::string text(record.text.c_str());
            std::vector<char> buffer(text.size() + countCarriageReturns(text.c_str()) + 1);
            std::copy(text.begin(), text.end(), buffer.begin());
            expandLineBreaks(buffer.data());
            t.text = buffer.data();
            break;
        }
        default: break;
    }
    return true;
}

namespace {

// Everything but a text's letters.
void drawShapes(Canvas& canvas, const PreparedObject& object) {
    const ObjectHeader& s = object.style;
    switch (object.kind) {
        case vxa::ObjectKind::Polygon: drawPolygon(canvas, object); break;
        case vxa::ObjectKind::Line:
            if (s.linePattern == Pattern::None) return;
            canvas.selectPen(penOf(s));
            canvas.line(Point{s.left, s.top}, Point{s.right, s.bottom});
            break;
        case vxa::ObjectKind::Arc:
            if (s.linePattern == Pattern::None) return;
            if (!arcFitsItsPen(s.left, s.top, s.right, s.bottom, s.lineWidth)) return;
            canvas.selectPen(penOf(s));
            // Counter-clockwise from the end radial to the start one: the arc
            // runs clockwise from the start angle through the sweep.
            canvas.arc(s.left, s.top, s.right, s.bottom, object.arcEnd, object.arcStart);
            break;
        default: drawShape(canvas, object); break;
    }
}

}  // namespace

void recordObject(PreparedObject& object) {
    object.drawing.clear();
    Canvas canvas(object.drawing);
    drawShapes(canvas, object);
    object.drawing.removeHidden();
    object.recorded = true;
}

void forgetRecording(PreparedObject& object) {
    object.drawing = DrawList();
    object.recorded = false;
}

void drawObject(Canvas& canvas, const PreparedObject& object, FontLibrary& fonts) {
    if (object.recorded) {
        const Point origin = canvas.windowOrigin();
        canvas.paint(object.drawing, -origin.x, -origin.y);
    } else {
        drawShapes(canvas, object);
    }
    if (object.kind == vxa::ObjectKind::Text) drawText(canvas, object.text, fonts);
}

}  // namespace raster
