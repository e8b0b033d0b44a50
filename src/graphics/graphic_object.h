#pragma once
// The drawable objects of a movie's pictures. Coordinates are group-local
// pixels: the group moves the surface's window origin before drawing, so an
// object never adds its group's position itself.
#include <windows.h>

#include <cstdint>
#include <utility>

#include "graphics/object_build_context.h"
#include "core/tables/object_header.h"
#include "core/tables/pattern_tiles.h"

class OffscreenSurface;

class GraphicObject {
public:
    GraphicObject(int kind, const ObjectHeader& header);
    virtual ~GraphicObject();
    GraphicObject(const GraphicObject&) = delete;
    GraphicObject& operator=(const GraphicObject&) = delete;

    // Draws with fresh pens and brushes, which the surface adopts.
    virtual void draw(OffscreenSurface& surface) = 0;

    int kind() const { return kind_; }
    const ObjectHeader& header() const { return header_; }
    // For a line, (left, top) is its start and (right, bottom) its end.
    RECT rect() const { return RECT{header_.left, header_.top, header_.right, header_.bottom}; }
    // rect shrunk by the line width on every side; inverted when the width
    // is more than half the rectangle, and drawn so.
    const RECT& innerRect() const { return innerRect_; }

    // The object's share of its movie's bounds, given back when it dies.
    void holdShare(ObjectBuildContext::Share share) { share_ = std::move(share); }

    // What drawing the object once costs of a frame's budget (drawingCost of
    // its record).
    uint32_t drawingCost() const { return drawingCost_; }
    void setDrawingCost(uint32_t cost) { drawingCost_ = cost; }

protected:
    enum class BrushChoice { Fill, Line };

    // A line drawn with a pen: patterns 0 and 12. Other patterned lines are
    // drawn by filling where the shape allows it.
    bool hasSolidLine() const;
    // The object's line pen (inside-frame, lineWidth wide; the null pen for
    // pattern 255), adopted by the surface.
    void selectPen(OffscreenSurface& surface) const;
    // The colour of that pen, when it is not the null pen.
    COLORREF penColor() const;
    // The fill or line brush (the null brush for pattern 255), adopted by
    // the surface.
    void selectBrush(OffscreenSurface& surface, BrushChoice choice) const;

private:
    int kind_;
    ObjectHeader header_;
    RECT innerRect_;
    ObjectBuildContext::Share share_;
    uint32_t drawingCost_ = 0;
};
